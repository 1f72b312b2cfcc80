// The port settings dialogs' layout in dialog units, and their record.
#include "CPortSettingsDlg.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AfxMessageBox.h"
#include "DialogUnits.h"
#include "ids.h"

namespace {

QComboBox* AddList(QWidget* dialog, const DialogUnits& units, int id, const QString& label, int y)
{
    auto* text = new QLabel(label, dialog);
    units.Place(text, 14, y + 2, 40, 8);
    auto* list = new QComboBox(dialog);
    list->setObjectName(QStringLiteral("combo%1").arg(id));
    units.Place(list, 58, y, 82, 14);
    text->setBuddy(list);
    return list;
}

QCheckBox* AddCheck(QWidget* dialog, const DialogUnits& units, int id, const QString& text, int x, int y, int width)
{
    auto* check = new QCheckBox(text, dialog);
    check->setObjectName(QStringLiteral("check%1").arg(id));
    units.Place(check, x, y, width, 10);
    return check;
}

}  // namespace

void SetUpDncDialog(CSkinDialog* dialog, int dialogId, const QString& title)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setObjectName(QStringLiteral("dialog%1").arg(dialogId));
    dialog->setWindowTitle(title);
    dialog->setFont(DialogFont());
}

CPortSettingsDlg::CPortSettingsDlg(TransferKind kind, int dialogId, const QString& title, QWidget* owner)
    : CSkinDialog(owner), m_kind(kind)
{
    SetUpDncDialog(this, dialogId, title);
    const DialogUnits units(font());

    auto* lineGroup = new QGroupBox(this);
    units.Place(lineGroup, 7, 4, 140, 96);
    m_port = AddList(this, units, IDC_PORT_NAME, QStringLiteral("串口设置"), 12);
    m_baud = AddList(this, units, IDC_PORT_BAUD, QStringLiteral("波特率"), 29);
    m_dataBits = AddList(this, units, IDC_PORT_DATA_BITS, QStringLiteral("数据位"), 46);
    m_parity = AddList(this, units, IDC_PORT_PARITY, QStringLiteral("奇偶效验"), 63);
    m_stopBits = AddList(this, units, IDC_PORT_STOP_BITS, QStringLiteral("停止位"), 80);
    // Device files are long: the list opens wide enough to show them.
    m_port->view()->setMinimumWidth(units.X(160));

    auto* handshake = new QGroupBox(QStringLiteral("握手"), this);
    units.Place(handshake, 154, 4, 80, 52);
    m_xonXoff = AddCheck(this, units, IDC_PORT_XONXOFF, QStringLiteral("XON/XOFF"), 162, 16, 66);
    m_dtrDsr = AddCheck(this, units, IDC_PORT_DTRDSR, QStringLiteral("DTR/DSR"), 162, 28, 66);
    m_rtsCts = AddCheck(this, units, IDC_PORT_RTSCTS, QStringLiteral("CTS/RTS"), 162, 40, 66);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("button%1").arg(IDOK));
    ok->setDefault(true);
    units.Place(ok, 130, 108, 50, 14);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("button%1").arg(IDCANCEL));
    units.Place(cancel, 184, 108, 50, 14);
    connect(ok, &QPushButton::clicked, this, &CPortSettingsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CPortSettingsDlg::reject);

    setFixedSize(units.X(241), units.Y(129));
}

void CPortSettingsDlg::OnInitDialog()
{
    m_port->addItems(PortChoices());
    m_baud->addItems(BaudChoices());
    m_dataBits->addItems(DataBitsChoices());
    m_parity->addItems(ParityChoices());
    m_stopBits->addItems(StopBitsChoices());

    QString problem;
    LoadSettingsFile(m_settings, m_kind, problem);
    if (!problem.isEmpty())
        AfxMessageBox(problem, MB_OK | MB_ICONWARNING);

    SelectOrAdd(m_port, m_settings.port);
    SelectOrAdd(m_baud, m_settings.baud);
    SelectOrAdd(m_dataBits, m_settings.dataBits);
    SelectOrAdd(m_parity, m_settings.parity);
    SelectOrAdd(m_stopBits, m_settings.stopBits);
    m_xonXoff->setChecked(m_settings.xonXoff != 0);
    m_dtrDsr->setChecked(m_settings.dtrDsr != 0);
    m_rtsCts->setChecked(m_settings.rtsCts != 0);
    ShowExtra();
}

void CPortSettingsDlg::SelectOrAdd(QComboBox* list, const QString& text)
{
    // The whole entry must match: a stored "12" is not the entry "1200".
    int index = list->findText(text, Qt::MatchFixedString);
    if (index < 0) {
        // Into its sorted place, and that entry is the one selected.
        index = 0;
        while (index < list->count() && QString::compare(list->itemText(index), text, Qt::CaseInsensitive) < 0)
            ++index;
        list->insertItem(index, text);
    }
    list->setCurrentIndex(index);
}

void CPortSettingsDlg::accept()
{
    PortSettings chosen = m_settings;
    m_settings.port = m_port->currentText();
    m_settings.baud = m_baud->currentText();
    m_settings.dataBits = m_dataBits->currentText();
    m_settings.parity = m_parity->currentText();
    m_settings.stopBits = m_stopBits->currentText();
    m_settings.xonXoff = m_xonXoff->isChecked() ? 1 : 0;
    m_settings.dtrDsr = m_dtrDsr->isChecked() ? 1 : 0;
    m_settings.rtsCts = m_rtsCts->isChecked() ? 1 : 0;
    if (!ReadExtra()) {
        m_settings = chosen;
        return;
    }
    QString error;
    if (!SaveSettingsFile(m_settings, m_kind, error))
        AfxMessageBox(error + QStringLiteral("\n这些设置只用于本次传输。"), MB_OK | MB_ICONWARNING);
    CSkinDialog::accept();
}

CSendSettingsDlg::CSendSettingsDlg(QWidget* owner)
    : CPortSettingsDlg(TransferKind::Send, IDD_SEND_SETTINGS, QStringLiteral("发送设置"), owner)
{
    const DialogUnits units(font());
    m_fromComputer = AddCheck(this, units, IDC_PORT_START_FROM_COMPUTER, QStringLiteral("从计算机开始"), 154, 60, 80);
    m_fromMachine = AddCheck(this, units, IDC_PORT_START_FROM_MACHINE, QStringLiteral("从机床开始"), 154, 72, 80);
    // Shown as the machine's own dialog has it; what is sent is never changed.
    AddCheck(this, units, IDC_PORT_REMOVE_BLANKS, QStringLiteral("移去空格"), 154, 86, 80);
    connect(m_fromComputer, &QCheckBox::clicked, this, &CSendSettingsDlg::OnStartFromComputer);
    connect(m_fromMachine, &QCheckBox::clicked, this, &CSendSettingsDlg::OnStartFromMachine);
    // Every opening starts from the machine, whatever was chosen before.
    m_settings.startFromMachine = 1;
    OnInitDialog();
}

void CSendSettingsDlg::ShowExtra()
{
    m_fromComputer->setEnabled(true);
    m_fromMachine->setEnabled(true);
    m_fromComputer->setChecked(m_settings.startFromMachine == 0);
    m_fromMachine->setChecked(m_settings.startFromMachine != 0);
}

// The pair shows one mode, always: a click on the ticked box keeps it ticked.
void CSendSettingsDlg::OnStartFromComputer()
{
    m_settings.startFromMachine = 0;
    ShowExtra();
}

void CSendSettingsDlg::OnStartFromMachine()
{
    m_settings.startFromMachine = 1;
    ShowExtra();
}

CReceiveSettingsDlg::CReceiveSettingsDlg(QWidget* owner)
    : CPortSettingsDlg(TransferKind::Receive, IDD_RECEIVE_SETTINGS, QStringLiteral("接收设置"), owner)
{
    const DialogUnits units(font());
    auto* label = new QLabel(QStringLiteral("超时(ms)"), this);
    units.Place(label, 154, 64, 40, 8);
    m_timeout = new QLineEdit(this);
    m_timeout->setObjectName(QStringLiteral("edit%1").arg(IDC_PORT_TIMEOUT));
    units.Place(m_timeout, 154, 75, 80, 13);
    label->setBuddy(m_timeout);
    OnInitDialog();
}

void CReceiveSettingsDlg::ShowExtra()
{
    m_timeout->setText(QString::number(m_settings.timeoutMs));
}

bool CReceiveSettingsDlg::ReadExtra()
{
    bool ok = false;
    const int timeout = m_timeout->text().trimmed().toInt(&ok);
    // Up to a day; a time-out is the silence that ends a program.
    if (!ok || timeout < 0 || timeout > 86400000) {
        AfxMessageBox(QStringLiteral("超时必须是 0 到 86400000 之间的整数（毫秒）。"), MB_OK | MB_ICONWARNING);
        m_timeout->setFocus();
        m_timeout->selectAll();
        return false;
    }
    m_settings.timeoutMs = timeout;
    return true;
}
