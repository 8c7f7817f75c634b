#include "app/frame/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/dialogs/WindowManagerDlg.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/CommandPrompts.h"
#include "app/frame/DocManager.h"
#include "app/frame/RecentFileList.h"
#include "app/frame/SplashWnd.h"
#include "app/frame/StatusPanes.h"
#include "app/frame/ToolbarIcons.h"
#include "app/frame/WindowPlacement.h"
#include "app/platform/PrompterReporter.h"
#include "app/settings/SettingsStore.h"
#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "views/command/CommandIds.h"

namespace {

// The toolbar "Standard", 0 for a separator.
constexpr int kToolbarIds[] = {
    cmd::FileNew, cmd::FileOpen, cmd::FileSave, 0,
    cmd::EditCut, cmd::EditCopy, cmd::EditPaste, cmd::EditDelete, 0,
    cmd::FilePrint, cmd::FilePrintPreview, 0,
    cmd::AddSlideBar, cmd::ShowDataDescription, cmd::AddGraphDescription, 0,
    cmd::DoMath, cmd::ErrorAmps, cmd::AnalyzerMenu, 0,
    cmd::HelpContents,
};

// Commands with a main-window shortcut, and their keys.
const std::map<int, QList<QKeySequence>>& Shortcuts()
{
    static const std::map<int, QList<QKeySequence>> shortcuts = {
        {cmd::FileNew, {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {cmd::FileOpen, {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {cmd::FileSave, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {cmd::FilePrint, {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {cmd::EditSelectAll, {QKeySequence(Qt::CTRL | Qt::Key_A)}},
        {cmd::EditCopy, {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)}},
        {cmd::EditPaste, {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}},
        {cmd::EditCut, {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)}},
        {cmd::EditUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}},
        {cmd::Help, {QKeySequence(Qt::Key_F1)}},
        {cmd::NextPane, {QKeySequence(Qt::Key_F6)}},
        {cmd::PrevPane, {QKeySequence(Qt::SHIFT | Qt::Key_F6)}},
    };
    return shortcuts;
}

// Texts of the commands that have no menu item.
constexpr std::pair<int, const char*> kOtherCommandTexts[] = {
    {cmd::ShowDataDescription, "Show Data Description"},
    {cmd::ErrorAmps, "Error Amps and Circuits"},
    {cmd::EditUndo, "Undo"},
    {cmd::Help, "Help"},
    {cmd::NextPane, "Next Pane"},
    {cmd::PrevPane, "Previous Pane"},
};

void CollectTexts(const std::vector<MenuItem>& items, std::map<int, std::string>& texts)
{
    for (const MenuItem& item : items) {
        if (item.kind == MenuItemKind::Command)
            texts.emplace(item.id, item.text);
        else if (item.kind == MenuItemKind::Submenu)
            CollectTexts(item.children, texts);
    }
}

// The placement as stored: the outer corner of the window and its size.
WindowRect PlacementOf(const QWidget& window)
{
    const QRect normal = window.isMaximized() && window.normalGeometry().isValid() ? window.normalGeometry()
                                                                                   : window.geometry();
    const QPoint frame = window.geometry().topLeft() - window.frameGeometry().topLeft();
    const QPoint corner = normal.topLeft() - frame;
    return {corner.x(), corner.y(), corner.x() + normal.width(), corner.y() + normal.height()};
}

}  // namespace

CMainFrame::CMainFrame(Context context)
    : m_context(std::move(context)), m_area(new QMdiArea(this)), m_idleTimer(new QTimer(this))
{
    setCentralWidget(m_area);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(m_area, &QMdiArea::subWindowActivated, this, [this] { OnFramesChanged(); });
    connect(m_idleTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::LoadFrame(bool showSplash)
{
    // 2. The stored placement, clamped to the screen, unless the window opens maximized.
    if (!StoredMaximized(m_context.store)) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 600);
        const WindowRect rect = ClampWindowRect(StoredWindowRect(m_context.store), area.width(), area.height());
        move(rect.left, rect.top);  // the window's outer corner
        resize(rect.right - rect.left, rect.bottom - rect.top);
    } else {
        resize(760, 560);
    }
    // 3. The application look is the platform's own style: no command of this system changes it.

    // 4. Menu bar and toolbar.
    CreateActions();
    RebuildMenus();
    CreateToolbar();

    // 5. Status bar with the panes of the analyzer type.
    m_panes = new StatusPanes(*statusBar(), m_context.analyzerType, [this](int id) { ExecuteCommand(id); });

    // 7. Splash screen; 8. the progress bar was placed over pane 4 with the panes.
    if (showSplash)
        CSplashWnd::ShowSplashScreen(this);

    setAcceptDrops(true);
    m_idleTimer->start(kIdleUpdateMilliseconds);
}

void CMainFrame::SetDocManager(CDocManager* manager)
{
    m_docs = manager;
    OnFramesChanged();
}

void CMainFrame::CreateActions()
{
    std::map<int, std::string> texts;
    CollectTexts(ContextMenuItems(), texts);
    for (std::optional<DisplayKind> kind :
         {std::optional<DisplayKind>(), std::optional(DisplayKind::Gain), std::optional(DisplayKind::Imp),
          std::optional(DisplayKind::Text), std::optional(DisplayKind::Nyq)})
        for (const Menu& menu : MenuBarFor(kind, m_context.simulatorWindow))
            CollectTexts(menu.items, texts);
    for (const auto& [id, text] : kOtherCommandTexts)
        texts.emplace(id, text);

    for (const auto& [id, text] : texts) {
        auto* action = new QAction(QString::fromStdString(text), this);
        action->setStatusTip(QString::fromStdString(CommandStatusText(id)));
        const std::string tip = CommandToolTip(id);
        if (!tip.empty())
            action->setToolTip(QString::fromStdString(tip));
        if (const auto shortcut = Shortcuts().find(id); shortcut != Shortcuts().end()) {
            action->setShortcuts(shortcut->second);
            addAction(action);  // active whichever menus are shown
        }
        const int commandId = id;
        connect(action, &QAction::triggered, this, [this, commandId] { ExecuteCommand(commandId); });
        m_actions[id] = action;
    }
}

void CMainFrame::CreateToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Standard"));
    m_toolbar->setObjectName(QStringLiteral("Standard"));
    m_toolbar->setIconSize(QSize(24, 24));
    for (int id : kToolbarIds) {
        if (id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* action = m_actions.at(id);
        action->setIcon(ToolbarIcon(id));
        m_toolbar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolbar);
}

std::vector<int> CMainFrame::ToolbarIds() const
{
    return std::vector<int>(std::begin(kToolbarIds), std::end(kToolbarIds));
}

CChildFrame* CMainFrame::ActiveFrame() const
{
    return m_docs ? m_docs->ActiveFrame() : nullptr;
}

void CMainFrame::SetApplicationTitle(const std::string& title)
{
    m_applicationTitle = title;
    UpdateTitle();
}

void CMainFrame::UpdateTitle()
{
    QString title = QString::fromStdString(m_applicationTitle);
    if (const CChildFrame* frame = ActiveFrame())
        title += QStringLiteral(" - ") + QString::fromStdString(frame->Document()->m_title);
    setWindowTitle(title);
}

void CMainFrame::SetMessageText(const std::string& text)
{
    if (m_panes)
        m_panes->SetMessageText(text);
}

void CMainFrame::SetProgress(int percent)
{
    if (m_panes)
        m_panes->SetProgress(percent);
}

CommandRouter CMainFrame::Router() const
{
    std::vector<CommandTarget*> chain;
    if (CChildFrame* frame = ActiveFrame()) {
        chain.push_back(frame->DisplayTarget());
        chain.push_back(m_docs->DocumentTarget(frame->Document()));
        chain.push_back(frame);
    }
    chain.push_back(const_cast<CMainFrame*>(this));
    chain.push_back(m_context.application);
    return CommandRouter(std::move(chain));
}

bool CMainFrame::ExecuteCommand(int id)
{
    const bool done = Router().Execute(id);
    UpdateCommandStates();
    return done;
}

CommandUi CMainFrame::CommandState(int id) const
{
    return Router().Update(id);
}

QAction* CMainFrame::Action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::ApplyState(QAction* action, int id) const
{
    const CommandUi ui = CommandState(id);
    action->setEnabled(ui.enabled);
    action->setCheckable(ui.checkable);
    if (ui.checkable)
        action->setChecked(ui.checked);
}

void CMainFrame::UpdateCommandStates()
{
    const CommandRouter router = Router();
    for (const auto& [id, action] : m_actions) {
        const CommandUi ui = router.Update(id);
        action->setEnabled(ui.enabled);
        action->setCheckable(ui.checkable);
        if (ui.checkable)
            action->setChecked(ui.checked);
    }
}

void CMainFrame::RebuildMenus()
{
    const CChildFrame* frame = ActiveFrame();
    const std::optional<DisplayKind> kind = frame ? std::optional(frame->Kind()) : std::nullopt;
    if (m_menusBuilt && kind == m_menuKind)
        return;
    m_menusBuilt = true;
    m_menuKind = kind;
    // A menu may be the one whose item led here: the old ones go once control returns.
    for (auto& [menu, layout] : m_menus)
        menu->deleteLater();
    m_menus.clear();
    menuBar()->clear();
    for (Menu& layout : MenuBarFor(kind, m_context.simulatorWindow)) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(layout.title));
        m_menus.emplace(menu, std::move(layout));
        PopulateMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { PopulateMenu(menu); });
        connect(menu, &QMenu::aboutToHide, this, [this] {
            if (m_panes)
                m_panes->SetIdleMessage();
        });
    }
}

void CMainFrame::PopulateMenu(QMenu* menu)
{
    const auto it = m_menus.find(menu);
    if (it == m_menus.end())
        return;
    // Entries made for the menu itself (recent files, windows) go with clear(); submenus are
    // its child menus.
    for (QMenu* submenu : menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        submenu->deleteLater();
    menu->clear();
    AddMenuItems(menu, it->second.items);
}

void CMainFrame::AddMenuItems(QMenu* menu, const std::vector<MenuItem>& items)
{
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItemKind::Command:
            if (QAction* action = Action(item.id)) {
                ApplyState(action, item.id);
                menu->addAction(action);
            }
            break;
        case MenuItemKind::Separator:
            menu->addSeparator();
            break;
        case MenuItemKind::Submenu: {
            auto* submenu = new QMenu(QString::fromStdString(item.text), menu);
            AddMenuItems(submenu, item.children);
            menu->addAction(submenu->menuAction());
            break;
        }
        case MenuItemKind::RecentFiles:
            AddRecentFiles(menu);
            break;
        case MenuItemKind::WindowList:
            AddWindowList(menu);
            break;
        }
    }
}

void CMainFrame::AddRecentFiles(QMenu* menu)
{
    const std::vector<std::string> files = m_context.recentFiles ? m_context.recentFiles() : std::vector<std::string>{};
    if (files.empty()) {
        QAction* none = menu->addAction(QStringLiteral("Recent File"));
        none->setEnabled(false);
        return;
    }
    for (size_t i = 0; i < files.size() && i < CRecentFileList::kMaxEntries; ++i) {
        const int id = cmd::FileMru1 + static_cast<int>(i);
        QAction* entry = menu->addAction(QString::fromStdString(CRecentFileList::MenuText(static_cast<int>(i), files[i])));
        entry->setStatusTip(QStringLiteral("Open this document"));
        connect(entry, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    }
}

void CMainFrame::AddWindowList(QMenu* menu)
{
    if (!m_docs)
        return;
    const QList<QMdiSubWindow*> windows = m_area->subWindowList();
    std::vector<CChildFrame*> frames;
    for (QMdiSubWindow* window : windows)
        if (auto* frame = qobject_cast<CChildFrame*>(window); frame && !frame->isHidden())
            frames.push_back(frame);
    if (frames.empty())
        return;
    menu->addSeparator();
    constexpr size_t kMaxListed = 9;
    const CChildFrame* active = ActiveFrame();
    for (size_t i = 0; i < frames.size() && i < kMaxListed; ++i) {
        CChildFrame* frame = frames[i];
        QString title = frame->windowTitle();
        title.replace(u'&', QStringLiteral("&&"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setCheckable(true);
        entry->setChecked(frame == active);
        entry->setStatusTip(QStringLiteral("Activate this window"));
        connect(entry, &QAction::triggered, this, [this, frame] {
            for (QMdiSubWindow* window : m_area->subWindowList())
                if (window == frame)
                    m_area->setActiveSubWindow(frame);
        });
    }
    QAction* manager = menu->addAction(QStringLiteral("&Windows..."));
    connect(manager, &QAction::triggered, this, [this] { ExecuteCommand(cmd::WindowManager); });
}

QMenu* CMainFrame::MenuByTitle(const std::string& title) const
{
    for (const auto& [menu, layout] : m_menus)
        if (layout.title == title)
            return menu;
    return nullptr;
}

std::vector<std::string> CMainFrame::MenuTitles() const
{
    std::vector<std::string> titles;
    for (QAction* action : menuBar()->actions())
        titles.push_back(action->text().toStdString());
    return titles;
}

QMenu* CMainFrame::BuildContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const MenuItem& item : ContextMenuItems()) {
        if (item.kind == MenuItemKind::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = Action(item.id);
        ApplyState(action, item.id);
        menu->addAction(action);
    }
    return menu;
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event)
{
    BuildContextMenu()->popup(event->globalPos());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : urls)
        if (url.isLocalFile() && m_context.openFile)
            m_context.openFile(url.toLocalFile().toStdString());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Whether the program may end at all comes before the questions about saving.
    if (m_context.mayClose && !m_context.mayClose()) {
        event->ignore();
        return;
    }
    StoreWindowPlacement(m_context.store, isMaximized(), PlacementOf(*this));
    if (m_docs && (!m_docs->SaveAllModified() || !m_docs->CloseAllDocuments())) {
        event->ignore();
        return;
    }
    m_idleTimer->stop();
    event->accept();
    if (m_context.closed)
        m_context.closed();
}

void CMainFrame::OnFramesChanged()
{
    RebuildMenus();
    UpdateTitle();
    UpdateCommandStates();
}

void CMainFrame::OnAddDisplay(DisplayKind kind)
{
    CChildFrame* frame = ActiveFrame();
    CDocTemplate* docTemplate = m_context.extraTemplate ? m_context.extraTemplate(kind) : nullptr;
    if (!frame || !docTemplate || !m_docs->CreateFrame(frame->Document(), *docTemplate))
        prompter().Message("Command failed.", kApplicationCaption, PromptButtons::Ok, PromptIcon::None);
}

void CMainFrame::ArrangeIcons()
{
    // Minimized windows in a row along the bottom of the area.
    int x = 0;
    for (QMdiSubWindow* window : m_area->subWindowList()) {
        if (!window->isMinimized())
            continue;
        window->move(x, m_area->viewport()->height() - window->height());
        x += window->width();
    }
}

void CMainFrame::ShowWindowManager()
{
    CWindowManagerDlg dialog(*m_area, this);
    dialog.exec();
}

bool CMainFrame::OnCommand(int id)
{
    switch (id) {
    case cmd::AddGainDisplay:
        OnAddDisplay(DisplayKind::Gain);
        return true;
    case cmd::AddImpDisplay:
        OnAddDisplay(DisplayKind::Imp);
        return true;
    case cmd::AddNyquistDisplay:
        OnAddDisplay(DisplayKind::Nyq);
        return true;
    case cmd::AddTextDisplay:
        OnAddDisplay(DisplayKind::Text);
        return true;
    case cmd::ViewToolbar:
        m_toolbarVisible = !m_toolbarVisible;
        m_toolbar->setVisible(m_toolbarVisible);
        return true;
    case cmd::ViewStatusBar:
        m_statusBarVisible = !m_statusBarVisible;
        statusBar()->setVisible(m_statusBarVisible);
        return true;
    case cmd::WindowCascade:
        m_area->cascadeSubWindows();
        return true;
    case cmd::WindowTile:
        m_area->tileSubWindows();
        return true;
    case cmd::WindowArrange:
        ArrangeIcons();
        return true;
    case cmd::WindowManager:
        ShowWindowManager();
        return true;
    case cmd::Help:
        return m_context.application && m_context.application->OnCommand(cmd::HelpContents);
    case cmd::AppExit:
        close();
        return true;
    case cmd::ErrorAmps:
        return true;  // no part of the program acts on it
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(int id, CommandUi& ui)
{
    switch (id) {
    case cmd::AddGainDisplay:
    case cmd::AddImpDisplay:
    case cmd::AddNyquistDisplay:
    case cmd::AddTextDisplay:
    case cmd::Help:
    case cmd::AppExit:
        ui.enabled = true;
        return true;
    case cmd::WindowCascade:
    case cmd::WindowTile:
    case cmd::WindowArrange:
    case cmd::WindowManager:
    case cmd::ErrorAmps:
        ui.enabled = ActiveFrame() != nullptr;
        return true;
    case cmd::ViewToolbar:
        ui.checkable = true;
        ui.checked = m_toolbarVisible;
        return true;
    case cmd::ViewStatusBar:
        ui.checkable = true;
        ui.checked = m_statusBarVisible;
        return true;
    default:
        return false;
    }
}
