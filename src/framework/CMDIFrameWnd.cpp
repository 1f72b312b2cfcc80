// The MDI main frame: menus, accelerators, idle updates, the MDI area and its
// Window commands, dropped files, closing.
#include "CMDIFrameWnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QUrl>
#include <algorithm>

#include "BackgroundTask.h"
#include "CActionCmdUI.h"
#include "CControlBar.h"
#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CMultiDocTemplate.h"
#include "CStatusBar.h"
#include "CToolBar.h"
#include "CView.h"
#include "CWinApp.h"
#include "Resources.h"
#include "FrameworkIds.h"

namespace {

// Items of the Window menu that name the open document windows.
constexpr int kFirstMdiChildId = AFX_IDM_FIRST_MDICHILD;
constexpr int kMaxMdiChildItems = 9;

}  // namespace

// The bars belong to the main frame, so View > Toolbar and View > Status Bar
// are its commands and not a child frame's.
BEGIN_COMMAND_MAP(CMDIFrameWnd, CFrameWnd)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateWindowNew)
    ON_COMMAND_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
    ON_COMMAND_RANGE(kFirstMdiChildId, kFirstMdiChildId + kMaxMdiChildItems - 1, OnActivateMDIChild)
END_COMMAND_MAP()

CMDIFrameWnd::CMDIFrameWnd()
{
    m_pMdiArea = new QMdiArea(this);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] { OnIdleUpdateCmdUI(); });
    // Once the events of the moment are handled, and only after something
    // happened: a program left alone does nothing at all.
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(0);
    connect(&m_idleTimer, &QTimer::timeout, this, &CMDIFrameWnd::OnIdleUpdateCmdUI);
    qApp->installEventFilter(this);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMDIFrameWnd::UpdateCmdUISoon);
}

CMDIFrameWnd::~CMDIFrameWnd()
{
    // Document windows go while the frame is still whole: their documents
    // may look at the main frame when they go.
    m_bClosingAll = true;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        delete window;
    if (AfxGetApp() && AfxGetApp()->m_pMainWnd == this)
        AfxGetApp()->m_pMainWnd = nullptr;
}

bool CMDIFrameWnd::LoadFrame(int resourceId)
{
    m_nIDResource = resourceId;
    setWindowTitle(ResourceStringPart(resourceId, 0));
    const QIcon icon = LoadIconResource(resourceId);
    if (!icon.isNull())
        setWindowIcon(icon);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(available.width() * 3 / 4, available.height() * 3 / 4);
        move(available.center() - rect().center());
    }
    ShowMenu(resourceId);
    LoadAccelTable(resourceId);
    if (OnCreate() == -1)
        return false;
    // The bars show their real state from the first time they are seen.
    OnIdleUpdateCmdUI();
    return true;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const
{
    // The current window stays current while the frame itself is inactive.
    return dynamic_cast<CMDIChildWnd*>(m_pMdiArea->currentSubWindow());
}

bool CMDIFrameWnd::OnCmdMsg(int id, CCmdUI* ui)
{
    // While a modal dialog that is a command target is up (a transfer),
    // it comes first: the bars can show its state.  A dialog it opened in
    // turn (its settings) hands on to it.
    // Only dialogs are asked: the chain of parents ends at this frame.
    for (QWidget* modal = QApplication::activeModalWidget(); qobject_cast<QDialog*>(modal);
         modal = modal->parentWidget())
        if (auto* target = dynamic_cast<CCmdTarget*>(modal)) {
            if (target->OnCmdMsg(id, ui))
                return true;
            break;
        }
    if (CMDIChildWnd* child = MDIGetActive(); child && child->OnCmdMsg(id, ui))
        return true;
    if (CFrameWnd::OnCmdMsg(id, ui))
        return true;
    return AfxGetApp() && AfxGetApp()->OnCmdMsg(id, ui);
}

bool CMDIFrameWnd::OnCommand(int id)
{
    const bool handled = OnCmdMsg(id, nullptr);
    // The command may have changed what the bars show; the frame may be
    // closing, so the update waits for the event loop.
    UpdateCmdUISoon();
    return handled;
}

void CMDIFrameWnd::UpdateCmdUISoon()
{
    if (!m_idleTimer.isActive())
        m_idleTimer.start();
}

bool CMDIFrameWnd::eventFilter(QObject* receiver, QEvent* event)
{
    // What the user does, and what the views show, may change what the
    // bars and panes should say; nothing else does.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::Drop:
        UpdateCmdUISoon();
        break;
    case QEvent::MouseMove:
        if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton)
            UpdateCmdUISoon();
        break;
    case QEvent::Paint:
        if (dynamic_cast<CView*>(receiver) || (receiver->parent() && dynamic_cast<CView*>(receiver->parent())))
            UpdateCmdUISoon();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(receiver, event);
}

void CMDIFrameWnd::OnIdleUpdateCmdUI()
{
    CMDIChildWnd* child = MDIGetActive();
    const int menuId = child && child->GetMenuId() && FindMenuResource(child->GetMenuId()) ? child->GetMenuId()
                                                                                             : m_nIDResource;
    if (menuId != m_nCurrentMenu)
        ShowMenu(menuId);

    const QString appTitle = ResourceStringPart(m_nIDResource, 0);
    CDocument* document = child ? child->GetActiveDocument() : nullptr;
    setWindowTitle(document ? QStringLiteral("%1 - %2").arg(appTitle, document->GetTitle()) : appTitle);

    // The route starts at this frame, which hands on to the active child.
    for (const auto& [id, bar] : ControlBars()) {
        if (auto* controlBar = dynamic_cast<CControlBar*>(bar); controlBar && !bar->isHidden())
            controlBar->OnUpdateCmdUI(this);
    }
}

void CMDIFrameWnd::UpdateMenuPopup(QMenu* popup)
{
    UpdateWindowList(popup);
    // Guarded: an update handler may replace items (the recent files do).
    QList<QPointer<QAction>> actions;
    for (QAction* action : popup->actions())
        actions.append(action);
    for (const QPointer<QAction>& action : actions) {
        if (!action || action->isSeparator() || action->menu())
            continue;
        if (action->data().toInt() == 0)
            continue;
        CActionCmdUI ui(action, popup);
        DoUpdate(&ui);
    }
}

const std::vector<QMenu*>& CMDIFrameWnd::MenuPopups(int menuId)
{
    auto it = m_menus.find(menuId);
    if (it == m_menus.end())
        it = m_menus.emplace(menuId, BuildMenu(menuId)).first;
    return it->second;
}

std::vector<QMenu*> CMDIFrameWnd::BuildMenu(int menuId)
{
    std::vector<QMenu*> popups;
    const std::vector<MenuItemTemplate>* resource = FindMenuResource(menuId);
    if (!resource)
        return popups;

    // Fills menu with items; popups become submenus that update themselves
    // when they open.
    auto fill = [this](auto& self, QMenu* menu, const std::vector<MenuItemTemplate>& items) -> void {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenuPopup(menu); });
        for (const MenuItemTemplate& item : items) {
            switch (item.kind) {
            case MenuItemTemplate::Separator:
                menu->addSeparator();
                break;
            case MenuItemTemplate::Command: {
                QAction* action = menu->addAction(QString::fromUtf8(item.text));
                action->setData(item.id);
                action->setStatusTip(ResourceStringPart(item.id, 0));
                break;
            }
            case MenuItemTemplate::Popup: {
                auto* sub = new QMenu(QString::fromUtf8(item.text), menu);
                self(self, sub, item.items);
                menu->addMenu(sub);
                break;
            }
            }
        }
    };
    for (const MenuItemTemplate& item : *resource) {
        auto* popup = new QMenu(QString::fromUtf8(item.text), this);
        fill(fill, popup, item.items);
        // A popup reports the items of its submenus as well, so commands
        // are taken from the top-level popups only.
        connect(popup, &QMenu::triggered, this, [this](QAction* action) {
            if (const int id = action->data().toInt())
                OnCommand(id);
        });
        popups.push_back(popup);
    }
    return popups;
}

void CMDIFrameWnd::TrackPopupMenu(int menuId, int index, QPoint global)
{
    std::vector<QMenu*> popups = BuildMenu(menuId);
    if (index >= 0 && index < int(popups.size()))
        popups[size_t(index)]->exec(global);
    for (QMenu* popup : popups)
        delete popup;
}

void CMDIFrameWnd::ShowMenu(int menuId)
{
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* popup : MenuPopups(menuId))
        bar->addMenu(popup);
    m_nCurrentMenu = menuId;
}

void CMDIFrameWnd::LoadAccelTable(int resourceId)
{
    const std::vector<AcceleratorEntry>* table = FindAcceleratorResource(resourceId);
    if (!table)
        return;
    for (const AcceleratorEntry& entry : *table) {
        const QKeySequence key(entry.key);
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        const int id = entry.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { OnAccelerator(id); });
        m_accelerators.emplace_back(key, id);
    }
}

void CMDIFrameWnd::OnAccelerator(int id)
{
    // A key does what its menu item or button would: nothing while the
    // command is disabled.
    CCmdUI probe(id);
    DoUpdate(&probe);
    if (probe.m_enabled)
        OnCommand(id);
}

void CMDIFrameWnd::SetMessageText(const QString& text)
{
    if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR))) {
        const int pane = bar->CommandToIndex(ID_SEPARATOR);
        if (pane >= 0)
            bar->SetPaneText(pane, text);
    }
}

bool CMDIFrameWnd::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // Prompts of menu items and buttons go to the message pane, which
        // says "Ready" again when the pointer leaves them.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetMessageText(tip.isEmpty() ? LoadResourceString(AFX_IDS_IDLEMESSAGE) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMDIFrameWnd::DockControlBar(CToolBar* bar)
{
    if (!m_dockRows.empty())
        addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, bar);
    m_dockRows.push_back({bar});
}

void CMDIFrameWnd::DockControlBarRightOf(CToolBar* bar, CToolBar* leftOf)
{
    for (size_t row = 0; row < m_dockRows.size(); ++row) {
        std::vector<CToolBar*>& bars = m_dockRows[row];
        const auto it = std::find(bars.begin(), bars.end(), leftOf);
        if (it == bars.end())
            continue;
        if (it + 1 != bars.end()) {
            insertToolBar(*(it + 1), bar);
        } else if (row + 1 == m_dockRows.size()) {
            addToolBar(Qt::TopToolBarArea, bar);
        } else {
            // Last on a row that has rows below: go before the next row's
            // first bar, and move the row break to after the new bar.
            CToolBar* next = m_dockRows[row + 1].front();
            removeToolBarBreak(next);
            insertToolBar(next, bar);
            insertToolBarBreak(next);
        }
        bars.insert(it + 1, bar);
        return;
    }
    DockControlBar(bar);
}

void CMDIFrameWnd::DragAcceptFiles(bool accept)
{
    m_bAcceptFiles = accept;
    setAcceptDrops(accept);
}

void CMDIFrameWnd::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_bAcceptFiles || !event->mimeData()->hasUrls())
        return;
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void CMDIFrameWnd::dropEvent(QDropEvent* event)
{
    if (!m_bAcceptFiles || !event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && AfxGetApp())
            AfxGetApp()->OpenDocumentFile(url.toLocalFile());
}

void CMDIFrameWnd::closeEvent(QCloseEvent* event)
{
    if (BackgroundTaskCount() > 0) {
        // A file is being read for a document that is to get a window here:
        // stop the reading, then close.
        event->ignore();
        CancelBackgroundTasks([frame = QPointer<CMDIFrameWnd>(this)] {
            if (frame)
                frame->close();
        });
        return;
    }
    if (AfxGetApp() && !AfxGetApp()->SaveAllModified()) {
        event->ignore();
        return;
    }
    m_bClosingAll = true;
    m_pMdiArea->closeAllSubWindows();
    m_bClosingAll = false;
    if (!m_pMdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// ---- View menu.

void CMDIFrameWnd::OnBarCheck(int id)
{
    if (QWidget* bar = GetControlBar(id))
        bar->setVisible(bar->isHidden());
}

void CMDIFrameWnd::OnUpdateControlBarMenu(CCmdUI* ui)
{
    QWidget* bar = GetControlBar(ui->m_nID);
    ui->Enable(bar != nullptr);
    ui->SetCheck(bar && !bar->isHidden() ? 1 : 0);
}

// ---- Window menu.

void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd* active = MDIGetActive();
    CDocument* document = active ? active->GetActiveDocument() : nullptr;
    CMultiDocTemplate* docTemplate = document ? document->GetDocTemplate() : nullptr;
    if (!docTemplate)
        return;
    if (CMDIChildWnd* frame = docTemplate->CreateNewFrame(document))
        docTemplate->InitialUpdateFrame(frame, document);
}

void CMDIFrameWnd::OnUpdateWindowNew(CCmdUI* ui)
{
    CMDIChildWnd* active = MDIGetActive();
    CDocument* document = active ? active->GetActiveDocument() : nullptr;
    ui->Enable(document && document->GetDocTemplate());
}

void CMDIFrameWnd::OnMDIWindowCmd(int id)
{
    switch (id) {
    case ID_WINDOW_CASCADE:
        m_pMdiArea->cascadeSubWindows();
        break;
    case ID_WINDOW_TILE_HORZ:
        m_pMdiArea->tileSubWindows();
        break;
    case ID_WINDOW_ARRANGE:
        ArrangeIconicWindows();
        break;
    default:
        break;
    }
}

void CMDIFrameWnd::ArrangeIconicWindows()
{
    // Minimized windows in a row along the bottom, left to right.
    int x = 0;
    int y = m_pMdiArea->viewport()->height();
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > m_pMdiArea->viewport()->width()) {
            x = 0;
            y -= size.height();
        }
        window->move(x, y - size.height());
        x += size.width();
    }
}

void CMDIFrameWnd::OnActivateMDIChild(int id)
{
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList();
    const int index = id - kFirstMdiChildId;
    if (index >= 0 && index < windows.size()) {
        QMdiSubWindow* window = windows[index];
        if (window->isMinimized())
            window->showNormal();
        m_pMdiArea->setActiveSubWindow(window);
    }
}

void CMDIFrameWnd::UpdateWindowList(QMenu* popup)
{
    // The popup that holds Window > Cascade lists the document windows
    // after its own items.
    const QList<QAction*> actions = popup->actions();
    if (std::none_of(actions.begin(), actions.end(),
                     [](QAction* action) { return action->data().toInt() == ID_WINDOW_CASCADE; }))
        return;
    for (QAction* action : actions) {
        const int id = action->data().toInt();
        if (id >= kFirstMdiChildId && id < kFirstMdiChildId + kMaxMdiChildItems)
            delete action;
        else if (action->property("windowListSeparator").toBool())
            delete action;
    }
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    popup->addSeparator()->setProperty("windowListSeparator", true);
    QMdiSubWindow* current = m_pMdiArea->currentSubWindow();
    for (int i = 0; i < windows.size() && i < kMaxMdiChildItems; ++i) {
        QString title = windows[i]->windowTitle();
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action = popup->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        action->setData(kFirstMdiChildId + i);
        action->setStatusTip(QStringLiteral("激活该窗口"));
        action->setCheckable(true);
        action->setChecked(windows[i] == current);
    }
}
