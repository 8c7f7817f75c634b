// What the application answers beyond its own menus: the "Simulated Instrument" window that the
// View menu brings back with --simulate, and the displays' requests for a further window and
// for the page setup that printing reads.
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>

#include "AppUiSupport.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "analyzer/engine/AnalyzerDialog.h"
#include "app/core/SettingsNames.h"
#include "app/simulator/SimulatorConnection.h"
#include "app/simulator/SimulatorWindow.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "views/command/CommandIds.h"
#include "data/TalDocument.h"
#include "views/base/TalView.h"
#include "views/base/ViewHooks.h"
#include "views/base/ViewPrinting.h"

namespace {

bool ViewMenuHas(CMainFrame& frame, const QString& text)
{
    QMenu* view = frame.MenuByTitle("&View");
    if (!view)
        return false;
    emit view->aboutToShow();
    for (const QAction* action : view->actions())
        if (action->text() == text)
            return true;
    return false;
}

const QString kSimulatorItem = QStringLiteral("Simulated &Instrument");

}  // namespace

TEST_F(AppTest, ViewMenuShowsTheClosedSimulatedInstrumentWindowAgain)
{
    ASSERT_TRUE(Start({"--simulate"}));
    CMainFrame& frame = *m_app->MainFrame();
    SimulatorWindow* window = m_app->Simulator();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ViewMenuHas(frame, kSimulatorItem));
    window->close();
    Pump();
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(frame.CommandState(kShowSimulatorWindow).enabled);
    frame.Action(kShowSimulatorWindow)->trigger();
    Pump();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(m_app->Simulator(), window) << "the same window, with the user's choice in it";

    // The item is there with no document open as well.
    m_app->DocManager()->CloseDocument(m_app->DocManager()->Documents().front());
    Pump();
    EXPECT_TRUE(ViewMenuHas(frame, kSimulatorItem));
}

TEST_F(AppTest, WithoutTheSimulatorThereIsNoSimulatedInstrumentItem)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"--simulate", "--gpib-library", "/nonexistent/gpib.so"}}) {
        ASSERT_TRUE(Start(arguments));
        EXPECT_EQ(m_app->Simulator(), nullptr);
        EXPECT_FALSE(ViewMenuHas(*m_app->MainFrame(), kSimulatorItem));
        EXPECT_FALSE(m_app->MainFrame()->CommandState(kShowSimulatorWindow).enabled);
        m_app->ExitInstance();
        m_app.reset();
        Pump();
    }
}

TEST_F(AppTest, SimulateStartsTheAnalyzerWhereTheSettingsSayItIs)
{
    // The program's settings, not the simulator's own defaults (the 2600 series at address 5).
    gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    instrument::RecordingSleeper sleeper;
    instrument::ScopedSleeper useSleeper(sleeper);
    namespace names = settings_names;
    m_store.WriteInt(names::kSettings, names::kGpibAddressApplication, 12);
    m_store.WriteInt(names::kSettings, names::kGpibAddressAnalyzer, 12);
    m_store.WriteInt(names::kSettings, names::kSerialNumber, 77);
    for (const char* type : {"/t:RLC1370", "/t:RLC1960", "/t:RLC1852", "/t:RLC880"}) {
        ASSERT_EQ(SimulatorConnection(TALVERN_SIM_LIBRARY).Configure("reset;time_factor=0"), 0);
        ASSERT_TRUE(Start({type, "--simulate"}));
        m_prompter.shown.clear();
        m_app->MainFrame()->ExecuteCommand(cmd::AnalyzerMenu);
        AnalyzerControl* dialog = m_app->Analyzers().CurrentFamily();
        ASSERT_NE(dialog, nullptr) << type << ::testing::PrintToString(PromptTexts());
        CTalDocument* doc = m_app->DocManager()->ActiveFrame()->Document();
        dialog->Engine()->SetSweepRange(100, 1000);
        // The first reading asks for the new data set's properties.
        ModalWatcher properties([](QWidget* modal) { modal->close(); });
        dialog->Engine()->StartCallbackSweep(nullptr);
        QElapsedTimer timer;
        timer.start();
        while (dialog->IsBusy() && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_TRUE(m_prompter.shown.empty()) << type << ::testing::PrintToString(PromptTexts());
        ASSERT_EQ(doc->GetDataSetCount(), 1) << type;
        EXPECT_GT(doc->GetPointCount(0), 1) << type;
        m_app->ExitInstance();
        m_app.reset();
        Pump();
    }
    gpib::ReleaseLibrary();
    gpib::SetLibraryPath("");
}

TEST_F(AppTest, DisplaysOpenFurtherWindowsAndPrintWithTheStoredPageSetup)
{
    ASSERT_TRUE(Start());
    CChildFrame* first = m_app->DocManager()->ActiveFrame();
    ASSERT_NE(first, nullptr);
    CTalDocument* doc = first->Document();
    auto* view = qobject_cast<CTalView*>(first->Display());
    ASSERT_NE(view, nullptr);

    // A further window of the same kind on the same document (the transfer function's).
    CTalView* opened = OpenNewDisplayWindow(doc, view);
    ASSERT_NE(opened, nullptr);
    EXPECT_NE(opened, view);
    ASSERT_EQ(m_app->DocManager()->Frames(doc).size(), 2u);
    EXPECT_EQ(m_app->DocManager()->Frames(doc).back()->Kind(), first->Kind());
    CTalDocument stranger;
    EXPECT_EQ(OpenNewDisplayWindow(&stranger, view), nullptr) << "only documents the program holds";

    // Printing reads the page setup as it is at the time, a Page Setup made meanwhile included.
    PageSetup& page = m_app->Values().page;
    page.marginLeft = 2500;
    page.marginTop = 1200;
    page.marginRight = 600;
    page.marginBottom = 1800;
    page.minMarginLeft = 100;
    page.orientation = 1;
    const PageMargins margins = CurrentPageSetup();
    EXPECT_EQ(margins.marginLeft, 2500);
    EXPECT_EQ(margins.marginTop, 1200);
    EXPECT_EQ(margins.marginRight, 600);
    EXPECT_EQ(margins.marginBottom, 1800);
    EXPECT_EQ(margins.minLeft, 100);
    EXPECT_EQ(margins.minTop, 250);
    EXPECT_EQ(margins.orientation, 1);
    // A 10 x 8 inch printable area at 100 dpi: 2.5 inches less the printer's 0.1 at the left.
    PrintArea area;
    area.right = 1000;
    area.bottom = 800;
    area.widthMM = 254;
    area.heightMM = 203;
    EXPECT_NEAR(PrintViewport(area, margins).left(), 240, 1);

    // Program end takes the answers away again.
    m_app->ExitInstance();
    EXPECT_EQ(CurrentPageSetup().marginLeft, 1000);
}
