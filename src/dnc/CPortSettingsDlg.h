// The port settings dialogs: CSendSettingsDlg ("发送设置") and
// CReceiveSettingsDlg ("接收设置").  Each reads its own settings file when
// it opens and, on OK, keeps what the user chose (Settings) and writes the
// file; the transfer dialog that opened it then takes the record over.
#pragma once

#include "CSkinDialog.h"
#include "PortSettings.h"

class DialogUnits;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Makes dialog a DNC dialog window: fixed size with a title and a close
// button, named "dialog<dialogId>", in the dialog font.
void SetUpDncDialog(CSkinDialog* dialog, int dialogId, const QString& title);

class CPortSettingsDlg : public CSkinDialog
{
public:
    const PortSettings& Settings() const { return m_settings; }

    // Reads the controls into the record and writes the settings file; a
    // value that is no value leaves the dialog open with a message.
    void accept() override;

protected:
    CPortSettingsDlg(TransferKind kind, int dialogId, const QString& title, QWidget* owner);
    // Fills the lists, loads the file and shows the record.
    void OnInitDialog();
    // The controls of one kind: shown from and read into m_settings.
    virtual void ShowExtra() {}
    virtual bool ReadExtra() { return true; }

    PortSettings m_settings;

private:
    // Selects text in list, adding it where it is not one of the entries.
    static void SelectOrAdd(QComboBox* list, const QString& text);

    TransferKind m_kind;
    QComboBox* m_port = nullptr;
    QComboBox* m_baud = nullptr;
    QComboBox* m_dataBits = nullptr;
    QComboBox* m_parity = nullptr;
    QComboBox* m_stopBits = nullptr;
    QCheckBox* m_xonXoff = nullptr;
    QCheckBox* m_dtrDsr = nullptr;
    QCheckBox* m_rtsCts = nullptr;
};

class CSendSettingsDlg : public CPortSettingsDlg
{
public:
    explicit CSendSettingsDlg(QWidget* owner);

private:
    void ShowExtra() override;
    void OnStartFromComputer();
    void OnStartFromMachine();

    QCheckBox* m_fromComputer = nullptr;
    QCheckBox* m_fromMachine = nullptr;
};

class CReceiveSettingsDlg : public CPortSettingsDlg
{
public:
    explicit CReceiveSettingsDlg(QWidget* owner);

private:
    void ShowExtra() override;
    bool ReadExtra() override;

    QLineEdit* m_timeout = nullptr;
};
