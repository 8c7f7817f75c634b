#pragma once
// The RLC panel suite's fixture: the simulated 2600-series analyzer loaded through the real
// bindings and opened by the real engine, impedance displays on documents standing in for the
// main window's child windows, a prompter that plays the user (it switches the simulator's
// fixture when asked to open, short or fill it), and the panel created as the application does.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "app/core/ApplicationValues.h"
#include "app/core/RlcPanelBinding.h"
#include "app/settings/MemorySettingsStore.h"
#include "data/ScriptedPrompter.h"
#include "data/TalDocument.h"
#include "instrument/Sleeper.h"
#include "rlc/ui/RLCDialog.h"
#include "views/imp/TalViewImp.h"

namespace rlcuitest {

// Pumps the event loop until done() holds; false after a generous limit.
bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60));

// With TALVERN_RLCUI_SCREENSHOTS naming a folder, saves the widget there as <name>.png, for
// looking at the panel; otherwise does nothing.
void SaveScreenshot(QWidget& widget, const std::string& name);

// talsim_configure of the simulator the bindings use; 0 when accepted.
int ConfigureSimulator(const char* text);
inline int ConfigureSimulator(const std::string& text) { return ConfigureSimulator(text.c_str()); }

// The user at the fixture: answers like a ScriptedPrompter and, when a message asks for the
// circuit to be opened, closed or filled, sets the simulator's fixture accordingly first.
class FixturePrompter : public ScriptedPrompter {
public:
    PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                         PromptIcon icon) override;
    bool Saw(const std::string& text) const;
    std::string Texts() const;
};

class NoSleep final : public instrument::Sleeper {
public:
    void SleepFor(std::chrono::milliseconds) override {}
};

// A document in its impedance display, as a child window holds them.
struct DisplayWindow {
    std::unique_ptr<CTalDocument> document;
    std::unique_ptr<CTalViewImp> view;
};

class RlcPanelFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The simulator at its defaults with readings ready at once, then `config`.
    void ResetSimulator(const std::string& config);
    // Opens the analyzer as the application does before it creates the panel.
    void OpenAnalyzer();
    RLCDialog& OpenPanel();
    RlcPanelContext Context();

    CTalViewImp* ActiveView() { return m_windows.empty() ? nullptr : m_windows.back().view.get(); }
    CTalDocument* ActiveDocument() { return ActiveView() ? ActiveView()->GetDocument() : nullptr; }
    CTalViewImp* OpenDisplay();
    void CloseDocument(CTalDocument* document);

    // The calibration and a component measurement named `name`, answered Continue and Keep it;
    // false when a step did not finish.
    bool Calibrate();
    bool TestComponent(const std::string& name);

    FixturePrompter prompter;
    NoSleep noSleep;
    instrument::ScopedSleeper useSleeper{noSleep};
    ApplicationValues values;
    MemorySettingsStore store;
    StoreRlcSettings rlcSettings{store};
    BasicAnalyzerHost host;
    std::vector<DisplayWindow> m_windows;
    std::unique_ptr<Analyzer2600Engine> engine;
    std::unique_ptr<RLCDialog> panel;
    std::vector<std::string> statusMessages;
    std::string commLog;
};

}  // namespace rlcuitest
