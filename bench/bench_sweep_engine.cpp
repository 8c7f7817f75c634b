// The sweep engine's software time per reading: from the service request reaching the engine (on
// the GPIB library's thread) to the next measure command written, with the reading judged and
// appended to a document through the sweep target. A 2,000-point linear sweep of the simulated
// analyzer at time factor 0 over GPIB, so that the simulator adds no waiting of its own.
//
// Figures (counters): the median and 99th percentile per reading in microseconds, and the median
// against a bare thread-to-thread ping-pong (condition variables) measured in the same run. The
// engine hands each request to its own thread once, so one ping-pong is the floor.
// Targets: median <= 100 us, p99 <= 1000 us, ratio <= 3.

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
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

void BM_SweepReading(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "bench_sweep_engine";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static Simulator sim;
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

} // namespace

BENCHMARK_MAIN();
