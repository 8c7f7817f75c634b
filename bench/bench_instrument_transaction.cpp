// One measurement transaction through each instrument binding against the simulator (time factor
// 0): write the measure command and arm the service request on this thread; on the library's
// thread take the request, serial-poll, write the read command and read; then hand the result
// back to this thread. Compared with a bare thread-to-thread round trip (the engines' blocking
// delivery to their own thread adds one such round trip).
//
// The machine is shared, so its speed drifts during a run: each iteration is one round that
// times, for each binding, a batch of round trips and then a batch of transactions, and the
// summary prints the medians over the rounds and the median ratio to the round trip.

#include "instrument/SrqSink.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/gpib/GpibSrqCallback.h"
#include "instrument/visa/Tal2600Driver.h"
#include "instrument/visa/UsbSrqHandler.h"
#include "instrument/visa/Visa.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRounds = 31;
constexpr int kPerBatch = 500;

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

// Nanoseconds per call of `step` over a batch; negative if a step failed.
double TimeBatch(const std::function<bool()>& step)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kPerBatch; ++i)
        if (!step())
            return -1.0;
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kPerBatch;
}

// Two threads handing a turn back and forth under one mutex and condition variable.
double ThreadRoundTrip()
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
    const double ns = TimeBatch([&] {
        std::unique_lock lock(mutex);
        turn = 1;
        changed.notify_all();
        changed.wait(lock, [&] { return turn == 2; });
        return true;
    });
    {
        std::lock_guard lock(mutex);
        stop = true;
        changed.notify_all();
    }
    partner.join();
    return ns;
}

// A batch through the GPIB binding bound to `library` for this batch only.
double GpibTransaction(const char* library)
{
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
    const double ns = TimeBatch([&] {
        gpib::ibwrt(ud, "FREQ,1000;MEAS;", 15);
        gpib::ibnotify(ud, gpib::RQS, gpib::GpibSrqCallback, &sink);
        return sink.Wait();
    });
    gpib::ibnotify(ud, 0, nullptr, nullptr);
    gpib::ibonl(ud, 0);
    gpib::SetLibraryPath("");
    return ns;
}

// The USB session stays open for the whole run (opening it waits as the driver does); its
// service-request event is enabled only for its own batches, as the GPIB batches use the same
// analyzer.
class UsbSession {
public:
    UsbSession()
    {
        visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
        open_ = tal2600_init(Tal2600ResourceName(0x2162, 1234).c_str(), false, false, &vi_, &rm_) >= 0 &&
                tal2600_InstallHandler(vi_, visa::VI_EVENT_SERVICE_REQ, UsbSrqHandler, &sink_) >= 0;
    }
    ~UsbSession()
    {
        tal2600_close(vi_, rm_);
        visa::SetLibraryPath("");
    }
    UsbSession(const UsbSession&) = delete;
    UsbSession& operator=(const UsbSession&) = delete;

    double Batch()
    {
        if (!open_ || tal2600_EnableEvent(vi_, visa::VI_EVENT_SERVICE_REQ, visa::VI_HNDLR, 0) < 0 ||
            tal2600_WriteInstrData(vi_, "*SRE,1;") < 0)
            return -1.0;
        const double ns =
            TimeBatch([&] { return tal2600_WriteInstrData(vi_, "FREQ,1000;MEAS;") >= 0 && sink_.Wait(); });
        tal2600_DisableEvent(vi_, visa::VI_EVENT_SERVICE_REQ, visa::VI_HNDLR);
        return ns;
    }

private:
    visa::ViSession vi_ = 0, rm_ = 0;
    TransactionSink sink_{[this](int statusByte) {
        char buffer[64];
        uint32_t received = 0;
        return tal2600_WriteInstrData(vi_, "READ?;") >= 0 &&
               tal2600_ReadInstrData(vi_, sizeof buffer, buffer, &received) >= 0 && (statusByte & 0x01);
    }};
    bool open_ = false;
};

struct Series {
    const char* name;
    std::vector<double> ns, roundTripNs;  // per round: the transactions, the round trips before them
};

std::vector<Series>& AllSeries()
{
    static std::vector<Series> series = {
        {"GPIB, library ibnotify", {}, {}},
        {"GPIB, emulated ibnotify", {}, {}},
        {"USB (VISA, tal2600)", {}, {}},
    };
    return series;
}

void BM_TransactionRounds(benchmark::State& state)
{
    if (!ConfigureSim(TALVERN_SIM_LIBRARY) || !ConfigureSim(TALVERN_SIM_NOIBNOTIFY_LIBRARY)) {
        state.SkipWithError("simulator not configurable");
        return;
    }
    UsbSession usb;
    const std::function<double()> batches[] = {
        [] { return GpibTransaction(TALVERN_SIM_LIBRARY); },
        [] { return GpibTransaction(TALVERN_SIM_NOIBNOTIFY_LIBRARY); },
        [&usb] { return usb.Batch(); },
    };
    for (auto _ : state) {
        for (size_t i = 0; i < AllSeries().size(); ++i) {
            Series& s = AllSeries()[i];
            s.roundTripNs.push_back(ThreadRoundTrip());
            const double ns = batches[i]();
            if (ns < 0) {
                state.SkipWithError((std::string(s.name) + ": transaction failed").c_str());
                return;
            }
            s.ns.push_back(ns);
        }
    }
}
BENCHMARK(BM_TransactionRounds)->Iterations(kRounds)->Unit(benchmark::kMillisecond);

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void PrintSummary()
{
    const std::vector<Series>& series = AllSeries();
    if (series.back().ns.size() != kRounds)
        return;
    std::vector<double> roundTrips;
    for (const Series& s : series)
        roundTrips.insert(roundTrips.end(), s.roundTripNs.begin(), s.roundTripNs.end());
    std::printf("\nMedians of %d interleaved rounds of %d (target: transaction <= 3x the round trip)\n",
                kRounds, kPerBatch);
    std::printf("  %-26s %8.1f us\n", "thread round trip", Median(roundTrips) / 1e3);
    for (const Series& s : series) {
        std::vector<double> ratios;
        for (size_t r = 0; r < s.ns.size(); ++r)
            ratios.push_back(s.ns[r] / s.roundTripNs[r]);
        const double ratio = Median(ratios);
        std::printf("  %-26s %8.1f us   ratio %.2f %s\n", s.name, Median(s.ns) / 1e3, ratio,
                    ratio <= 3 ? "ok" : "MISSED");
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
