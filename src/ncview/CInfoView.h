// CInfoView: the small pane above the simulation that shows the machining
// statistics of the last interpretation (time in hours and minutes, rapid
// and feed distance) with the labels coloured, and under them, in red, how
// many lines held what the interpretation passed over.  Read-only; refreshed
// at every update of the document's views.
#pragma once

#include <QTextEdit>

#include "CView.h"

class CInfoView : public QTextEdit, public CView
{
    Q_OBJECT

public:
    explicit CInfoView(QWidget* parent = nullptr);

    static const QColor kBackground;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, long hint, CObject* hintObject) override;

private:
    // Bold blue for the header, bold red for the three value labels and the
    // whole warning line.
    void ColourLabels();
    void ApplyFormat(int start, int end, const QColor& colour);
};
