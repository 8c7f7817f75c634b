#pragma once
// The engine suite's fixture: the simulator loaded through the real bindings, a scripted prompter,
// recorded waits, a document with its sweep target, and a Qt event loop pumped while waiting.

#include <QCoreApplication>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "analyzer/engine/SweepStepObserver.h"
#include "analyzer/target/SweepTarget.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "data/TalDocument.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"

namespace enginetest {

// Pumps the event loop until done() holds or a generous limit passes; false on the limit.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// Runs whatever is queued now (posted messages) without waiting for more.
inline void PumpPending()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A prompter whose message boxes, like modal ones, run the events posted meanwhile while shown.
class ModalPrompter final : public ScriptedPrompter {
public:
    PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                         PromptIcon icon) override
    {
        const PromptResult result = ScriptedPrompter::Message(text, caption, buttons, icon);
        PumpPending();
        return result;
    }
};

// A sleeper that records waits and runs a test's action at a chosen one.
class HookSleeper final : public instrument::Sleeper {
public:
    void SleepFor(std::chrono::milliseconds duration) override
    {
        recorded.push_back(duration.count());
        if (onSleep)
            onSleep(duration.count());
    }
    std::vector<long long> recorded;
    std::function<void(long long)> onSleep;
};

// Runs an action after a given number of readings reached the target.
class AfterReadings final : public SweepStepObserver {
public:
    AfterReadings(int count, std::function<void()> action) : count_(count), action_(std::move(action)) {}
    void OnReadingAccepted(double) override
    {
        if (--count_ == 0)
            action_();
    }

private:
    int count_;
    std::function<void()> action_;
};

class EngineFixture : public testing::Test {
protected:
    void SetUp() override
    {
        simHandle_ = dlopen(TALVERN_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(simHandle_, nullptr) << dlerror();
        ASSERT_TRUE(ConfigureSim(""));
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
        visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
        appData() = ApplicationData{};
        SetPrompter(&prompter);
        host.activeDisplay = &target;
    }

    void TearDown() override
    {
        engine.reset();
        PumpPending();
        gpib::SetLibraryPath("");
        visa::SetLibraryPath("");
        SetPrompter(nullptr);
        if (simHandle_)
            dlclose(simHandle_);
    }

    // Every test starts from the simulator's defaults, readings ready at once.
    bool ConfigureSim(const std::string& text)
    {
        auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(simHandle_, "talsim_configure"));
        return configure && configure(("reset;family=2600;time_factor=0;tmo_factor=0;noise=0;" + text).c_str()) == 0;
    }
    // Changes the simulator without resetting it.
    bool ChangeSim(const std::string& text)
    {
        auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(simHandle_, "talsim_configure"));
        return configure && configure(text.c_str()) == 0;
    }

    Analyzer2600Engine& MakeEngine(bool usb)
    {
        host.interfaceIndex = usb ? 4 : 0;
        engine = std::make_unique<Analyzer2600Engine>(host);
        QObject::connect(engine.get(), &Analyzer2600Engine::CommLogAppended,
                         [this](const std::string& text, bool) { fullLog += text; });
        QObject::connect(engine.get(), &AnalyzerDialog::SweepComplete, [this](int code) { completions.push_back(code); });
        return *engine;
    }

    // Opens the analyzer as the application does, failing the test on an error.
    Analyzer2600Engine& StartEngine(bool usb, const std::string& preferenceBlock = "")
    {
        Analyzer2600Engine& e = MakeEngine(usb);
        EXPECT_TRUE(e.InitDialogStage2(preferenceBlock)) << fullLog << Shown();
        return e;
    }

    // Runs a sweep to its end; false if it did not end.
    bool RunSweep()
    {
        const size_t before = completions.size();
        engine->OnButtonRunSweep();
        return PumpUntil([&] { return completions.size() > before && !engine->IsMeasuring(); });
    }

    // The commands written, in order, from the whole communication log.
    std::vector<std::string> Sent() const
    {
        std::vector<std::string> sent;
        const std::string marker = "Sent:'";
        for (size_t at = fullLog.find(marker); at != std::string::npos; at = fullLog.find(marker, at + 1)) {
            const size_t begin = at + marker.size();
            const size_t end = fullLog.find('\'', begin);
            sent.push_back(fullLog.substr(begin, end - begin));
        }
        return sent;
    }

    std::vector<std::string> MeasureCommands() const
    {
        std::vector<std::string> found;
        for (const std::string& command : Sent())
            if (command.find("MEAS;") != std::string::npos)
                found.push_back(command);
        return found;
    }

    // The texts the prompter showed, one per line.
    std::string Shown() const
    {
        std::string text;
        for (const auto& shown : prompter.shown)
            text += "[" + shown.text + "]\n";
        return text;
    }

    ModalPrompter prompter;
    HookSleeper sleeper;
    instrument::ScopedSleeper useSleeper{sleeper};
    CTalDocument document;
    SweepTarget target{document};
    BasicAnalyzerHost host;
    std::unique_ptr<Analyzer2600Engine> engine;
    std::string fullLog;
    std::vector<int> completions;

private:
    void* simHandle_ = nullptr;
};

} // namespace enginetest
