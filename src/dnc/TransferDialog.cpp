// The transfer dialogs' shared parts.
#include "TransferDialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <memory>

#include "AfxMessageBox.h"
#include "ApplyPortSettings.h"
#include "CPortSettingsDlg.h"
#include "CSerialComm.h"
#include "DialogUnits.h"
#include "ids.h"

CTransferDlg::CTransferDlg(TransferKind kind, int dialogId, const QString& title, int commId, int logId,
                           QWidget* parent)
    : CSkinDialog(parent), m_kind(kind)
{
    SetUpDncDialog(this, dialogId, title);

    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("edit%1").arg(logId));
    m_log->setReadOnly(true);
    QPalette colours = m_log->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0, 255, 0));
    m_log->setPalette(colours);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);

    m_comm = new CSerialComm(this);
    m_comm->setObjectName(QStringLiteral("comm%1").arg(commId));
    connect(m_comm, &CSerialComm::OnComm, this, [this] { OnComm(); });
    connect(m_comm, &CSerialComm::DeviceLost, this, [this](const QString& reason) { OnDeviceLost(reason); });
}

void CTransferDlg::AddButtons(const DialogUnits& units, int settingsId, int startId, int cancelId, int y)
{
    const auto add = [&](int id, const QString& text, int x) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QStringLiteral("button%1").arg(id));
        units.Place(button, x, y, 50, 14);
        return button;
    };
    QPushButton* settings = add(settingsId, QStringLiteral("设置"), 7);
    QPushButton* start = add(startId, QStringLiteral("开始"), 149);
    start->setDefault(true);
    QPushButton* cancel = add(cancelId, QStringLiteral("取消"), 203);
    connect(settings, &QPushButton::clicked, this, &CTransferDlg::OnSettings);
    connect(start, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
}

void CTransferDlg::reject()
{
    OnCancel();
}

void CTransferDlg::OnInitDialog()
{
    QString problem;
    LoadSettingsFile(m_settings, m_kind, problem);
    if (!problem.isEmpty())
        AfxMessageBox(problem, MB_OK | MB_ICONWARNING);
    ShowSummary();
}

void CTransferDlg::ShowSummary()
{
    m_log->setPlainText(SettingsSummary(m_settings, m_kind));
}

BEGIN_COMMAND_MAP(CTransferDlg, CCmdTarget)
    ON_UPDATE_COMMAND_UI(ID_EDIT_INDICATOR_STATUS, OnUpdateStatusPane)
END_COMMAND_MAP()

void CTransferDlg::OnUpdateStatusPane(CCmdUI* ui)
{
    ui->Enable(true);
    ui->SetText(m_strStatus);
}

bool CTransferDlg::OpenPort()
{
    if (ApplyPortSettings(*m_comm, m_settings, m_kind))
        return true;
    SetStatus(QStringLiteral("不能打开指定的串口：%1").arg(m_comm->LastError()));
    return false;
}

void CTransferDlg::SetStatus(const QString& text)
{
    m_strStatus = text;
    m_status->setText(text);
}

void CTransferDlg::OnSettings()
{
    std::unique_ptr<CPortSettingsDlg> dialog;
    if (m_kind == TransferKind::Send)
        dialog = std::make_unique<CSendSettingsDlg>(this);
    else
        dialog = std::make_unique<CReceiveSettingsDlg>(this);
    if (dialog->exec() != QDialog::Accepted)
        return;
    m_settings = dialog->Settings();
    OnNewSettings();
    m_comm->SetPortOpen(false);
    ShowSummary();
}

QString DisplayLine(const char* bytes, qsizetype size)
{
    while (size > 0 && (bytes[size - 1] == '\n' || bytes[size - 1] == '\r'))
        --size;
    QStringDecoder gbk("GBK");
    if (!gbk.isValid())
        return QString::fromLatin1(bytes, size);
    return gbk.decode(QByteArrayView(bytes, size));
}

QString ByteCountAndCrc(qulonglong bytes, quint32 crc)
{
    return QStringLiteral("%1 字节，CRC-32 %2").arg(bytes).arg(QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper());
}
