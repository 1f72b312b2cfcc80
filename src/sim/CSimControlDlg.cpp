// The simulation control dialog: its layout in dialog units of its font,
// and the buttons, which post their commands to the view.
#include "CSimControlDlg.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QSlider>

#include "CSimView.h"
#include "DialogUnits.h"
#include "SimControlEvent.h"
#include "ids.h"

namespace {

const QString kPauseText = QStringLiteral("暂停");
const QString kContinueText = QStringLiteral("继续");

}  // namespace

CSimControlDlg::CSimControlDlg(CSimView* view, QWidget* parent)
    : CSkinDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      m_pView(view)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD_SIMCONTROL));
    setWindowTitle(QStringLiteral("仿真控制"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(DialogFont());
    const DialogUnits units(font());

    // The frame first, so that the slider lies over it.
    auto* group = new QGroupBox(QStringLiteral("仿真速度"), this);
    group->setObjectName(QStringLiteral("speedGroup"));
    units.Place(group, 4, 7, 160, 28);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("slider%1").arg(IDC_SIMCTRL_SPEED));
    m_slider->setTickPosition(QSlider::NoTicks);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    units.Place(m_slider, 13, 18, 148, 12);

    auto* start = new QPushButton(QStringLiteral("开始"), this);
    start->setObjectName(QStringLiteral("button%1").arg(IDC_SIMCTRL_START));
    units.Place(start, 10, 42, 32, 16);
    m_pauseButton = new QPushButton(kPauseText, this);
    m_pauseButton->setObjectName(QStringLiteral("button%1").arg(IDC_SIMCTRL_PAUSE));
    units.Place(m_pauseButton, 51, 42, 32, 16);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("button%1").arg(IDC_SIMCTRL_CLOSE));
    units.Place(close, 116, 42, 32, 16);

    setFixedSize(units.X(171), units.Y(65));

    // Moving the slider posts nothing: its position is read when Start or
    // Pause/Continue is pressed, and only then changes the speed.
    connect(start, &QPushButton::clicked, this, &CSimControlDlg::OnStart);
    connect(m_pauseButton, &QPushButton::clicked, this, &CSimControlDlg::OnPauseContinue);
    connect(close, &QPushButton::clicked, this, &CSimControlDlg::reject);
    OnInitDialog();
}

void CSimControlDlg::OnInitDialog()
{
    m_slider->setRange(kMinPosition, kMaxPosition);
    m_slider->setSingleStep(1);
    m_slider->setValue(kMaxPosition);
    // Nothing to pause before the first Start.
    m_pauseButton->setEnabled(false);
}

void CSimControlDlg::OnStart()
{
    m_lastPosition = m_slider->value();
    m_pauseButton->setEnabled(true);
    // The button keeps its text: after Pause then Start it reads "继续"
    // while the playback runs, and its next press continues.
    PostToView(SimControlEvent::kStart, m_lastPosition);
}

void CSimControlDlg::OnPauseContinue()
{
    m_lastPosition = m_slider->value();
    if (m_pauseButton->text() == kPauseText) {
        m_pauseButton->setText(kContinueText);
        PostToView(SimControlEvent::kPause, m_lastPosition);
    } else {
        m_pauseButton->setText(kPauseText);
        PostToView(SimControlEvent::kContinue, m_lastPosition);
    }
}

void CSimControlDlg::reject()
{
    PostToView(SimControlEvent::kLeave, 0);
    CSkinDialog::reject();
}

void CSimControlDlg::PostToView(int32_t command, int32_t position)
{
    // A view that is gone has nothing left to control.
    if (m_pView)
        QCoreApplication::postEvent(m_pView, new SimControlEvent(command, position));
}
