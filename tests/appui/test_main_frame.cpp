// The main window: menus per display kind, toolbar, shortcuts, status prompts, placement,
// context menu and splash screen.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "AppUiSupport.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "app/frame/SplashWnd.h"
#include "app/frame/StatusPanes.h"
#include "app/frame/WindowPlacement.h"
#include "app/platform/QtPrompter.h"
#include "data/TalDocument.h"
#include "views/command/CommandIds.h"

namespace {

// The menu table: menu, item, and the columns it appears in (none, gain, imp, text, nyquist).
struct Row {
    const char* menu;
    const char* item;
    const char* columns;  // "x" or "." per column
};

const Row kMenuTable[] = {
    {"&File", "&New\tCtrl+N", "xxxxx"},
    {"&File", "&Open...\tCtrl+O", "xxxxx"},
    {"&File", "&Close", ".xxxx"},
    {"&File", "&Save\tCtrl+S", ".xxxx"},
    {"&File", "Save &As...", ".xxxx"},
    {"&File", "Copy &Graph", ".xx.x"},
    {"&File", "Save To &JPG", ".xx.x"},
    {"&File", "Export To &Matlab/Mathcad", ".xxxx"},
    {"&File", "&Import From Matlab/Mathcad", ".xxxx"},
    {"&File", "Mail &To....", ".xxxx"},
    {"&File", "&Print...\tCtrl+P", ".xxxx"},
    {"&File", "P&rint Preview", ".xxxx"},
    {"&File", "Pag&e Setup...", ".xxxx"},
    {"&File", "Recent File", "xxxxx"},
    {"&File", "E&xit", "xxxxx"},
    {"&Edit", "Cu&t\tCtrl+X", ".xxxx"},
    {"&Edit", "&Copy\tCtrl+C", ".xxxx"},
    {"&Edit", "&Paste\tCtrl+V", ".xxxx"},
    {"&Edit", "Voltage Format", ".xxxx"},
    {"&Edit", "Select &All\tCtrl+A", ".xxxx"},
    {"&Edit", "Show A&ll\tCtrl+L", ".xxxx"},
    {"&Edit", "&Hide\tCtrl+Del", ".xxxx"},
    {"&Edit", "&Delete\tDel", ".xxxx"},
    {"&View", "&Toolbars and Docking Windows", "xxxxx"},
    {"&View", "&Status Bar", "xxxxx"},
    {"&View", "Show Voltage Warnings", "xxxxx"},
    {"&View", "&Add Slide Bar\tB", ".xx.x"},
    {"&View", "Add Graph Description", ".xx.x"},
    {"&View", "&Data Set Properties...\tD", ".xx.x"},
    {"&View", "&Graph Properties...\tG", ".xx.x"},
    {"&View", "S&ettings...", "xxxxx"},
    {"&Actions", "&RLC Control Panel...", "..x.."},
    {"&Actions", "&Analyzer Control Menu...", "..x.."},
    {"&Actions", "Add Random &Data", "..x.."},
    {"&Actions", "Math Menu...", "..x.x"},
    {"&Window", "&Cascade", ".xxxx"},
    {"&Window", "&Tile", ".xxxx"},
    {"&Window", "&Arrange Icons", ".xxxx"},
    {"&Window", "Add Gain Display", "..xxx"},
    {"&Window", "Add Imp Display", ".x.xx"},
    {"&Window", "Add Nyquist Display", ".xxx."},
    {"&Window", "Add Text Display", ".xx.x"},
    {"&Help", "&Talvern Help", "xxxxx"},
    {"&Help", "Talvern &Manual", "xxxxx"},
    {"&Help", "&Matlab m-files", "xxxxx"},
    {"&Help", "&About Talvern RLC...", "xxxxx"},
};

// Item texts of a menu as shown, without separators and the window list.
std::vector<std::string> ShownItems(CMainFrame& frame, QMenu* menu)
{
    frame.PopulateMenu(menu);
    std::vector<std::string> items;
    for (QAction* action : menu->actions()) {
        const std::string text = action->text().toStdString();
        if (action->isSeparator() || text == "&Windows..." || (text.size() > 2 && text[0] == '&' && isdigit(text[1])))
            continue;
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> SubmenuItems(QMenu* menu, const char* title)
{
    std::vector<std::string> items;
    for (QAction* action : menu->actions())
        if (action->text() == QLatin1String(title) && action->menu())
            for (QAction* item : action->menu()->actions())
                items.push_back(item->text().toStdString());
    return items;
}

}  // namespace

TEST_F(AppTest, TheMenuBarFollowsTheKindOfTheActiveDisplay)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    CDocManager& docs = *m_app->DocManager();
    // Column 0 is "no document"; templates 0 to 3 are Gain, Imp, Text, Nyquist.
    const int templateOfColumn[] = {-1, 0, 1, 2, 3};
    for (int column : {1, 2, 3, 4, 0}) {
        SCOPED_TRACE(column);
        if (column == 0) {
            ASSERT_TRUE(docs.CloseAllDocuments());
            Pump();
        } else {
            docs.OpenNewDocument(*docs.Template(templateOfColumn[column]));
        }
        std::vector<std::string> expectedTitles;
        std::map<std::string, std::vector<std::string>> expected;
        for (const Row& row : kMenuTable) {
            if (row.columns[column] != 'x')
                continue;
            if (expected.find(row.menu) == expected.end())
                expectedTitles.push_back(row.menu);
            expected[row.menu].push_back(row.item);
        }
        EXPECT_EQ(frame.MenuTitles(), expectedTitles);
        for (const std::string& title : expectedTitles) {
            QMenu* menu = frame.MenuByTitle(title);
            ASSERT_NE(menu, nullptr) << title;
            EXPECT_EQ(ShownItems(frame, menu), expected[title]) << title;
        }
        QMenu* view = frame.MenuByTitle("&View");
        EXPECT_EQ(SubmenuItems(view, "Show Voltage Warnings"),
                  (std::vector<std::string>{"Input 15 Vpk Max", "Output 5 Vpk Max"}));
        EXPECT_EQ(SubmenuItems(view, "&Toolbars and Docking Windows"), std::vector<std::string>{"Standard"});
        if (column != 0) {
            std::vector<std::string> windowList;
            for (QAction* action : frame.MenuByTitle("&Window")->actions())
                windowList.push_back(action->text().toStdString());
            EXPECT_EQ(windowList.back(), "&Windows...");
        }
    }
}

TEST_F(AppTest, ToolbarShortcutsAndPromptsOfTheCommands)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    EXPECT_EQ(frame.Toolbar()->windowTitle().toStdString(), "Standard");
    std::vector<std::string> tips;
    for (QAction* action : frame.Toolbar()->actions())
        tips.push_back(action->isSeparator() ? "|" : action->toolTip().toStdString());
    EXPECT_EQ(tips, (std::vector<std::string>{"New", "Open", "Save", "|", "Cut", "Copy", "Paste", "Delete", "|",
                                              "Print", "Print Preview", "|", "Add Slide Bar", "Show Data Description",
                                              "Add Text to Graph", "|", "Do Math On Data", "Error Amps and Circuits",
                                              "Analyzer Menu", "|", "Help Contents"}));

    EXPECT_EQ(frame.Action(cmd::EditCopy)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)}));
    EXPECT_EQ(frame.Action(cmd::EditCut)->shortcuts().size(), 2);
    EXPECT_TRUE(frame.Action(cmd::ShowAll)->shortcuts().isEmpty());  // the display's own key
    EXPECT_EQ(frame.Action(cmd::Help)->shortcut(), QKeySequence(Qt::Key_F1));

    // A highlighted command shows the text before "\n" of its prompt; none for no prompt.
    frame.Action(cmd::FileNew)->showStatusText(&frame);
    EXPECT_EQ(frame.Panes().MessageText(), "Create a new document");
    frame.Action(cmd::Settings)->showStatusText(&frame);
    EXPECT_EQ(frame.Panes().MessageText(), "Show the Settings Dialog");
    frame.SetMessageText("Invalid GPIB address value");
    EXPECT_EQ(frame.Panes().MessageText(), "Invalid GPIB address value");

    // Enabling follows the active display; the toolbar toggles with a check mark.
    EXPECT_TRUE(frame.CommandState(cmd::AnalyzerMenu).enabled);
    EXPECT_TRUE(frame.CommandState(cmd::ErrorAmps).enabled);
    EXPECT_FALSE(frame.CommandState(cmd::EditUndo).enabled);
    EXPECT_TRUE(frame.CommandState(cmd::ViewToolbar).checked);
    frame.ExecuteCommand(cmd::ViewToolbar);
    EXPECT_FALSE(frame.CommandState(cmd::ViewToolbar).checked);
    EXPECT_TRUE(frame.Toolbar()->isHidden());
    ASSERT_TRUE(m_app->DocManager()->CloseAllDocuments());
    Pump();
    for (int id : {cmd::AnalyzerMenu, cmd::RlcControlPanel, cmd::FilePageSetup, cmd::ErrorAmps, cmd::FileSave})
        EXPECT_FALSE(frame.CommandState(id).enabled) << id;
    EXPECT_FALSE(frame.Action(cmd::FileSave)->isEnabled());
}

TEST_F(AppTest, AddDisplayWithoutADocumentFailsAndTheContextMenuListsItsCommands)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    QMenu* context = frame.BuildContextMenu();
    std::vector<std::string> items;
    for (QAction* action : context->actions())
        items.push_back(action->isSeparator() ? "|" : action->text().toStdString());
    EXPECT_EQ(items, (std::vector<std::string>{"Show A&ll\tCtrl+L", "Select &All\tCtrl+A", "&Copy\tCtrl+C",
                                               "&Paste\tCtrl+V", "&Hide\tCtrl+Del", "|", "&Delete\tDel"}));
    delete context;

    ASSERT_TRUE(m_app->DocManager()->CloseAllDocuments());
    Pump();
    m_prompter.shown.clear();
    frame.OnCommand(cmd::AddImpDisplay);
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{"Command failed."});
}

TEST(StatusPanes, TheLockPanesFollowTheLockKeysWhenOneIsPressedOrTheProgramIsActivated)
{
    QStatusBar bar;
    LockKeys keys;
    StatusPanes panes(bar, 10, {}, [&keys] { return keys; });
    auto texts = [&panes] {
        std::string shown;
        for (int i : {3, 4, 5})  // caps, num and scroll lock after the two limit panes
            shown += "[" + panes.Pane(i)->text().toStdString() + "]";
        return shown;
    };
    EXPECT_EQ(texts(), "[][][]");

    keys = {true, false, true};
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&bar, &other);
    EXPECT_EQ(texts(), "[][][]");  // only the lock keys look again
    QKeyEvent caps(QEvent::KeyRelease, Qt::Key_CapsLock, Qt::NoModifier);
    QApplication::sendEvent(&bar, &caps);
    EXPECT_EQ(texts(), "[CAP][][SCRL]");

    keys = {false, true, false};
    QApplicationStateChangeEvent active(Qt::ApplicationActive);
    QApplication::sendEvent(qApp, &active);
    EXPECT_EQ(texts(), "[][NUM][]");
}

TEST(WindowPlacement, TheStoredRectangleIsClampedToTheScreen)
{
    struct Case {
        WindowRect stored;
        int width, height;
        WindowRect expected;
    };
    const Case cases[] = {
        {{5000, -10, 10, 20}, 1920, 1080, {960, 0, 1360, 400}},
        {{20, 20, 780, 580}, 1920, 1080, {20, 20, 780, 580}},
        {{300, 10, 900, 900}, 600, 500, {300, 10, 700, 500}},  // the lower bound wins
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampWindowRect(c.stored, c.width, c.height), c.expected);
}

TEST_F(AppTest, TheWindowOpensWhereItWasAndClosingStoresItsPlacement)
{
    m_store.WriteInt("Settings", "Maximized", 0);
    const WindowRect stored{5000, -10, 10, 20};
    StoreWindowPlacement(m_store, false, stored);
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const WindowRect expected = ClampWindowRect(stored, screen.width(), screen.height());
    EXPECT_FALSE(frame.isMaximized());
    EXPECT_EQ(frame.frameGeometry().topLeft(), QPoint(expected.left, expected.top));
    EXPECT_EQ(frame.size(), QSize(expected.right - expected.left, expected.bottom - expected.top));

    frame.move(40, 30);
    frame.resize(500, 450);
    bool closed = false;
    m_app->onMainWindowClosed = [&closed] { closed = true; };
    frame.ExecuteCommand(cmd::AppExit);
    EXPECT_TRUE(closed);
    EXPECT_EQ(StoredWindowRect(m_store), (WindowRect{40, 30, 540, 480}));
    EXPECT_FALSE(StoredMaximized(m_store));
}

TEST_F(AppTest, AKeyPressDuringTheSplashScreenOnlyClosesIt)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    const size_t documents = m_app->DocManager()->Documents().size();
    CSplashWnd::ShowSplashScreen(&frame);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(CSplashWnd::Current()->size(), QSize(468, 481));
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(m_app->DocManager()->Documents().size(), documents);
    // Without the splash the same key makes a new document.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(m_app->DocManager()->Documents().size(), documents + 1);
}

TEST_F(AppTest, APromptShownOverTheSplashOutlivesItAndTakesItsInput)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    QtPrompter prompter;
    const auto showSplash = [&frame] {
        CSplashWnd::ShowSplashScreen(&frame);
        ASSERT_NE(CSplashWnd::Current(), nullptr);
        CSplashWnd::Current()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(CSplashWnd::Current()));
    };

    // The splash closes itself (as after its 3 s) while the prompt is up: the prompt stays.
    showSplash();
    QWidget* owner = nullptr;
    {
        ModalWatcher watcher([&owner](QWidget* box) {
            owner = box->parentWidget();
            CSplashWnd::HideSplashScreen();
            Pump();
            ASSERT_EQ(QApplication::activeModalWidget(), box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(prompter.Message("Error reading preferences file.", "Talvern", PromptButtons::Ok,
                                   PromptIcon::None),
                  PromptResult::Ok);
        EXPECT_TRUE(watcher.Fired());
    }
    EXPECT_EQ(owner, &frame);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);

    // A key pressed in the prompt closes the splash and still answers the prompt.
    showSplash();
    ModalWatcher watcher([](QWidget* box) {
        QTest::keyClick(box, Qt::Key_Return);
        if (QApplication::activeModalWidget() == box)
            QTest::keyClick(box, Qt::Key_Escape);  // the key was swallowed
    });
    EXPECT_EQ(prompter.Message("Open it?", "Talvern", PromptButtons::YesNo, PromptIcon::Question),
              PromptResult::Yes);
    Pump();
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

TEST_F(AppTest, AMaximizedWindowStoresMaximizedAndItsRestoredRectangle)
{
    m_store.WriteInt("Settings", "Maximized", 0);
    StoreWindowPlacement(m_store, false, WindowRect{30, 40, 530, 490});
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    frame.showMaximized();
    Pump();
    ASSERT_TRUE(frame.isMaximized());
    frame.close();
    EXPECT_TRUE(StoredMaximized(m_store));
    EXPECT_EQ(StoredWindowRect(m_store), (WindowRect{30, 40, 530, 490}));
}
