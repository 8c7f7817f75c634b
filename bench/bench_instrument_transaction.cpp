// One measurement transaction through each instrument binding against the simulator (time factor
// 0): write the measure command and arm the service request on this thread; on the library's
// thread take the request, serial-poll, write the read command and read; then hand the result
// back to this thread. Compared with a bare thread-to-thread round trip measured in the same run
// (the engines' blocking delivery to their own thread adds one such round trip).

#include "instrument/SrqSink.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/gpib/GpibSrqCallback.h"
#include "instrument/visa/Tal2600Driver.h"
#include "instrument/visa/UsbSrqHandler.h"
#include "instrument/visa/Visa.h"

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace {

// Runs the rest of the transaction on the library thread and tells the benchmark thread.
class TransactionSink final : public instrument::SrqSink {
public:
    explicit TransactionSink(std::function<bool(int)> onRequest) : onRequest_(std::move(onRequest)) {}

    void OnServiceRequest(int statusByte) override
    {
        const bool ok = onRequest_(statusByte);
        std::lock_guard lock(mutex_);
        done_ = true;
        ok_ = ok;
        changed_.notify_all();
    }
    // Waits for the transaction to end; false if it failed or no request came within a second.
    bool Wait()
    {
        std::unique_lock lock(mutex_);
        const bool arrived = changed_.wait_for(lock, std::chrono::seconds(1), [&] { return done_; });
        done_ = false;
        return arrived && ok_;
    }

private:
    std::function<bool(int)> onRequest_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    bool ok_ = false;
};

bool ConfigureSim(const char* path)
{
    // Kept open for the run, so the bindings share this instance.
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    auto configure = reinterpret_cast<int (*)(const char*)>(handle ? dlsym(handle, "talsim_configure") : nullptr);
    return configure && configure("reset;family=2600;address=5;model=2162;serial=1234;time_factor=0;noise=0") == 0;
}

void BM_ThreadRoundTrip(benchmark::State& state)
{
    std::mutex mutex;
    std::condition_variable changed;
    int turn = 0;  // 1: partner's turn, 2: answered
    bool stop = false;
    std::thread partner([&] {
        std::unique_lock lock(mutex);
        while (true) {
            changed.wait(lock, [&] { return stop || turn == 1; });
            if (stop)
                return;
            turn = 2;
            changed.notify_all();
        }
    });
    for (auto _ : state) {
        std::unique_lock lock(mutex);
        turn = 1;
        changed.notify_all();
        changed.wait(lock, [&] { return turn == 2; });
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
        changed.notify_all();
    }
    partner.join();
}

void GpibTransaction(benchmark::State& state, const char* library)
{
    if (!ConfigureSim(library)) {
        state.SkipWithError("simulator not configurable");
        return;
    }
    gpib::SetLibraryPath(library);
    const int ud = gpib::ibdev(0, 5, 0, gpib::T10s, 1, 0);
    gpib::ibclr(ud);
    gpib::ibwrt(ud, "*SRE,1;", 7);
    TransactionSink sink([ud](int) {
        char statusByte = 0;
        char buffer[512];
        gpib::ibrsp(ud, &statusByte);
        gpib::ibwrt(ud, "READ?;", 6);
        gpib::ibrd(ud, buffer, 511);
        return !(gpib::ibsta & gpib::ERR) && (statusByte & 0x01);
    });
    for (auto _ : state) {
        gpib::ibwrt(ud, "FREQ,1000;MEAS;", 15);
        gpib::ibnotify(ud, gpib::RQS, gpib::GpibSrqCallback, &sink);
        if (!sink.Wait()) {
            state.SkipWithError("transaction failed");
            break;
        }
    }
    gpib::ibnotify(ud, 0, nullptr, nullptr);
    gpib::ibonl(ud, 0);
    gpib::SetLibraryPath("");
}

void BM_GpibLibraryNotify(benchmark::State& state) { GpibTransaction(state, TALVERN_SIM_LIBRARY); }
void BM_GpibEmulatedNotify(benchmark::State& state) { GpibTransaction(state, TALVERN_SIM_NOIBNOTIFY_LIBRARY); }

void BM_UsbTransaction(benchmark::State& state)
{
    if (!ConfigureSim(TALVERN_SIM_LIBRARY)) {
        state.SkipWithError("simulator not configurable");
        return;
    }
    visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    visa::ViSession vi = 0, rm = 0;
    TransactionSink sink([&vi](int statusByte) {
        char buffer[64];
        uint32_t received = 0;
        return tal2600_WriteInstrData(vi, "READ?;") >= 0 &&
               tal2600_ReadInstrData(vi, sizeof buffer, buffer, &received) >= 0 && (statusByte & 0x01);
    });
    if (tal2600_init(Tal2600ResourceName(0x2162, 1234).c_str(), false, false, &vi, &rm) < 0 ||
        tal2600_InstallHandler(vi, visa::VI_EVENT_SERVICE_REQ, UsbSrqHandler, &sink) < 0 ||
        tal2600_EnableEvent(vi, visa::VI_EVENT_SERVICE_REQ, visa::VI_HNDLR, 0) < 0 ||
        tal2600_WriteInstrData(vi, "*SRE,1;") < 0) {
        state.SkipWithError("USB session not opened");
        return;
    }
    for (auto _ : state) {
        tal2600_WriteInstrData(vi, "FREQ,1000;MEAS;");
        if (!sink.Wait()) {
            state.SkipWithError("transaction failed");
            break;
        }
    }
    tal2600_DisableEvent(vi, visa::VI_EVENT_SERVICE_REQ, visa::VI_HNDLR);
    tal2600_close(vi, rm);
    visa::SetLibraryPath("");
}

BENCHMARK(BM_ThreadRoundTrip)->UseRealTime();
BENCHMARK(BM_GpibLibraryNotify)->UseRealTime();
BENCHMARK(BM_GpibEmulatedNotify)->UseRealTime();
BENCHMARK(BM_UsbTransaction)->UseRealTime();

// Console output plus the real time per iteration of each benchmark, for the ratios.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.iterations > 0 && run.run_type == Run::RT_Iteration)
                nanoseconds_[run.benchmark_name()] = run.GetAdjustedRealTime() *
                                                     (run.time_unit == benchmark::kMicrosecond ? 1e3 : 1.0);
    }
    const std::map<std::string, double>& Nanoseconds() const { return nanoseconds_; }

private:
    std::map<std::string, double> nanoseconds_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& times = reporter.Nanoseconds();
    const auto base = times.find("BM_ThreadRoundTrip/real_time");
    if (base == times.end() || base->second <= 0)
        return 0;
    std::printf("\nthread round trip: %.0f ns (target: transaction <= 3x)\n", base->second);
    for (const auto& [name, ns] : times)
        if (name != base->first)
            std::printf("%-32s %10.0f ns  %6.1fx\n", name.c_str(), ns, ns / base->second);
    benchmark::Shutdown();
    return 0;
}
