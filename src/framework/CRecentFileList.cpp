// The recent-file list: its order, its profile values and its menu items.
#include "CRecentFileList.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "CCmdUI.h"
#include "CWinApp.h"
#include "Resources.h"

namespace {

// The text a menu item had before the list first replaced it.
const char* const kPlaceholderProperty = "recentFilePlaceholder";

// Longer names are shortened in the middle of the folder part.
constexpr int kMaxMenuName = 60;

}  // namespace

CRecentFileList::CRecentFileList(int firstId, const QString& section, const QString& entryFormat, int size)
    : m_nFirstId(firstId), m_strSection(section), m_strEntryFormat(entryFormat), m_nSize(size)
{
}

void CRecentFileList::Add(const QString& path)
{
    const QString name = QFileInfo(path).absoluteFilePath();
    m_arrNames.removeAll(name);
    m_arrNames.prepend(name);
    while (m_arrNames.size() > m_nSize)
        m_arrNames.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_arrNames.size())
        m_arrNames.removeAt(index);
}

void CRecentFileList::ReadList()
{
    m_arrNames.clear();
    CWinApp* app = AfxGetApp();
    for (int i = 0; i < m_nSize; ++i) {
        const QString name = app->GetProfileString(m_strSection, m_strEntryFormat.arg(i + 1));
        if (!name.isEmpty() && !m_arrNames.contains(name))
            m_arrNames.append(name);
    }
}

void CRecentFileList::WriteList() const
{
    CWinApp* app = AfxGetApp();
    // Entries past the end are removed, so that a shorter list stays short.
    for (int i = 0; i < m_nSize; ++i)
        app->WriteProfileString(m_strSection, m_strEntryFormat.arg(i + 1),
                                i < m_arrNames.size() ? m_arrNames[i] : QString());
}

QString CRecentFileList::MenuText(int index) const
{
    const QFileInfo info(m_arrNames[index]);
    QString name;
    if (info.absolutePath() == QDir::currentPath()) {
        name = info.fileName();
    } else {
        name = QDir::toNativeSeparators(info.absoluteFilePath());
        const QString home = QDir::homePath();
        if (name.startsWith(home + QLatin1Char('/')))
            name = QLatin1Char('~') + name.mid(home.size());
        if (name.size() > kMaxMenuName) {
            const QString file = info.fileName();
            const int keep = std::max(0, kMaxMenuName - int(file.size()) - 4);
            name = name.left(keep) + QStringLiteral("…/") + file;
        }
    }
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void CRecentFileList::UpdateMenu(CCmdUI* ui)
{
    QMenu* menu = ui->m_pMenu;
    QAction* first = ui->m_pAction;
    if (!menu || !first) {
        ui->Enable(!m_arrNames.isEmpty());
        return;
    }
    if (!first->property(kPlaceholderProperty).isValid())
        first->setProperty(kPlaceholderProperty, first->text());

    // Drop the entries shown last time, then insert the current ones after
    // the first item.
    for (QAction* action : menu->actions()) {
        const int id = action->data().toInt();
        if (id > m_nFirstId && id < m_nFirstId + m_nSize)
            delete action;
    }
    if (m_arrNames.isEmpty()) {
        first->setText(first->property(kPlaceholderProperty).toString());
        ui->Enable(false);
        return;
    }
    first->setText(MenuText(0));
    ui->Enable(true);
    const QList<QAction*> actions = menu->actions();
    const qsizetype at = actions.indexOf(first);
    QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
    for (int i = 1; i < m_arrNames.size(); ++i) {
        auto* action = new QAction(MenuText(i), menu);
        action->setData(m_nFirstId + i);
        action->setStatusTip(ResourceStringPart(m_nFirstId + i, 0));
        menu->insertAction(before, action);
    }
}
