#pragma once
// The fixture of the 1960, 1800-series and NF 5060 engine tests: the simulator loaded through the
// real GPIB binding and set to the family, a scripted prompter, recorded waits, a document with its
// sweep target, and the commands the engine logged.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EngineTestSupport.h"

namespace enginetest {

template <typename Engine>
class FamilyFixture : public testing::Test {
protected:
    void SetUp() override
    {
        simHandle_ = dlopen(TALVERN_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(simHandle_, nullptr) << dlerror();
        ASSERT_TRUE(ConfigureSim(""));
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
        appData() = ApplicationData{};
        SetPrompter(&prompter);
        host.activeDisplay = &target;
    }

    void TearDown() override
    {
        engine.reset();
        PumpPending();
        gpib::SetLibraryPath("");
        SetPrompter(nullptr);
        if (simHandle_)
            dlclose(simHandle_);
    }

    virtual std::string Family() const = 0;

    // Every test starts from the simulator's defaults for the family, readings ready at once.
    bool ConfigureSim(const std::string& text)
    {
        auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(simHandle_, "talsim_configure"));
        return configure
               && configure(("reset;family=" + Family() + ";time_factor=0;tmo_factor=0;noise=0;" + text).c_str()) == 0;
    }
    bool ChangeSim(const std::string& text)
    {
        auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(simHandle_, "talsim_configure"));
        return configure && configure(text.c_str()) == 0;
    }

    Engine& MakeEngine()
    {
        engine = std::make_unique<Engine>(host);
        QObject::connect(engine.get(), &Engine::CommLogAppended,
                         [this](const std::string& text, bool) { fullLog += text; });
        QObject::connect(engine.get(), &AnalyzerDialog::SweepComplete, [this](int code) { completions.push_back(code); });
        return *engine;
    }

    // Runs a sweep to its end; false if it did not end.
    bool RunSweep()
    {
        const size_t before = completions.size();
        engine->OnButtonRunSweep();
        return PumpUntil([&] { return completions.size() > before && !engine->IsMeasuring(); });
    }

    // The commands written, in order.
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

    // The writes that hold text, in order.
    std::vector<std::string> SentContaining(const std::string& text) const
    {
        std::vector<std::string> found;
        for (const std::string& command : Sent())
            if (command.find(text) != std::string::npos)
                found.push_back(command);
        return found;
    }

    // What the simulated analyzer's referee recorded since the last call (empty: no breach).
    std::string Breaches() const
    {
        auto violations = reinterpret_cast<int (*)(char*, int, int)>(dlsym(simHandle_, "talsim_violations"));
        std::string text(8192, '\0');
        if (!violations)
            return "no talsim_violations";
        violations(text.data(), static_cast<int>(text.size()), 1);
        return text.c_str();
    }

    std::vector<double> Frequencies(int set = 0) const
    {
        std::vector<double> frequencies;
        for (int i = 0; i < document.GetPointCount(set); ++i)
            frequencies.push_back(document.GetFrequency(set, i));
        return frequencies;
    }

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
    std::unique_ptr<Engine> engine;
    std::string fullLog;
    std::vector<int> completions;

private:
    void* simHandle_ = nullptr;
};

} // namespace enginetest
