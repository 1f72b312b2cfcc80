// The About box's layout.
#include "CAboutDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "AfxMessageBox.h"
#include "Resources.h"
#include "ids.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CSkinDialog(parent)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD_ABOUTBOX));
    setWindowTitle(QStringLiteral("关于 Tornel"));

    auto* icon = new QLabel(this);
    icon->setPixmap(LoadIconResource(IDR_MAINFRAME).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto* version = new QLabel(QStringLiteral("Tornel  1.0 版"), this);
    version->setObjectName(QStringLiteral("version"));
    auto* maker = new QLabel(QStringLiteral("Halvane 出品  版权所有 (C) 2026"), this);
    maker->setObjectName(QStringLiteral("maker"));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("button%1").arg(IDOK));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(version, 0, 1);
    layout->addWidget(maker, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
