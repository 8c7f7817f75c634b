// Windows that go while the analyzer measures: Settings during an RLC panel sweep, Exit during a
// sweep, and the order in which program end takes the panel and the analyzer dialog; the panel's
// workflow buttons while its sweep runs. On the simulated 2600-series analyzer.
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include "AppUiSupport.h"
#include "analyzer/engine/AnalyzerDialog.h"
#include "app/core/SettingsNames.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "app/simulator/SimulatorConnection.h"
#include "data/TalDocument.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "rlc/ui/RLCDialog.h"
#include "rlc/ui/RLCDialogTabMeasurement.h"
#include "rlc/ui/RlcControlPanel.h"
#include "views/command/CommandIds.h"

namespace names = settings_names;

namespace {

class SafeLifetimesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
        SimulatorConnection simulator(TALVERN_SIM_LIBRARY);
        ASSERT_EQ(simulator.Configure("reset;address=5;dut=R:R=100"), 0);
        m_store.WriteInt(names::kSettings, names::kGpibAddressApplication, 5);
        m_store.WriteInt(names::kSettings, names::kGpibAddressAnalyzer, 5);
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        AppTest::TearDown();
        gpib::ReleaseLibrary();
        gpib::SetLibraryPath("");
    }

    RLCDialog* OpenPanel()
    {
        m_app->MainFrame()->ExecuteCommand(cmd::RlcControlPanel);
        Pump();
        return CurrentRlcControlPanel();
    }
    AnalyzerControl* Analyzer() { return m_app->Analyzers().CurrentFamily(); }
    bool Shown(const std::string& part) const
    {
        for (const std::string& text : PromptTexts())
            if (text.find(part) != std::string::npos)
                return true;
        return false;
    }
    // Runs the event loop until done() or a few seconds.
    static bool PumpUntil(const std::function<bool()>& done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    instrument::RecordingSleeper m_sleeper;
    instrument::ScopedSleeper m_scopedSleeper{m_sleeper};
};

}  // namespace

TEST_F(SafeLifetimesTest, WorkflowButtonsWaitForThePanelsSweepAndSettingsEndsIt)
{
    RLCDialog* panel = OpenPanel();
    ASSERT_NE(panel, nullptr);
    auto* calibrate = panel->findChild<QPushButton*>("calibrate");
    auto* testComponent = panel->findChild<QPushButton*>("testComponent");
    ASSERT_NE(calibrate, nullptr);
    AnalyzerDialog* engine = Analyzer()->Engine();

    // Calibration sweeps to the end; the buttons are off meanwhile and back afterwards ("Keep
    // it" enables Test Component).
    m_prompter.threeButtonAnswers = {1, 1};
    panel->Measurement().OnCalibrate();
    EXPECT_TRUE(panel->SweepRunning());
    EXPECT_FALSE(calibrate->isEnabled());
    EXPECT_FALSE(testComponent->isEnabled());
    ASSERT_TRUE(PumpUntil([&] { return Shown("Calibration complete"); }));
    EXPECT_TRUE(calibrate->isEnabled());
    EXPECT_TRUE(testComponent->isEnabled());

    // A component sweep runs when Settings is chosen: the panel's sweep ends before the panel
    // goes, and the analyzer no longer calls it.
    ASSERT_EQ(SimulatorConnection(TALVERN_SIM_LIBRARY).Configure("time_factor=0.05"), 0);
    panel->Measurement().OnTestComponent();
    ASSERT_TRUE(panel->SweepRunning());
    EXPECT_FALSE(testComponent->isEnabled());
    // Past the settling readings: the sweep itself runs, and will call the panel at its end.
    ASSERT_TRUE(PumpUntil([&] { return engine->Callback() != nullptr && Analyzer()->IsSweeping(); }));
    ASSERT_TRUE(panel->SweepRunning());
    m_prompter.shown.clear();
    {
        ModalWatcher close([](QWidget* modal) { modal->close(); });
        m_app->MainFrame()->ExecuteCommand(cmd::Settings);
        EXPECT_TRUE(close.Fired());
    }
    EXPECT_EQ(CurrentRlcControlPanel(), nullptr);
    EXPECT_EQ(engine->Callback(), nullptr);
    EXPECT_FALSE(Analyzer()->IsBusy());
    QTest::qWait(200);
    EXPECT_FALSE(Shown("Measurement complete")) << ::testing::PrintToString(PromptTexts());
}

TEST_F(SafeLifetimesTest, ExitDuringASweepFirstAsksToStopThenAboutSaving)
{
    m_app->MainFrame()->ExecuteCommand(cmd::AnalyzerMenu);
    AnalyzerControl* analyzer = Analyzer();
    ASSERT_NE(analyzer, nullptr);
    // A sweep slow enough to be caught, into the active document, which its first reading modifies.
    ASSERT_EQ(SimulatorConnection(TALVERN_SIM_LIBRARY).Configure("time_factor=0.05"), 0);
    CTalDocument* doc = m_app->DocManager()->ActiveFrame()->Document();
    ASSERT_NE(doc, nullptr);
    // The first reading asks for the new data set's properties.
    ModalWatcher properties([](QWidget* modal) { modal->close(); });
    analyzer->Engine()->StartCallbackSweep(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return analyzer->IsSweeping() && doc->GetDataSetCount() > 0; }));

    // "No": nothing is asked about saving, and the program goes on with its sweep.
    m_prompter.shown.clear();
    m_prompter.messageAnswers = {PromptResult::No};
    EXPECT_FALSE(m_app->MainFrame()->close());
    ASSERT_EQ(PromptTexts().size(), 1u);
    EXPECT_EQ(PromptTexts()[0], "A measurement is in progress.\r\nStop it and exit?");
    EXPECT_TRUE(analyzer->IsBusy());

    // "Yes": the sweep stops first, then the save question comes (answered No: not saved).
    m_prompter.shown.clear();
    m_prompter.messageAnswers = {PromptResult::Yes, PromptResult::No};
    EXPECT_TRUE(m_app->MainFrame()->close());
    ASSERT_EQ(PromptTexts().size(), 2u) << ::testing::PrintToString(PromptTexts());
    EXPECT_EQ(PromptTexts()[0], "A measurement is in progress.\r\nStop it and exit?");
    EXPECT_NE(PromptTexts()[1].find("Save changes to"), std::string::npos);
}

TEST_F(SafeLifetimesTest, ProgramEndTakesThePanelBeforeTheAnalyzerDialog)
{
    ASSERT_NE(OpenPanel(), nullptr);
    bool panelAliveWhenDialogWent = true;
    QObject::connect(Analyzer()->Engine(), &QObject::destroyed,
                     [&] { panelAliveWhenDialogWent = CurrentRlcControlPanel() != nullptr; });
    m_app->ExitInstance();
    EXPECT_FALSE(panelAliveWhenDialogWent);
}
