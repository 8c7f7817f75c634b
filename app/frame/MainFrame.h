#pragma once
// CMainFrame: the main window. It holds the document windows (an MDI area), the menu bar of the
// active display's kind, the toolbar "Standard", the status bar with its panes and the sweep
// progress bar, the context menu and the commands that add further displays of a document. It
// routes every command from the active display to its document, its frame, itself and the
// application, and updates enabling and check marks the same way: menus when they open, the
// toolbar (and the shortcuts) from a short idle timer.
#include <QMainWindow>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/frame/CommandRouter.h"
#include "app/frame/MenuLayout.h"
#include "data/DocumentView.h"
#include "views/command/CommandTarget.h"

class CChildFrame;
class CDocManager;
class CDocTemplate;
class QMdiArea;
class QTimer;
class QToolBar;
class SettingsStore;
class StatusPanes;

class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT

public:
    struct Context {
        SettingsStore& store;
        int analyzerType;
        CommandTarget* application;
        std::function<CDocTemplate*(DisplayKind)> extraTemplate;  // Add Display commands
        std::function<std::vector<std::string>()> recentFiles;
        std::function<void(const std::string&)> openFile;  // files dropped on the window
        std::function<void()> closed;                      // the window has closed for good
        // Asked first when the window is to close; false keeps it open (a sweep goes on).
        std::function<bool()> mayClose;
        bool simulatorWindow = false;                      // the View menu shows it again
    };

    static constexpr int kIdleUpdateMilliseconds = 250;

    explicit CMainFrame(Context context);
    ~CMainFrame() override;

    // The creation sequence: placement, menus, toolbar, status bar, splash, progress bar.
    void LoadFrame(bool showSplash);
    void SetDocManager(CDocManager* manager);
    // Windows opened, closed or activated: the menus, the title and the states follow.
    void OnFramesChanged();

    QMdiArea* MdiArea() const { return m_area; }
    StatusPanes& Panes() const { return *m_panes; }
    QToolBar* Toolbar() const { return m_toolbar; }
    CChildFrame* ActiveFrame() const;

    // The application's title; the active document's name follows it.
    void SetApplicationTitle(const std::string& title);
    void UpdateTitle();
    void SetMessageText(const std::string& text);
    // The progress bar over pane 4, 0 to 100 (the sweep engine feeds it).
    void SetProgress(int percent);

    // Routing.
    CommandRouter Router() const;
    bool ExecuteCommand(int id);
    CommandUi CommandState(int id) const;
    QAction* Action(int id) const;
    // Updates enabling and check marks of every command with an action.
    void UpdateCommandStates();

    // The menu bar follows the active display's kind.
    std::optional<DisplayKind> MenuKind() const { return m_menuKind; }
    void RebuildMenus();
    // Fills a menu of the bar as it is shown (recent files, window list, states).
    void PopulateMenu(QMenu* menu);
    QMenu* MenuByTitle(const std::string& title) const;
    std::vector<std::string> MenuTitles() const;
    // The toolbar's command ids in order, 0 for a separator.
    std::vector<int> ToolbarIds() const;
    // The context menu of a right click, filled (contextMenuEvent shows it).
    QMenu* BuildContextMenu();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateToolbar();
    void AddMenuItems(QMenu* menu, const std::vector<MenuItem>& items);
    void AddWindowList(QMenu* menu);
    void AddRecentFiles(QMenu* menu);
    void ApplyState(QAction* action, int id) const;
    void OnAddDisplay(DisplayKind kind);
    void ArrangeIcons();
    void ShowWindowManager();

    Context m_context;
    CDocManager* m_docs = nullptr;
    QMdiArea* m_area;
    QToolBar* m_toolbar = nullptr;
    StatusPanes* m_panes = nullptr;
    QTimer* m_idleTimer;
    std::map<int, QAction*> m_actions;
    std::map<QMenu*, Menu> m_menus;
    std::optional<DisplayKind> m_menuKind;
    bool m_menusBuilt = false;
    bool m_toolbarVisible = true;
    bool m_statusBarVisible = true;
    std::string m_applicationTitle;
};
