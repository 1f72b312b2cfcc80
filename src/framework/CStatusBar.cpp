// Status bar panes and their update state.
#include "CStatusBar.h"

#include <QLabel>
#include <algorithm>

#include "CCmdUI.h"
#include "CMDIFrameWnd.h"
#include "Resources.h"
#include "FrameworkIds.h"

namespace {

// The room around a pane's text, on each side.
constexpr int kPaneMargin = 4;

class CStatusCmdUI : public CCmdUI
{
public:
    CStatusCmdUI(int id, CStatusBar* bar, int index) : CCmdUI(id), m_bar(bar), m_index(index) {}
    void Enable(bool enable) override
    {
        CCmdUI::Enable(enable);
        m_bar->EnablePane(m_index, enable);
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        m_bar->SetPanePopOut(m_index, check != 0);
    }
    void SetText(const QString& text) override
    {
        CCmdUI::SetText(text);
        m_bar->SetPaneText(m_index, text);
    }
    void SetWidestText(const QString& text) override
    {
        CCmdUI::SetWidestText(text);
        m_bar->SetPaneWidestText(m_index, text);
    }

private:
    CStatusBar* m_bar;
    int m_index;
};

}  // namespace

bool CStatusBar::Create(CMDIFrameWnd* frame, int id)
{
    if (!frame)
        return false;
    setObjectName(QStringLiteral("statusbar"));
    frame->setStatusBar(this);
    frame->AddControlBar(id, this);
    return true;
}

bool CStatusBar::SetIndicators(const int* ids, int count)
{
    for (const Pane& pane : m_panes)
        delete pane.label;
    m_panes.clear();
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        const int id = ids[i];
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(kPaneMargin, 0, kPaneMargin, 0);
        Pane pane{id, label, QString(), true, QString(), QString()};
        label->setTextFormat(Qt::PlainText);
        if (id == ID_SEPARATOR) {
            addWidget(label, 1);
        } else {
            const char* text = FindStringResource(id);
            if (!text)
                ok = false;
            pane.text = pane.sizingText = QString::fromUtf8(text ? text : "");
            label->setAlignment(Qt::AlignCenter);
            addPermanentWidget(label);
        }
        m_panes.push_back(pane);
        FitPane(m_panes.back());
        Show(m_panes.back());
    }
    return ok;
}

int CStatusBar::CommandToIndex(int id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id)
            return int(i);
    return -1;
}

void CStatusBar::SetPaneText(int index, const QString& text)
{
    Pane& pane = m_panes[index];
    if (pane.text == text)
        return;
    pane.text = text;
    FitPane(pane);
    Show(pane);
}

void CStatusBar::SetPaneWidestText(int index, const QString& text)
{
    Pane& pane = m_panes[index];
    if (pane.widestText == text)
        return;
    pane.widestText = text;
    FitPane(pane);
}

void CStatusBar::FitPane(const Pane& pane)
{
    // The message pane stretches; the others are as wide as their id's
    // string, or as the widest text they are told of or given.
    if (pane.id == ID_SEPARATOR)
        return;
    const QFontMetrics metrics = fontMetrics();
    int width = metrics.horizontalAdvance(pane.sizingText);
    width = std::max(width, metrics.horizontalAdvance(pane.widestText));
    width = std::max(width, metrics.horizontalAdvance(pane.text));
    width += 2 * kPaneMargin + 2 * pane.label->frameWidth();
    if (pane.label->width() != width || pane.label->minimumWidth() != width)
        pane.label->setFixedWidth(width);
}

QString CStatusBar::GetPaneDisplayText(int index) const
{
    return m_panes[index].label->text();
}

void CStatusBar::EnablePane(int index, bool enable)
{
    Pane& pane = m_panes[index];
    if (pane.enabled == enable)
        return;
    pane.enabled = enable;
    Show(pane);
}

void CStatusBar::SetPanePopOut(int index, bool popOut)
{
    // Qt repaints a frame whose shadow is set, even to what it was.
    const QFrame::Shadow shadow = popOut ? QFrame::Raised : QFrame::Sunken;
    if (m_panes[index].label->frameShadow() != shadow)
        m_panes[index].label->setFrameShadow(shadow);
}

void CStatusBar::Show(const Pane& pane)
{
    pane.label->setText(pane.enabled ? pane.text : QString());
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target)
{
    // The message pane is the frame's to set.
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == ID_SEPARATOR)
            continue;
        CStatusCmdUI ui(m_panes[i].id, this, int(i));
        target->DoUpdate(&ui);
    }
}
