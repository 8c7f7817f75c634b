// The analyzer control dialog and the RLC control panel opened from the application, on the
// simulated 2600-series analyzer through the real GPIB binding.
#include <QPointer>
#include <QTest>
#include <QWidget>

#include "AppUiSupport.h"
#include <dlfcn.h>

#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "app/dialogs/SettingsDlg.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "rlc/ui/RLCDialog.h"
#include "rlc/ui/RLCDialogTabMeasurement.h"
#include "rlc/ui/RlcControlPanel.h"
#include "views/base/TalView.h"
#include "views/base/ViewHooks.h"
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

namespace {

// Configures the simulator the GPIB binding loads.
bool ConfigureSim(const char* text)
{
    void* library = dlopen(TALVERN_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    auto configure = library ? reinterpret_cast<int (*)(const char*)>(dlsym(library, "talsim_configure")) : nullptr;
    const bool accepted = configure && configure(text) == 0;
    if (library)
        dlclose(library);
    return accepted;
}

}  // namespace

TEST_F(AnalyzerCommandsTest, FindAddressTellsTheOpenAnalyzerDialogToLetTheOldAddressGo)
{
    ASSERT_TRUE(Start());
    ApplicationValues& values = m_app->Values();
    values.gpibAddressApplication = 5;
    values.gpibAddressAnalyzer = 5;
    CMainFrame& frame = *m_app->MainFrame();
    frame.ExecuteCommand(cmd::AnalyzerMenu);
    AnalyzerControl* dialog = m_app->Analyzers().CurrentFamily();
    ASSERT_NE(dialog, nullptr);
    auto* engine = dynamic_cast<Analyzer2600Engine*>(dialog->Engine());
    ASSERT_NE(engine, nullptr);
    ASSERT_TRUE(engine->Initialized());

    // The analyzer now answers at 9; the Settings dialog's bus search finds it there.
    ASSERT_TRUE(ConfigureSim("address=9"));
    {
        ModalWatcher search([](QWidget* modal) {
            if (auto* settings = dynamic_cast<CSettingsDlg*>(modal))
                settings->OnFindAddress();
            modal->close();
        });
        frame.ExecuteCommand(cmd::Settings);
        EXPECT_TRUE(search.Fired());
    }
    EXPECT_EQ(values.gpibAddressAnalyzer, 9);
    EXPECT_FALSE(engine->Initialized());  // the next measurement opens address 9
    EXPECT_EQ(engine->Connection().device, -1);
    ASSERT_TRUE(ConfigureSim("reset"));
}

TEST_F(AnalyzerCommandsTest, TheRlcPanelReplacingTheStartUpDocumentKeepsItsAnalyzerDialog)
{
    // Opened first, the panel closes the empty start-up document for a fresh impedance one; the
    // analyzer dialog it drives must outlive the closed display.
    ASSERT_TRUE(Start());
    ApplicationValues& values = m_app->Values();
    values.gpibAddressApplication = 5;
    values.gpibAddressAnalyzer = 5;
    CMainFrame& frame = *m_app->MainFrame();
    const QPointer<CChildFrame> startUp = m_app->DocManager()->ActiveFrame();
    ASSERT_FALSE(startUp.isNull());
    frame.ExecuteCommand(cmd::RlcControlPanel);
    Pump();
    ASSERT_NE(CurrentRlcControlPanel(), nullptr);
    EXPECT_TRUE(startUp.isNull());
    AnalyzerControl* dialog = m_app->Analyzers().CurrentFamily();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CurrentRlcControlPanel()->Measurement().Analyzer().Dialog(), dialog->Engine());
    EXPECT_EQ(dialog->Window()->parentWidget(), &frame);
}

TEST_F(AnalyzerCommandsTest, DisplayKeysGoToTheShownAnalyzerDialogElseMoveTheSelection)
{
    ASSERT_TRUE(Start());
    m_app->Values().analyzerType = 6;  // the 1960 opens no connection until it measures
    CMainFrame& frame = *m_app->MainFrame();
    frame.ExecuteCommand(cmd::AnalyzerMenu);
    AnalyzerControl* dialog = m_app->Analyzers().CurrentFamily();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->Window()->isVisible());
    auto* engine = dynamic_cast<Analyzer1960Engine*>(dialog->Engine());
    ASSERT_NE(engine, nullptr);

    const std::string path = TempPath("keys.tal");
    WriteDocument(path, DisplayKind::Gain, 3);
    CChildFrame* child = m_app->OpenDocumentFile(path);
    ASSERT_NE(child, nullptr);
    auto* view = qobject_cast<CTalView*>(child->Display());
    ASSERT_NE(view, nullptr);
    for (auto& attrib : view->Fields().attribs)
        attrib.selected = false;
    view->Fields().attribs[0].selected = true;

    // Shown: Page Up raises DC Volts Out by 0.01 V, Up scales AC Volts Out by the 10 dB step.
    QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_DOUBLE_EQ(engine->Fields().dcVoltsOut, 0.01);
    const double ac = engine->Fields().acVoltsOut;
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_NEAR(engine->Fields().acVoltsOut, ac * std::pow(10.0, 0.5), 0.01);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_TRUE(view->Fields().attribs[0].selected);  // the dialog took Down

    // Hidden: Down moves the display's selection and the dialog's fields stay.
    dialog->Window()->hide();
    const double dc = engine->Fields().dcVoltsOut;
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_FALSE(view->Fields().attribs[0].selected);
    EXPECT_TRUE(view->Fields().attribs[1].selected);
    EXPECT_FALSE(ForwardKeyToAnalyzer(Qt::Key_Up));
    EXPECT_DOUBLE_EQ(engine->Fields().dcVoltsOut, dc);
}
