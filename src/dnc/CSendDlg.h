// CSendDlg ("发送"): sends one program to the machine tool.  The program is
// the text of the document whose window gave the command, as it stands when
// Start is pressed.  A worker thread writes it line by line; this dialog's
// thread watches the port and pauses the worker on the machine's DC3 and
// resumes it on DC1, and shows progress about 30 times a second.
#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <memory>

#include "TransferDialog.h"

class CGradientProgress;
class CTextBuffer;
class QLabel;
class SendSnapshot;
class SendWorker;

class CSendDlg : public CTransferDlg
{
    Q_OBJECT

public:
    // Sends buffer, the text of the document named documentName.
    CSendDlg(const CTextBuffer* buffer, const QString& documentName, QWidget* parent = nullptr);
    ~CSendDlg() override;

    // The pause count of the running worker; -1 when there is none.
    int WorkerPauseCount() const;
    bool IsSending() const { return m_worker != nullptr; }

    void OnStart() override;
    void OnCancel() override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void OnNewSettings() override;
    void OnComm() override;
    void OnDeviceLost(const QString& reason) override;
    void OnWorkerEnded();
    // Stops the worker, if any, dropping what it has not sent.
    void StopWorker();
    // Progress, the line being sent and the counts, from the worker.
    void ShowProgress();

    const CTextBuffer* m_buffer;
    CGradientProgress* m_progress = nullptr;
    std::unique_ptr<SendWorker> m_worker;
    QLabel* m_counts = nullptr;
    QBasicTimer m_refresh;
    QElapsedTimer m_elapsed;
    int m_shownLine = -1;
};
