// Soak run of the sweep engine (not part of CI): sweeps of the simulated analyzer, alternately over
// GPIB and USB, with a fault injected after about every 1,000 readings (the analyzer vanishing,
// a truncated reply, an error status, read time-outs), until 20,000 readings were accepted. After
// every sweep each reading the target was handed must be in the document, and the engine must be
// able to start the next sweep. Run it under AddressSanitizer for leaks (bench/README.md).
//
//   bench_soak [READINGS] [SEED]

#include <QCoreApplication>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

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

namespace {

using Configure = int (*)(const char*);

const char* const kFaults[] = {"fault=vanish_after:0", "fault=truncated", "fault=stb_error", "fault=timeout"};

// Counts the readings handed to the target and injects the sweep's fault at the chosen one.
class FaultInjector final : public SweepStepObserver {
public:
    FaultInjector(Configure configure, long at, const char* fault) : configure_(configure), at_(at), fault_(fault) {}
    void OnReadingAccepted(double) override
    {
        if (++accepted == at_)
            configure_(fault_);
    }
    long accepted = 0;

private:
    Configure configure_;
    long at_;
    const char* fault_;
};

} // namespace

int main(int argc, char** argv)
{
    const long target = argc > 1 ? std::atol(argv[1]) : 20000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u;
    QCoreApplication application(argc, argv);

    void* sim = dlopen(TALVERN_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    const auto configure = sim ? reinterpret_cast<Configure>(dlsym(sim, "talsim_configure")) : nullptr;
    if (!configure) {
        std::fprintf(stderr, "bench_soak: cannot load %s\n", TALVERN_SIM_LIBRARY);
        return 1;
    }
    gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    ScriptedPrompter prompter;
    SetPrompter(&prompter);
    instrument::RecordingSleeper sleeper;
    instrument::ScopedSleeper useSleeper(sleeper);

    std::mt19937 random(seed);
    std::uniform_int_distribution<long> faultAfter(500, 1500);
    std::uniform_int_distribution<int> faultKind(0, 3);

    long accepted = 0;
    int sweeps = 0;
    int failures = 0;
    size_t messages = 0;
    {
        CTalDocument document;
        SweepTarget targetDisplay(document);
        BasicAnalyzerHost host;
        host.activeDisplay = &targetDisplay;
        std::unique_ptr<Analyzer2600Engine> engine;
        bool usb = false;
        while (accepted < target) {
            // A fresh analyzer and, when the bus changes, a fresh engine.
            configure("reset;family=2600;time_factor=0;tmo_factor=0;noise=0.001");
            if (!engine || sweeps % 4 == 0) {
                usb = !usb;
                host.interfaceIndex = usb ? 4 : 0;
                engine.reset();
                appData().channelCount = 0;
                engine = std::make_unique<Analyzer2600Engine>(host);
                if (!engine->InitDialogStage2("")) {
                    std::fprintf(stderr, "bench_soak: the analyzer did not open\n");
                    return 1;
                }
                engine->SetLogSweep(false);
                engine->SetStartFrequency(10);
                engine->SetStopFrequency(1e6);
                engine->SetFrequencyStep(10);
            }
            const char* fault = kFaults[faultKind(random)];
            FaultInjector injector(configure, faultAfter(random), fault);
            engine->SetStepObserver(&injector);
            bool ended = false;
            const QMetaObject::Connection connection =
                QObject::connect(engine.get(), &AnalyzerDialog::SweepComplete, [&](int) { ended = true; });
            const int setsBefore = document.GetDataSetCount();
            engine->OnButtonRunSweep();
            while (!ended)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            QObject::disconnect(connection);
            engine->SetStepObserver(nullptr);
            ++sweeps;

            const int points = document.GetDataSetCount() > setsBefore ? document.GetPointCount(setsBefore) : 0;
            if (points != injector.accepted) {
                ++failures;
                std::fprintf(stderr, "bench_soak: sweep %d (%s, %s): %ld readings accepted, %d in the document\n",
                             sweeps, usb ? "USB" : "GPIB", fault, injector.accepted, points);
            }
            accepted += injector.accepted;
            messages += prompter.shown.size();
            prompter.shown.clear();
            // Keep the document small: the readings were checked.
            while (document.GetDataSetCount() > 0)
                document.DeleteDataSet(0);
        }
        engine.reset();
        QCoreApplication::processEvents();
    }
    SetPrompter(nullptr);
    gpib::SetLibraryPath("");
    visa::SetLibraryPath("");
    std::printf("bench_soak: %d sweeps, %ld readings accepted, %zu error reports, %d mismatches\n", sweeps, accepted,
                messages, failures);
    return failures == 0 ? 0 : 1;
}
