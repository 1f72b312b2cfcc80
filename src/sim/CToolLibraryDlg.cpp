// The tool library's list.
#include "CToolLibraryDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "AfxMessageBox.h"
#include "ToolSlotText.h"

CToolLibraryDlg::CToolLibraryDlg(std::vector<ToolSlot> entries, QWidget* parent)
    : QDialog(parent), m_entries(std::move(entries))
{
    setObjectName(QStringLiteral("toolLibraryDialog"));
    setWindowTitle(QStringLiteral("从刀库载入"));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("toolLibraryList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({QStringLiteral("T#"), QStringLiteral("刀具名称"), QStringLiteral("类型"),
                             QStringLiteral("D")});
    for (const ToolSlot& tool : m_entries) {
        const char* type = ToolTypeName(tool.type);
        auto* item = new QTreeWidgetItem(m_list, {QString::number(tool.number), ToolSlotName(tool),
                                                  QString::fromLatin1(type ? type : "?"),
                                                  QString::fromStdString(FormatToolNumber(tool.D))});
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->setCurrentItem(m_list->topLevelItem(0));
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("button%1").arg(IDOK));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("button%1").arg(IDCANCEL));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(380, 260);
}

const ToolSlot* CToolLibraryDlg::SelectedTool() const
{
    QTreeWidgetItem* item = m_list->currentItem();
    const int row = item ? m_list->indexOfTopLevelItem(item) : -1;
    return row >= 0 && size_t(row) < m_entries.size() ? &m_entries[size_t(row)] : nullptr;
}
