// CTransferDlg: what the send and receive dialogs share.  Each hosts its own
// serial control and settings record, loaded from its settings file when
// the dialog opens; a black multi-line edit box with green text shows the
// settings summary and then the transfer; a status line under it says what
// happened last.
#pragma once

#include <QString>

#include "CCmdTarget.h"
#include "CSkinDialog.h"
#include "PortSettings.h"

class CPortSettingsDlg;
class CSerialComm;
class DialogUnits;
class QLabel;
class QPlainTextEdit;

// A command target too: while it is up, the main frame asks it first, and
// it answers the status pane 37900 with its status.
class CTransferDlg : public CSkinDialog, public CCmdTarget
{
public:
    // Opens the settings dialog of the transfer; new settings close the
    // port (after OnNewSettings) and show their summary.
    void OnSettings();
    virtual void OnStart() = 0;
    // Ends the dialog (or, when there is something to lose, asks first).
    virtual void OnCancel() = 0;
    // Esc and the window's close button are Cancel.
    void reject() override;

    CSerialComm* Comm() const { return m_comm; }
    const PortSettings& Settings() const { return m_settings; }
    // The last status: comm events, the end of a transfer, a failure.
    const QString& StatusText() const { return m_strStatus; }

protected:
    // The control gets the object name "comm<commId>", the edit box
    // "edit<logId>".
    CTransferDlg(TransferKind kind, int dialogId, const QString& title, int commId, int logId, QWidget* parent);

    // Loads the settings file (saying so when it was damaged) and shows the
    // summary.
    void OnInitDialog();
    void ShowSummary();
    void SetStatus(const QString& text);
    // Opens the port with the settings; when it cannot be, the message box
    // says why and the status line keeps it.
    bool OpenPort();
    // New settings are about to close the port.
    virtual void OnNewSettings() {}
    // The control's events.
    virtual void OnComm() = 0;
    virtual void OnDeviceLost(const QString& reason) = 0;
    // 设置, 开始 and 取消 along y.
    void AddButtons(const DialogUnits& units, int settingsId, int startId, int cancelId, int y);

    CSerialComm* m_comm = nullptr;
    PortSettings m_settings;
    QPlainTextEdit* m_log = nullptr;
    QLabel* m_status = nullptr;

private:
    void OnUpdateStatusPane(CCmdUI* ui);

    TransferKind m_kind;
    QString m_strStatus;

    DECLARE_COMMAND_MAP()
};

// How often the dialogs show progress: about 30 times a second, however
// fast the lines go.
inline constexpr int kTransferRefreshMs = 33;

// A line of the program as the user reads it: GBK decoded, without its
// line end.
QString DisplayLine(const char* bytes, qsizetype size);
// "1234 字节，CRC-32 1A2B3C4D".
QString ByteCountAndCrc(qulonglong bytes, quint32 crc);
