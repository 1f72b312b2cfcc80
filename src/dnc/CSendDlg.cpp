// The send dialog: Start, Cancel, Settings, the machine's DC3 and DC1, and
// the progress shown while the worker sends.
#include "CSendDlg.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimerEvent>

#include "AfxMessageBox.h"
#include "CGradientProgress.h"
#include "CPortSettingsDlg.h"
#include "CSerialComm.h"
#include "CTextBuffer.h"
#include "DialogUnits.h"
#include "SendWorker.h"
#include "TransferDialog.h"
#include "ids.h"

namespace {

constexpr char kDC1 = 0x11;
constexpr char kDC3 = 0x13;

QString CommEventText(int event)
{
    switch (event) {
    case CSerialComm::comEvCD:
        return QStringLiteral("接收到CD事件");
    case CSerialComm::comEvRing:
        return QStringLiteral("接收到响铃事件");
    case CSerialComm::comEvEOF:
        return QStringLiteral("接收到EOF事件");
    case CSerialComm::comEventBreak:
        return QStringLiteral("发生Break错误!");
    case CSerialComm::comEventCTSTO:
        return QStringLiteral("发生CTSTO错误!");
    case CSerialComm::comEventDSRTO:
        return QStringLiteral("发生DSRTO错误!");
    case CSerialComm::comEventFrame:
        return QStringLiteral("发生Frame错误!");
    case CSerialComm::comEventOverrun:
        return QStringLiteral("发生Overrun错误!");
    case CSerialComm::comEventCDTO:
        return QStringLiteral("发生CDTO错误!");
    case CSerialComm::comEventRxOver:
        return QStringLiteral("发生RxOver错误!");
    case CSerialComm::comEventRxParity:
        return QStringLiteral("发生RxParity错误!");
    case CSerialComm::comEventTxFull:
        return QStringLiteral("发生TxFull错误!");
    default:
        return QStringLiteral("发生未知错误!");
    }
}

QString Elapsed(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

CSendDlg::CSendDlg(const CTextBuffer* buffer, const QString& documentName, QWidget* parent)
    : CTransferDlg(TransferKind::Send, IDD_SEND, QStringLiteral("发送"), IDC_SEND_COMM, IDC_SEND_LOG, parent),
      m_buffer(buffer)
{
    const DialogUnits units(font());
    auto* label = new QLabel(QStringLiteral("发送"), this);
    label->setObjectName(QStringLiteral("label%1").arg(IDC_SEND_LABEL));
    units.Place(label, 7, 7, 24, 9);
    // The program that goes to the machine, named so the user can check it.
    auto* program = new QLabel(this);
    program->setObjectName(QStringLiteral("program"));
    program->setTextFormat(Qt::PlainText);
    units.Place(program, 32, 7, 221, 9);
    program->setText(fontMetrics().elidedText(documentName, Qt::ElideMiddle, program->width()));
    program->setToolTip(documentName);

    units.Place(m_log, 7, 19, 246, 78);
    m_progress = new CGradientProgress(this);
    m_progress->setObjectName(QStringLiteral("progress%1").arg(IDC_SEND_PROGRESS));
    units.Place(m_progress, 7, 101, 246, 11);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("counts"));
    units.Place(m_counts, 7, 115, 246, 9);
    units.Place(m_status, 7, 126, 246, 9);

    AddButtons(units, IDC_SEND_SETTINGS, IDC_SEND_START, IDC_SEND_CANCEL, 140);
    setFixedSize(units.X(260), units.Y(161));
    OnInitDialog();
}

CSendDlg::~CSendDlg()
{
    StopWorker();
}

int CSendDlg::WorkerPauseCount() const
{
    return m_worker ? m_worker->PauseCount() : -1;
}

void CSendDlg::StopWorker()
{
    m_refresh.stop();
    if (!m_worker)
        return;
    m_comm->SetOutBufferCount(0);
    m_worker->StopAndJoin();
    m_comm->SetOutBufferCount(0);
    m_worker.reset();
}

void CSendDlg::OnNewSettings()
{
    // The new settings close the port: a transfer under way ends with it.
    if (m_worker) {
        StopWorker();
        SetStatus(QStringLiteral("设置已更改，传输已停止"));
    }
}

void CSendDlg::OnStart()
{
    StopWorker();
    if (!OpenPort())
        return;
    // What is sent is the text as it is now; editing it meanwhile changes
    // nothing on the way to the machine.
    auto snapshot = m_buffer ? std::make_shared<const SendSnapshot>(*m_buffer) : nullptr;
    if (!snapshot || snapshot->LineCount() <= 0) {
        AfxMessageBox(QStringLiteral("没有文件可传输!"), MB_OK);
        m_comm->SetPortOpen(false);
        return;
    }
    // The worker tells this thread that it has ended; a notice from a
    // worker that has since been replaced finds a running one and is dropped.
    m_worker = std::make_unique<SendWorker>(*m_comm, std::move(snapshot), [this] {
        QMetaObject::invokeMethod(this, &CSendDlg::OnWorkerEnded, Qt::QueuedConnection);
    });
    m_log->setPlainText(QStringLiteral("正在机床等待接收！"));
    m_progress->m_bShowPercent = true;
    m_progress->m_clrText = QColor(0, 0, 0);
    m_progress->m_clrStart = QColor(0, 255, 20);
    m_progress->m_clrEnd = QColor(255, 0, 20);
    m_progress->SetPos(0);
    SetStatus(QString());
    m_shownLine = -1;
    m_elapsed.start();
    ShowProgress();
    m_refresh.start(kTransferRefreshMs, this);
    if (m_settings.startFromMachine == 0 && (m_settings.xonXoff || m_comm->Handshaking() == 2))
        m_worker->Resume();
}

void CSendDlg::OnComm()
{
    const int event = m_comm->CommEvent();
    if (event == CSerialComm::comEvReceive) {
        // Every byte that came, not only those counted before the read: a
        // DC3 missed would let the program overrun the machine's buffer.
        const QByteArray bytes = m_comm->Input();
        for (const char byte : bytes) {
            if (byte == kDC3) {
                if (m_worker)
                    m_worker->Pause();
                SetStatus(QStringLiteral("接收到DC3,挂起传输"));
            } else if (byte == kDC1) {
                if (m_worker)
                    m_worker->Resume();
                SetStatus(QStringLiteral("接收到DC1,继续传输"));
            }
        }
        return;
    }
    if (event == CSerialComm::comEvCTS || event == CSerialComm::comEvDSR)
        return;
    SetStatus(CommEventText(event));
}

void CSendDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_refresh.timerId())
        ShowProgress();
    else
        CTransferDlg::timerEvent(event);
}

void CSendDlg::ShowProgress()
{
    if (!m_worker)
        return;
    const SendSnapshot& snapshot = m_worker->Snapshot();
    const int lines = snapshot.LineCount();
    const int current = m_worker->CurrentLine();
    if (current >= 0) {
        m_progress->SetPos(SendWorker::Percent(current, lines));
        if (current != m_shownLine) {
            const std::string_view line = snapshot.Line(current);
            m_log->setPlainText(DisplayLine(line.data(), qsizetype(line.size())));
            m_shownLine = current;
        }
    }
    m_counts->setText(QStringLiteral("已发送 %1/%2 行，%3 字节，用时 %4")
                          .arg(m_worker->LinesSent())
                          .arg(lines)
                          .arg(m_worker->BytesSent())
                          .arg(Elapsed(m_elapsed.elapsed())));
}

void CSendDlg::OnWorkerEnded()
{
    if (!m_worker || m_worker->Result() == SendWorker::Outcome::Running)
        return;
    ShowProgress();
    m_refresh.stop();
    const SendWorker::Outcome outcome = m_worker->Result();
    const qulonglong bytes = m_worker->BytesSent();
    const quint32 crc = m_worker->Crc();
    m_worker->StopAndJoin();
    m_worker.reset();
    if (outcome == SendWorker::Outcome::DeviceLost) {
        m_comm->SetPortOpen(false);
        SetStatus(QStringLiteral("串口设备已断开，传输中止：已发送 %1").arg(ByteCountAndCrc(bytes, crc)));
        return;
    }
    m_progress->SetPos(100);
    m_comm->SetPortOpen(false);
    m_log->setPlainText(QStringLiteral("全部文件发送完毕!"));
    SetStatus(QStringLiteral("已发送 %1").arg(ByteCountAndCrc(bytes, crc)));
}

void CSendDlg::OnDeviceLost(const QString& reason)
{
    // Told already when the worker ended on it.
    if (!m_comm->PortOpen())
        return;
    // The worker may be writing: it stops before the port closes.
    StopWorker();
    m_comm->SetPortOpen(false);
    SetStatus(reason + QStringLiteral("，传输中止"));
}

void CSendDlg::OnCancel()
{
    StopWorker();
    m_comm->SetPortOpen(false);
    CSkinDialog::reject();
}
