// The receive dialog: Start, the machine's bytes, the time-out and the file.
#include "CReceiveDlg.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimerEvent>
#include <algorithm>

#include "AfxMessageBox.h"
#include "CPortSettingsDlg.h"
#include "CSerialComm.h"
#include "Crc32.h"
#include "DialogUnits.h"
#include "TransferDialog.h"
#include "ids.h"

namespace {

constexpr char kDC1 = 0x11;

}  // namespace

CReceiveDlg::CReceiveDlg(QWidget* parent)
    : CTransferDlg(TransferKind::Receive, IDD_RECEIVE, QStringLiteral("接收"), IDC_RECEIVE_COMM, IDC_RECEIVE_LOG, parent)
{
    const DialogUnits units(font());
    m_label = new QLabel(QStringLiteral("接收"), this);
    m_label->setObjectName(QStringLiteral("label%1").arg(IDC_RECEIVE_LABEL));
    units.Place(m_label, 7, 7, 246, 9);
    units.Place(m_log, 7, 19, 246, 88);
    units.Place(m_status, 7, 111, 246, 9);

    AddButtons(units, IDC_RECEIVE_SETTINGS, IDC_RECEIVE_START, IDC_RECEIVE_CANCEL, 125);
    setFixedSize(units.X(260), units.Y(146));
    OnInitDialog();
}

void CReceiveDlg::StartTimeoutTimer()
{
    // Half the time-out, so that the dialog closes between one and one and
    // a half time-outs after the last byte.
    m_timeout.start(std::max(m_settings.timeoutMs / 2, 10), this);
}

void CReceiveDlg::OnStart()
{
    if (!MayDropReceived())
        return;
    if (!OpenPort())
        return;
    m_received.Clear();
    m_savedPath.clear();
    m_log->setPlainText(QStringLiteral("已准备好接收"));
    m_label->setText(QStringLiteral("接收"));
    SetStatus(QString());
    m_lastData.invalidate();
    m_bDataReceived = false;
    m_refresh.stop();
    StartTimeoutTimer();
    m_comm->Input();
    const int handshaking = m_comm->Handshaking();
    if (handshaking == 1 || handshaking == 3)
        m_comm->Output(QByteArray(1, kDC1));
    if (handshaking == 2 || handshaking == 3)
        m_comm->SetCTSHolding(true);
}

void CReceiveDlg::OnComm()
{
    switch (m_comm->CommEvent()) {
    case CSerialComm::comEvReceive:
        m_timeout.stop();
        m_bDataReceived = true;
        // Every byte the control holds, not only those counted before the
        // read: none may go missing from the program.
        OnReceived(m_comm->Input());
        m_lastData.start();
        StartTimeoutTimer();
        break;
    case CSerialComm::comEvCTS:
        // Before the first byte the line decides whether to wait; after it
        // the check keeps running whatever CTS does, so that a machine
        // that raises CTS once it is done cannot keep the program from
        // being written.
        if (m_comm->RTSEnable() && !m_bDataReceived) {
            if (!m_comm->CTSHolding())
                StartTimeoutTimer();
            else
                m_timeout.stop();
        }
        break;
    default:
        break;
    }
}

void CReceiveDlg::OnReceived(const QByteArray& bytes)
{
    m_received.Append(bytes);
    if (!m_lastShown.isValid() || m_lastShown.elapsed() >= kTransferRefreshMs)
        ShowLines();
    else if (!m_refresh.isActive())
        m_refresh.start(kTransferRefreshMs, this);
}

void CReceiveDlg::ShowLines()
{
    m_refresh.stop();
    m_lastShown.start();
    const int lines = m_received.LineCount();
    if (lines == 0)
        return;
    const QByteArrayView line = m_received.LastLine();
    m_log->setPlainText(DisplayLine(line.data(), line.size()));
    m_label->setText(QStringLiteral("接收代码的第%1行").arg(lines) + QString(lines % 7, QLatin1Char('.')));
}

void CReceiveDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timeout.timerId())
        OnTimeoutCheck();
    else if (event->timerId() == m_refresh.timerId())
        ShowLines();
    else
        CTransferDlg::timerEvent(event);
}

void CReceiveDlg::OnTimeoutCheck()
{
    if (!m_bDataReceived || !m_lastData.isValid() || m_lastData.elapsed() < m_settings.timeoutMs)
        return;
    ShowLines();
    if (!WriteTempFile())
        return;  // the data stay; the next tick tries again
    m_comm->SetPortOpen(false);
    m_timeout.stop();
    accept();
}

bool CReceiveDlg::WriteTempFile()
{
    // In one step: a half-written file never takes the place of a good one.
    const QString path = QDir::current().absoluteFilePath(QString::fromLatin1(kTempFileName));
    const QByteArray& bytes = m_received.Bytes();
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        m_savedPath = path;
        m_crc = Crc32(0, bytes.constData(), size_t(bytes.size()));
        SetStatus(QStringLiteral("已保存到 %1：%2").arg(path, ByteCountAndCrc(qulonglong(bytes.size()), m_crc)));
        return true;
    }
    SetStatus(QStringLiteral("不能写入 %1：%2。接收到的数据仍在，稍后重试。").arg(path, file.errorString()));
    return false;
}

void CReceiveDlg::OnDeviceLost(const QString& reason)
{
    // What has come stays and is written at the time-out as usual.
    m_comm->SetPortOpen(false);
    SetStatus(reason);
}

bool CReceiveDlg::MayDropReceived()
{
    if (!m_bDataReceived || !m_savedPath.isEmpty() || m_received.IsEmpty())
        return true;
    return AfxMessageBox(QStringLiteral("已接收的 %1 字节尚未保存，确实要放弃吗？").arg(m_received.Bytes().size()),
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CReceiveDlg::OnCancel()
{
    if (!MayDropReceived())
        return;
    m_timeout.stop();
    m_refresh.stop();
    m_comm->SetPortOpen(false);
    CSkinDialog::reject();
}
