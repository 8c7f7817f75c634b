#include "tests/campaign/SweepRun.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <type_traits>

#include "analyzer/engine/Analyzer1852Engine.h"
#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "analyzer/engine/SweepWatchdog.h"
#include "analyzer/target/SweepTarget.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "data/TalDocument.h"
#include "instrument/gpib/BusSearch.h"

namespace campaign {

namespace {

// What the watchdog may take beyond its own bound before the campaign calls the sweep hung.
constexpr double kSlackSeconds = 5.0;

std::string Text(const char* format, double a, double b = 0.0, double c = 0.0)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

int ModelCode(const SweepPlan& plan)
{
    const std::size_t at = plan.simConfig.find("model=");
    if (at == std::string::npos)
        return 0x2162;
    return static_cast<int>(std::strtol(plan.simConfig.c_str() + at + 6, nullptr, 16));
}

template <class Engine>
void ApplySettings(Engine& e, const SweepPlan& p)
{
    e.SetSweepRange(p.start, p.stop);
    e.SetStartFrequency(p.start);
    e.SetStopFrequency(p.stop);
    e.SetLogSweep(p.logSweep);
    if (p.logSweep)
        e.SetStepsPerDecade(p.stepsPerDecade);
    else
        e.SetFrequencyStep(p.linearStep);
    e.SetMaxAcVoltsOutField(p.maxAc);
    e.SetAcVoltsOutField(p.ac);
    e.SetDcVoltsOut(p.dc);
    if constexpr (std::is_same_v<Engine, Analyzer2600Engine>) {
        if (p.waveform == "Sine" || p.waveform == "Square")
            e.SelectWaveform(p.waveform);
        if (!p.outputImpedance.empty())
            e.SelectOutputImpedance(p.outputImpedance);
        if (p.inputChoice == "50" || p.inputChoice == "1 Meg")
            e.SelectInputImpedance(p.inputChoice);
        e.SetIntegrationTime(p.integrationSeconds);
    } else if constexpr (std::is_same_v<Engine, Analyzer5060Engine>) {
        if (!p.waveform.empty())
            e.SelectWaveform(p.waveform);
        e.SetIntegrationTime(p.integrationSeconds);
    } else if constexpr (std::is_same_v<Engine, Analyzer1852Engine>) {
        if (p.inputChoice == "AC" || p.inputChoice == "DC")
            e.SelectCoupling(p.inputChoice);
        e.SelectSpeed("Fast");
    } else {
        if (!p.waveform.empty())
            e.SelectWaveform(p.waveform);
        if (p.inputChoice == "AC < 55V" || p.inputChoice == "AC < 500V" || p.inputChoice == "DC")
            e.SelectCoupling(p.inputChoice);
        e.SelectSpeed("Fast");
    }
    if (p.servo) {
        e.SetServoOn(true);
        e.SelectServoChannel(p.servoChannel);
        e.SetServoAcVoltsIn(p.servoTarget);
        e.SetServoStepDb(p.servoStepDb);
    }
    if (p.maxGain)
        e.SetMaxChangeGain(true, p.maxGainDb);
    if (p.maxPhase)
        e.SetMaxChangePhase(true, p.maxPhaseDegrees);
}

template <class Engine>
void Perform(std::unique_ptr<Engine>& engine, BasicAnalyzerHost& host, const SweepPlan& plan, const UserAction& a)
{
    if (a.kind == UserAction::Destroy) {
        engine.reset();
        return;
    }
    // The user acts while the sweep runs; afterwards Stop would start a new one.
    if (!engine || !engine->IsSweeping())
        return;
    Engine& e = *engine;
    switch (a.kind) {
    case UserAction::PageUp: e.OnKeyPageUp(); break;
    case UserAction::PageDown: e.OnKeyPageDown(); break;
    case UserAction::KeyUp: e.OnKeyUp(); break;
    case UserAction::KeyDown: e.OnKeyDown(); break;
    case UserAction::EditAc: e.SetAcVoltsOutField(a.value); break;
    case UserAction::EditDc: e.SetDcVoltsOut(a.value); break;
    case UserAction::EditMaxAc: e.SetMaxAcVoltsOutField(a.value); break;
    case UserAction::Stop: e.OnButtonRunSweep(); break;
    case UserAction::TakeData: e.OnButtonTakeData(); break;
    case UserAction::Dc: e.OnCheckDc(); break;
    case UserAction::FindAddress:
        // As the Settings dialog does: the bus is searched only while no measurement runs.
        if (!e.IsMeasuring())
            (void)gpib::FindAnalyzerAddress(plan.analyzerType, 0);
        break;
    case UserAction::AddressChange: host.gpibAddressApplication = static_cast<int>(a.value); break;
    case UserAction::Close: e.OnClose(); break;
    case UserAction::Destroy: break;
    }
}

template <class Engine>
SweepOutcome RunWith(const SweepPlan& plan, const SimulatorLibrary& sim)
{
    SweepOutcome out;
    ScriptedPrompter prompter;
    SetPrompter(&prompter);
    CTalDocument document;
    document.OnNewDocument();
    SweepTarget target(document);
    BasicAnalyzerHost host;
    host.analyzerType = plan.analyzerType;
    host.interfaceIndex = plan.usb ? 4 : 0;
    host.gpibAddressApplication = host.gpibAddressAnalyzer = plan.address;
    host.modelCode = ModelCode(plan);
    host.activeDisplay = &target;
    appData() = ApplicationData{};
    appData().channelCount = plan.analyzerType == 11 ? 2 : 0;

    auto engine = std::make_unique<Engine>(host);
    std::vector<int> completions;
    QObject::connect(engine.get(), &AnalyzerDialog::CommLogAppended,
                     [&](const std::string& text, bool) { out.log += text; });
    QObject::connect(engine.get(), &AnalyzerDialog::SweepComplete, [&](int code) { completions.push_back(code); });

    bool opened = true;
    if constexpr (std::is_same_v<Engine, Analyzer2600Engine>)
        opened = engine->InitDialogStage2("");
    if (!opened) {
        if (!plan.faulty)
            out.failures.push_back("the analyzer could not be opened without a fault");
        SetPrompter(nullptr);
        return out;
    }
    ApplySettings(*engine, plan);
    sim.TakeViolations();  // setting up talks to the analyzer only through the program: keep none
    prompter.shown.clear();

    // Accepted readings, each compared with the measurement the analyzer made at its frequency.
    std::vector<analyzer::Reading> accepted;
    int shownCount = 0;
    std::vector<bool> done(plan.actions.size(), false);
    bool servoOrMaxChange = plan.servo || plan.maxGain || plan.maxPhase;
    auto scheduleActions = [&] {
        for (std::size_t i = 0; i < plan.actions.size(); ++i)
            if (!done[i] && plan.actions[i].afterReadings <= shownCount) {
                done[i] = true;
                QTimer::singleShot(0, [&, i] { Perform(engine, host, plan, plan.actions[i]); });
            }
    };
    QObject::connect(engine.get(), &AnalyzerDialog::ReadingShown, [&] {
        ++shownCount;
        const analyzer::Reading& r = engine->ShownReading();
        if (!engine->IsSweeping() || r.frequency <= 0.0)
            return;
        if (!accepted.empty() && accepted.back().frequency == r.frequency && accepted.back().amplitude == r.amplitude
            && accepted.back().outputAmplitude == r.outputAmplitude)
            return;
        accepted.push_back(r);
        const auto measured = sim.RecentMeasurements();
        auto it = std::find_if(measured.rbegin(), measured.rend(), [&](const auto& m) {
            return std::fabs(m.first - r.frequency) <= 1e-6 * std::fabs(r.frequency);
        });
        if (it == measured.rend())
            out.failures.push_back(Text("a reading at %.7g Hz the analyzer did not measure", r.frequency));
        else if (std::fabs(it->second - r.outputAmplitude) > 1e-9 * std::max(1.0, it->second))
            out.failures.push_back(Text("the reading at %.7g Hz records %.9g V; the analyzer applied %.9g V",
                                        r.frequency, r.outputAmplitude, it->second));
    });

    const auto started = std::chrono::steady_clock::now();
    engine->OnButtonRunSweep();
    const double low = std::min(engine->Fields().startFrequency, engine->Fields().stopFrequency);
    const double high = std::max(engine->Fields().startFrequency, engine->Fields().stopFrequency);
    const bool ascending = engine->Fields().stopFrequency >= engine->Fields().startFrequency;
    scheduleActions();

    bool destroyed = false;
    auto lastProgress = std::chrono::steady_clock::now();
    int lastShown = 0;
    const double bound = 3.0 * 1.2 + SweepWatchdog::MarginSeconds() + kSlackSeconds;
    while (true) {
        if (!engine) {
            destroyed = true;
            break;
        }
        if (!completions.empty() && !engine->IsMeasuring())
            break;
        if (!engine->IsMeasuring() && completions.empty() && shownCount == 0
            && std::chrono::steady_clock::now() - started > std::chrono::seconds(2)) {
            break;  // it never started (nothing to measure into)
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        if (shownCount != lastShown) {
            lastShown = shownCount;
            lastProgress = std::chrono::steady_clock::now();
            scheduleActions();
        }
        if (std::chrono::steady_clock::now() - lastProgress > std::chrono::duration<double>(bound)) {
            out.failures.push_back(Text("the sweep heard nothing for %.0f s and did not end", bound));
            break;
        }
    }
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);

    // What the user was told.
    int reports = 0;
    bool watchdog = false;
    for (const auto& shown : prompter.shown) {
        ++reports;
        if (shown.text.find("No answer from the analyzer within") != std::string::npos)
            watchdog = true;
    }
    out.completion = completions.empty() ? -1 : completions.back();
    if (watchdog)
        out.failures.push_back("the watchdog had to end the sweep (the analyzer was left waiting)");
    if (!destroyed) {
        if (completions.empty() && (engine->IsMeasuring() || shownCount > 0))
            out.failures.push_back("the sweep never reported its end");
        if (completions.size() > 1)
            out.failures.push_back(Text("the end was reported %.0f times", double(completions.size())));
        if (out.completion == 0 && reports > 0 && !plan.faulty)
            out.failures.push_back(Text("%.0f message boxes in a sweep that ended well", reports));
        if (out.completion > 0 && reports != 1)
            out.failures.push_back(Text("%.0f message boxes for one error", reports));
        if (out.completion > 0 && !plan.faulty)
            out.failures.push_back(Text("the sweep ended with error %.0f without a fault", out.completion));
    }

    // The document holds every accepted reading, in the sweep's range and order.
    // Closing the 2600 series' dialog mid-sweep ends the acquisition into its set: the readings
    // after it start another.
    out.readings = 0;
    for (int set = 0; set < document.GetDataSetCount(); ++set)
        out.readings += document.GetPointCount(set);
    if (out.readings != static_cast<int>(accepted.size()))
        out.failures.push_back(Text("%.0f readings accepted, %.0f in the document", double(accepted.size()),
                                    double(out.readings)));
    for (std::size_t i = 0; i < accepted.size(); ++i) {
        const double f = accepted[i].frequency;
        if (f < low * (1.0 - 5e-4) || f > high * (1.0 + 5e-4))
            out.failures.push_back(Text("a reading at %.7g Hz outside %.7g .. %.7g Hz", f, low, high));
        if (i == 0)
            continue;
        const double previous = accepted[i - 1].frequency;
        const bool inOrder = ascending ? f >= previous : f <= previous;
        if (!inOrder)
            out.failures.push_back(Text("a reading at %.7g Hz after one at %.7g Hz", f, previous));
        if (f == previous && !servoOrMaxChange)
            out.failures.push_back(Text("two readings at %.7g Hz", f));
    }

    if (engine) {
        if constexpr (std::is_same_v<Engine, Analyzer2600Engine>)
            if (out.completion != 1)
                engine->ShutDownAnalyzer();
        engine.reset();
    }
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const auto [breaches, report] = sim.TakeViolations();
    if (breaches > 0)
        out.failures.push_back(Text("the analyzer recorded %.0f breaches of its rules:\n", breaches) + report);
    SetPrompter(nullptr);
    return out;
}

} // namespace

SweepOutcome RunPlan(const SweepPlan& plan, const SimulatorLibrary& simulator)
{
    if (simulator.Configure("reset;" + plan.simConfig) != 0) {
        SweepOutcome out;
        out.failures.push_back("the simulator rejected the plan's configuration");
        return out;
    }
    simulator.TakeViolations();
    switch (plan.analyzerType) {
    case 0: return RunWith<Analyzer5060Engine>(plan, simulator);
    case 6: return RunWith<Analyzer1960Engine>(plan, simulator);
    case 7:
    case 8:
    case 9: return RunWith<Analyzer1852Engine>(plan, simulator);
    default: return RunWith<Analyzer2600Engine>(plan, simulator);
    }
}

} // namespace campaign
