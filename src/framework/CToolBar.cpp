// Toolbars: buttons from a resource, and their update state.
#include "CToolBar.h"

#include <QAction>

#include "CActionCmdUI.h"
#include "CMDIFrameWnd.h"
#include "Resources.h"
#include "FrameworkIds.h"

bool CToolBar::CreateEx(CMDIFrameWnd* frame, int id)
{
    if (!frame)
        return false;
    m_pFrame = frame;
    m_nID = id;
    setParent(frame);
    setObjectName(QStringLiteral("toolbar%1").arg(m_nID));
    frame->AddControlBar(id, this);
    return true;
}

bool CToolBar::LoadToolBar(int resourceId)
{
    const ToolBarTemplate* resource = FindToolBarResource(resourceId);
    if (!resource)
        return false;
    m_nResourceID = resourceId;
    setWindowTitle(ResourceStringPart(resourceId, 0));
    setObjectName(QStringLiteral("toolbar%1").arg(resourceId));
    setIconSize(QSize(resource->buttonWidth, resource->buttonHeight));
    for (int id : resource->buttons) {
        m_buttonIds.push_back(id);
        if (id == ID_SEPARATOR) {
            addSeparator();
            continue;
        }
        const QImage image = LoadToolBarImage(id);
        if (image.isNull() || image.width() != resource->buttonWidth || image.height() != resource->buttonHeight)
            return false;
        QAction* action = addAction(QIcon(QPixmap::fromImage(image)), ResourceStringPart(id, 1));
        action->setData(id);
        action->setToolTip(ResourceStringPart(id, 1));
        action->setStatusTip(ResourceStringPart(id, 0));
        connect(action, &QAction::triggered, this, [this, id] { m_pFrame->OnCommand(id); });
    }
    return true;
}

void CToolBar::EnableDocking()
{
    setAllowedAreas(Qt::AllToolBarAreas);
    setMovable(true);
    setFloatable(true);
}

QAction* CToolBar::ButtonAction(int commandId) const
{
    for (QAction* action : actions())
        if (!action->isSeparator() && action->data().toInt() == commandId)
            return action;
    return nullptr;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target)
{
    for (QAction* action : actions()) {
        if (action->isSeparator())
            continue;
        CActionCmdUI ui(action, nullptr);
        target->DoUpdate(&ui);
    }
}
