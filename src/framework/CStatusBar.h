// The status bar: a message pane that stretches, then fixed panes named by
// indicator ids.  A pane is as wide as its id's string, or as the widest
// text its update says it may show, or as its text; its text is set by
// command updates, and a disabled pane shows no text.
#pragma once

#include <QStatusBar>
#include <vector>

#include "CControlBar.h"

class CMDIFrameWnd;
class QLabel;

class CStatusBar : public QStatusBar, public CControlBar
{
    Q_OBJECT

public:
    explicit CStatusBar(QWidget* parent = nullptr) : QStatusBar(parent) {}

    bool Create(CMDIFrameWnd* frame, int id);
    // One pane per id; ID_SEPARATOR makes the message pane.  False when an
    // id other than the separator has no string.
    bool SetIndicators(const int* ids, int count);

    int GetCount() const { return int(m_panes.size()); }
    int GetItemID(int index) const { return m_panes[index].id; }
    // The pane of id, or -1.
    int CommandToIndex(int id) const;
    QString GetPaneText(int index) const { return m_panes[index].text; }
    // The pane grows to show text whole.
    void SetPaneText(int index, const QString& text);
    // Room for text whenever it comes (the pane keeps at least its id's
    // width).
    void SetPaneWidestText(int index, const QString& text);
    // What the pane shows: its text, or nothing while disabled.
    QString GetPaneDisplayText(int index) const;
    QLabel* PaneLabel(int index) const { return m_panes[index].label; }

    void EnablePane(int index, bool enable);
    void SetPanePopOut(int index, bool popOut);

    void OnUpdateCmdUI(CFrameWnd* target) override;

private:
    struct Pane
    {
        int id;
        QLabel* label;
        QString text;
        bool enabled;
        QString widestText;
        QString sizingText;  // the id's string, which sets the least width
    };
    void Show(const Pane& pane);
    void FitPane(const Pane& pane);

    std::vector<Pane> m_panes;
};
