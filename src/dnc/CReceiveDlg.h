// CReceiveDlg ("接收"): receives a program from the machine tool.  Lines are
// counted as they come; once the machine has been silent for the time-out,
// everything received is written, byte for byte, to "Temp.txt" in the
// current directory and the dialog closes.
#pragma once

#include <QBasicTimer>
#include <QByteArray>
#include <QElapsedTimer>

#include "ReceivedProgram.h"
#include "TransferDialog.h"

class QLabel;

class CReceiveDlg : public CTransferDlg
{
    Q_OBJECT

public:
    explicit CReceiveDlg(QWidget* parent = nullptr);

    static constexpr const char* kTempFileName = "Temp.txt";

    // Everything received since Start, an unfinished last line included.
    const QByteArray& Received() const { return m_received.Bytes(); }
    int LineCount() const { return m_received.LineCount(); }
    // Once the dialog has closed with OK: where the program was written and
    // its CRC-32.
    const QString& SavedPath() const { return m_savedPath; }
    quint32 ReceivedCrc() const { return m_crc; }

    void OnStart() override;
    // Asks first when received bytes have not been written yet.
    void OnCancel() override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void OnComm() override;
    void OnDeviceLost(const QString& reason) override;
    void OnReceived(const QByteArray& bytes);
    void OnTimeoutCheck();
    bool WriteTempFile();
    void StartTimeoutTimer();
    void ShowLines();
    // Whether what came may be dropped: yes when it is saved or there is
    // nothing; otherwise the user says.
    bool MayDropReceived();

    QLabel* m_label = nullptr;
    bool m_bDataReceived = false;
    ReceivedProgram m_received;
    QElapsedTimer m_lastData;
    QBasicTimer m_timeout;
    // The label and the last line, shown at most about 30 times a second.
    QBasicTimer m_refresh;
    QElapsedTimer m_lastShown;
    QString m_savedPath;
    quint32 m_crc = 0;
};
