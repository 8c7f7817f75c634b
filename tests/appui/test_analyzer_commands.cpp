// The analyzer control dialog and the RLC control panel opened from the application, on the
// simulated 2600-series analyzer through the real GPIB binding.
#include <QWidget>

#include "AppUiSupport.h"
#include "app/frame/MainFrame.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "rlc/ui/RLCDialog.h"
#include "rlc/ui/RLCDialogTabMeasurement.h"
#include "rlc/ui/RlcControlPanel.h"
#include "views/command/CommandIds.h"

namespace {

class AnalyzerCommandsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    }
    void TearDown() override
    {
        AppTest::TearDown();
        gpib::ReleaseLibrary();
        gpib::SetLibraryPath("");
    }
    instrument::RecordingSleeper m_sleeper;
    instrument::ScopedSleeper m_scopedSleeper{m_sleeper};
};

}  // namespace

TEST_F(AnalyzerCommandsTest, TheDialogIsCreatedOnceAndADialogThatCannotStartGoes)
{
    ASSERT_TRUE(Start());
    ApplicationValues& values = m_app->Values();
    CMainFrame& frame = *m_app->MainFrame();

    // No analyzer answers at address 8: the dialog reports it and goes.
    frame.ExecuteCommand(cmd::AnalyzerMenu);
    EXPECT_FALSE(m_prompter.shown.empty());
    EXPECT_EQ(m_app->Analyzers().CurrentFamily(), nullptr);
    EXPECT_EQ(m_app->Analyzers().LastShown(), nullptr);

    // The simulated analyzer listens at 5.
    values.gpibAddressApplication = 5;
    values.gpibAddressAnalyzer = 5;
    m_prompter.shown.clear();
    frame.ExecuteCommand(cmd::AnalyzerMenu);
    AnalyzerControl* dialog = m_app->Analyzers().CurrentFamily();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(m_app->Analyzers().LastShown(), dialog);
    EXPECT_TRUE(dialog->Window()->isVisible());
    EXPECT_FALSE(dialog->IsSweeping());
    EXPECT_GT(values.shared.channelCount, 0);
    frame.ExecuteCommand(cmd::AnalyzerMenu);
    EXPECT_EQ(m_app->Analyzers().CurrentFamily(), dialog);  // kept, not made anew

    // The RLC panel opens over the same dialog; Settings closes it.
    frame.ExecuteCommand(cmd::RlcControlPanel);
    ASSERT_NE(CurrentRlcControlPanel(), nullptr);
    EXPECT_EQ(CurrentRlcControlPanel()->Measurement().Analyzer().Dialog(), dialog->Engine());
    {
        ModalWatcher close([](QWidget* modal) { modal->close(); });
        frame.ExecuteCommand(cmd::Settings);
        EXPECT_TRUE(close.Fired());
    }
    EXPECT_EQ(CurrentRlcControlPanel(), nullptr);
}
