// CSimView: the playback of the toolpath - command 32808 and the control
// dialog it opens, WM_SIMCONTROL from that dialog, and timer 1, which plays
// a record per tick: the tool jumps to the record's end point, the
// toolpath shows up to its line, and the code view marks that line.
//
// A tick comes only once the frame of the tick before has been drawn, as a
// window's paint comes before its timer, so that at the fastest speed
// (period 0) every record is shown rather than the ticks outrunning the
// paints; a pane that will not be painted (hidden, empty, its window not
// exposed) does not hold the playback up, and neither does a frame that
// takes longer than kStepWaitMs.
#include <QWindow>
#include <algorithm>

#include "CSimControlDlg.h"
#include "CSimView.h"
#include "MoveList.h"
#include "NcDocument.h"
#include "SimControlEvent.h"

namespace {

// The period of timer 1 at a slider position: 0 to 199 ms.
int PeriodAt(int32_t position)
{
    constexpr int kSlowest = CSimControlDlg::kMaxPosition - CSimControlDlg::kMinPosition;
    return std::clamp(CSimControlDlg::kMaxPosition - position, 0, kSlowest);
}

}  // namespace

void CSimView::InitPlayback()
{
    m_playTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_playTimer, &QTimer::timeout, this, &CSimView::OnPlaybackTimer);
}

bool CSimView::IsPlaying() const
{
    return m_playTimer.isActive();
}

int CSimView::PlaybackPeriod() const
{
    return m_playTimer.isActive() ? m_playTimer.interval() : -1;
}

CSimControlDlg* CSimView::ControlDialog() const
{
    return m_controlDlg;
}

// One dialog per view: the command raises the open one.  Its parent is
// the main window (not the pane, which may move to a full-screen window of
// its own and back); the view closes it when the view goes.
void CSimView::OnSimStart()
{
    if (m_controlDlg) {
        m_controlDlg->show();
        m_controlDlg->raise();
        m_controlDlg->activateWindow();
    } else {
        QWidget* owner = IsFullScreen() && m_homeParent ? m_homeParent->window() : window();
        m_controlDlg = new CSimControlDlg(this, owner);
        m_controlDlg->show();
    }
    m_simulating = true;
    update();
}

void CSimView::OnUpdateSimStart(CCmdUI* ui)
{
    ui->Enable();
    ui->SetCheck(m_simulating);
}

void CSimView::CloseControlDialog()
{
    delete m_controlDlg;
}

void CSimView::customEvent(QEvent* event)
{
    if (event->type() == SimControlEvent::Type()) {
        const auto* control = static_cast<const SimControlEvent*>(event);
        OnSimControl(control->Command(), control->Position());
        return;
    }
    QOpenGLWidget::customEvent(event);
}

void CSimView::OnSimControl(int32_t command, int32_t position)
{
    const bool leave = command != SimControlEvent::kPause && command != SimControlEvent::kContinue &&
                       command != SimControlEvent::kStart;
    // Without moves there is nothing to play.  Leaving simulation mode is
    // still obeyed: otherwise closing the dialog over an empty program
    // would leave the view hiding the toolpath of the next interpretation
    // with no dialog to end it.
    if (Moves().empty() && !leave)
        return;
    switch (command) {
    case SimControlEvent::kPause:
        m_simulating = true;
        m_playTimer.stop();
        break;
    case SimControlEvent::kContinue:
        m_simulating = true;
        m_playTimer.start(PeriodAt(position));
        break;
    case SimControlEvent::kStart:
        m_playPos = 0;
        m_simulating = true;
        m_playTimer.start(PeriodAt(position));
        break;
    default:
        m_simulating = false;
        m_playTimer.stop();
        break;
    }
    update();
}

bool CSimView::PaintWillCome() const
{
    const QWidget* top = window();
    return isVisible() && updatesEnabled() && !visibleRegion().isEmpty() && top->windowHandle() &&
           top->windowHandle()->isExposed();
}

void CSimView::OnPlaybackTimer()
{
    if (!m_stepShown && m_stepClock.isValid() && m_stepClock.elapsed() < kStepWaitMs && PaintWillCome())
        return;
    const MoveList& moves = Moves();
    if (m_playPos == kNoPosition || m_playPos >= moves.size()) {
        m_playTimer.stop();
        return;
    }
    const MoveRecord& record = moves[m_playPos];
    m_playPos = m_playPos == m_playEnd ? kNoPosition : m_playPos + 1;
    m_toolPos[0] = record.endX;
    m_toolPos[1] = record.endY;
    m_toolPos[2] = record.endZ;
    m_currentLine = record.line;
    m_currentTool = record.tool;
    m_stepShown = false;
    m_stepClock.start();
    update();
    if (CNcDocument* document = NcDocument())
        document->ShowLine(m_currentLine);
}
