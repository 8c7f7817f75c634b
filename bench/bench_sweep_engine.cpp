// The sweep engine's software time per reading: from the service request reaching the engine (on
// the GPIB library's thread) to the next measure command written, with the reading judged and
// appended to a document through the sweep target. A 2,000-point linear sweep of the simulated
// analyzer at time factor 0 over GPIB, so that the simulator adds no waiting of its own.
//
// Figures (counters): the median and 99th percentile per reading in microseconds, and the median
// against a bare thread-to-thread ping-pong (condition variables) measured in the same run. The
// engine hands each request to its own thread once, so one ping-pong is the floor.
// Targets: median <= 100 us, p99 <= 1000 us, ratio <= 3.
//
// BM_SweepWithDisplay: the whole time of a sweep whose readings take 2 ms each (simulated), with a
// gain display open on the document against the same sweep with none, in interleaved rounds
// (offscreen platform); display_ratio is the median of the rounds' ratios. Target: <= 1.05.

#include <QApplication>

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
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
#include "views/gain/TalViewGain.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPoints = 2000;

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * (values.size() - 1) + 0.5));
    return values[index];
}

// Median round trip (us) of one thread waking another and being woken back.
double PingPongMicroseconds(int rounds)
{
    std::mutex mutex;
    std::condition_variable changed;
    int turn = 0;  // 1: the partner's turn, 2: back to us, 3: stop
    std::thread partner([&] {
        std::unique_lock lock(mutex);
        while (true) {
            changed.wait(lock, [&] { return turn == 1 || turn == 3; });
            if (turn == 3)
                return;
            turn = 2;
            changed.notify_all();
        }
    });
    std::vector<double> trips;
    trips.reserve(rounds);
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        std::unique_lock lock(mutex);
        turn = 1;
        changed.notify_all();
        changed.wait(lock, [&] { return turn == 2; });
        lock.unlock();
        trips.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    {
        std::lock_guard lock(mutex);
        turn = 3;
    }
    changed.notify_all();
    partner.join();
    return Percentile(trips, 0.5);
}

class StepTimer final : public SweepStepObserver {
public:
    void OnServiceRequestArrived() override { arrived_.store(Clock::now().time_since_epoch().count()); }
    void OnMeasureCommandWritten() override
    {
        const auto now = Clock::now().time_since_epoch().count();
        const auto arrived = arrived_.exchange(0);
        if (arrived != 0)
            steps.push_back(std::chrono::duration<double, std::micro>(Clock::duration(now - arrived)).count());
    }
    std::vector<double> steps;

private:
    std::atomic<Clock::rep> arrived_{0};
};

struct Simulator {
    Simulator()
    {
        handle = dlopen(TALVERN_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        configure = handle ? reinterpret_cast<int (*)(const char*)>(dlsym(handle, "talsim_configure")) : nullptr;
    }
    bool Configure(const char* text) const { return configure && configure(text) == 0; }
    void* handle;
    int (*configure)(const char*);
};

Simulator& Sim()
{
    static Simulator sim;
    return sim;
}

void BM_SweepReading(benchmark::State& state)
{
    Simulator& sim = Sim();
    if (!sim.Configure("reset;family=2600;time_factor=0;noise=0;dut=R:R=100")) {
        state.SkipWithError("the simulator library cannot be loaded or configured");
        return;
    }
    gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    ScriptedPrompter prompter;
    SetPrompter(&prompter);
    instrument::RecordingSleeper sleeper;
    instrument::ScopedSleeper useSleeper(sleeper);

    std::vector<double> steps;
    double pingPong = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        pingPong = PingPongMicroseconds(kPoints);
        CTalDocument document;
        SweepTarget target(document);
        BasicAnalyzerHost host;
        host.activeDisplay = &target;
        appData().channelCount = 0;
        Analyzer2600Engine engine(host);
        if (!engine.InitDialogStage2("")) {
            state.SkipWithError("the simulated analyzer did not open");
            break;
        }
        engine.SetLogSweep(false);
        engine.SetStartFrequency(1);
        engine.SetStopFrequency(kPoints);
        engine.SetFrequencyStep(1);
        StepTimer timer;
        timer.steps.reserve(kPoints);
        engine.SetStepObserver(&timer);
        bool ended = false;
        QObject::connect(&engine, &AnalyzerDialog::SweepComplete, [&](int) { ended = true; });
        state.ResumeTiming();

        engine.OnButtonRunSweep();
        while (!ended)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

        state.PauseTiming();
        if (document.GetDataSetCount() != 1 || document.GetPointCount(0) != kPoints)
            state.SkipWithError("the sweep did not record every reading");
        steps.insert(steps.end(), timer.steps.begin(), timer.steps.end());
        engine.SetStepObserver(nullptr);
        state.ResumeTiming();
    }
    const double median = Percentile(steps, 0.5);
    state.counters["readings"] = static_cast<double>(steps.size());
    state.counters["median_us"] = median;
    state.counters["p99_us"] = Percentile(steps, 0.99);
    state.counters["pingpong_us"] = pingPong;
    state.counters["ratio"] = pingPong > 0.0 ? median / pingPong : 0.0;
    SetPrompter(nullptr);
    gpib::SetLibraryPath("");
}
BENCHMARK(BM_SweepReading)->Unit(benchmark::kMillisecond)->Iterations(5);

// Seconds one log sweep of `points` readings takes, with a gain display on the document or none.
double TimedSweep(int points, bool withDisplay)
{
    CTalDocument document;
    std::unique_ptr<CTalViewGain> display;
    std::unique_ptr<SweepTarget> bare;
    SweepTarget* target = nullptr;
    if (withDisplay) {
        display = std::make_unique<CTalViewGain>(&document, nullptr);
        display->resize(900, 650);
        display->show();
        target = &display->GetSweepTarget();
    } else {
        bare = std::make_unique<SweepTarget>(document);
        target = bare.get();
    }
    BasicAnalyzerHost host;
    host.activeDisplay = target;
    appData().channelCount = 0;
    Analyzer2600Engine engine(host);
    if (!engine.InitDialogStage2(""))
        return 0.0;
    engine.SetStartFrequency(10);
    engine.SetStopFrequency(10 * std::pow(10.0, (points - 1) / 100.0));
    engine.SetStepsPerDecade(100);
    bool ended = false;
    QObject::connect(&engine, &AnalyzerDialog::SweepComplete, [&](int) { ended = true; });
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    engine.OnButtonRunSweep();
    while (!ended)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return document.GetDataSetCount() == 1 && document.GetPointCount(0) == points ? seconds : 0.0;
}

void BM_SweepWithDisplay(benchmark::State& state)
{
    // 1 s integration scaled to 2 ms a reading.
    if (!Sim().Configure("reset;family=2600;time_factor=0.002;noise=0.001;dut=lowpass:fc=1k")) {
        state.SkipWithError("the simulator library cannot be loaded or configured");
        return;
    }
    gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    ScriptedPrompter prompter;
    SetPrompter(&prompter);
    instrument::RecordingSleeper sleeper;
    instrument::ScopedSleeper useSleeper(sleeper);
    constexpr int kDisplayPoints = 301;
    std::vector<double> bare, shown, ratios;
    for (auto _ : state) {
        const double withoutDisplay = TimedSweep(kDisplayPoints, false);
        const double withDisplay = TimedSweep(kDisplayPoints, true);
        if (withoutDisplay <= 0.0 || withDisplay <= 0.0) {
            state.SkipWithError("a sweep did not record every reading");
            break;
        }
        bare.push_back(withoutDisplay);
        shown.push_back(withDisplay);
        ratios.push_back(withDisplay / withoutDisplay);
    }
    const double medianBare = Percentile(bare, 0.5);
    state.counters["no_display_ms"] = medianBare * 1e3;
    state.counters["display_ms"] = Percentile(shown, 0.5) * 1e3;
    // The median of the rounds' ratios: each round's two sweeps ran under the same machine load.
    state.counters["display_ratio"] = Percentile(ratios, 0.5);
    SetPrompter(nullptr);
    gpib::SetLibraryPath("");
}
BENCHMARK(BM_SweepWithDisplay)->Unit(benchmark::kMillisecond)->Iterations(9);

} // namespace

// The application lives on main's stack, so that it is gone before Qt's own globals.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
