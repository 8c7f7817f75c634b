// A report, not a timing: the RLC panel's whole measurement on the simulated analyzer for each
// of the eleven circuit kinds as the device under test, in a fixture with parasitics (50 mOhm
// and 20 nH in series, 5 pF across the terminals), at 10 and 50 steps per decade, without and
// with the simulator's default noise. Prints the fitted values against the simulated ones with
// the relative error. Runs through the same workflow, adapters and engine as the panel.
#include <QCoreApplication>

#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "data/ApplicationData.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "rlc/adapters/HeadlessMeasurement.h"
#include "rlc/model/CircuitKind.h"

namespace {

struct Circuit {
    int kind;
    const char* dut;  // the simulator's "dut" value
    double r, second, c;  // the simulated values the fit should give (0: not used)
    double start, stop;   // a sweep holding the frequencies the kind's rule looks at
};

// Values chosen so that each rule's characteristic points lie well inside the sweep.
const std::vector<Circuit> kCircuits = {
    {KIND_R, "R:R=100", 100, 0, 0, 10, 100e3},
    {KIND_L, "L:L=1m", 0, 1e-3, 0, 100, 100e3},
    {KIND_C, "C:C=1u", 0, 0, 1e-6, 10, 100e3},
    {KIND_R_PLUS_L, "R+L:R=10,L=1m", 10, 1e-3, 0, 10, 100e3},
    {KIND_R_PLUS_C, "R+C:R=10,C=1u", 10, 0, 1e-6, 10, 100e3},
    {KIND_R_PLUS_L_PLUS_C, "R+L+C:R=10,L=1m,C=1u", 10, 1e-3, 1e-6, 100, 100e3},
    {KIND_R_PAR_L, "R||L:R=100,L=1m", 100, 1e-3, 0, 100, 1e6},
    {KIND_R_PAR_C, "R||C:R=1k,C=1u", 1000, 0, 1e-6, 10, 100e3},
    {KIND_R_PLUS_R_PAR_C, "R+(R||C):R=100,Rp=1k,C=1u", 100, 1000, 1e-6, 10, 100e3},
    {KIND_R_PLUS_L_PAR_C, "R+(L||C):R=10,L=1m,C=1u", 10, 1e-3, 1e-6, 10, 100e3},
    {KIND_R_PAR_L_PAR_C, "R||L||C:R=100,L=1m,C=1u", 100, 1e-3, 1e-6, 100, 100e3},
};

class NoSleep final : public instrument::Sleeper {
public:
    void SleepFor(std::chrono::milliseconds) override {}
};

void PrintValue(const char* label, double simulated, double fitted)
{
    if (simulated == 0)
        return;
    if (fitted > 0)
        std::printf("  %-3s %-10.4g %-10.4g %+9.4f%%", label, simulated, fitted, 100.0 * (fitted / simulated - 1.0));
    else
        std::printf("  %-3s %-10.4g %-10s %10s", label, simulated, "N/A", "");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    void* simulator = dlopen(TALVERN_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    auto configure = simulator ? reinterpret_cast<int (*)(const char*)>(dlsym(simulator, "talsim_configure")) : nullptr;
    if (!configure) {
        std::fprintf(stderr, "bench_rlc_accuracy: the simulator %s cannot be loaded\n", TALVERN_SIM_LIBRARY);
        return 1;
    }
    gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    NoSleep noSleep;
    instrument::ScopedSleeper useSleeper(noSleep);

    std::printf("RLC fit on the simulated analyzer: fixture 50 mOhm + 20 nH in series, 5 pF across\n");
    std::printf("%-14s %5s %6s   value simulated  fitted     error\n", "kind", "steps", "noise");
    for (const Circuit& circuit : kCircuits) {
        for (const double steps : {10.0, 50.0}) {
            for (const char* noise : {"0", "0.001"}) {
                const std::string config = std::string("reset;time_factor=0;noise=") + noise +
                                           ";series_r=0.05;series_l=20n;parallel_c=5p;dut=" + circuit.dut;
                if (configure(config.c_str()) != 0) {
                    std::fprintf(stderr, "bench_rlc_accuracy: configuration refused: %s\n", config.c_str());
                    return 1;
                }
                appData() = ApplicationData{};
                SimulatedOperator user(configure, "DUT");
                SetPrompter(&user);
                BasicAnalyzerHost host;
                Analyzer2600Engine engine(host);
                std::printf("%-14s %5g %6s", CircuitKindText(circuit.kind).c_str(), steps, noise);
                if (!engine.InitDialogStage2("")) {
                    std::printf("  the analyzer could not be opened\n");
                    SetPrompter(nullptr);
                    continue;
                }
                HeadlessMeasurementSetup setup;
                setup.start = circuit.start;
                setup.stop = circuit.stop;
                setup.stepsPerDecade = steps;
                setup.kind = circuit.kind;
                HeadlessMeasurement measurement(engine, host, user, setup);
                if (measurement.Run() != HeadlessMeasurement::Outcome::Done) {
                    std::printf("  the measurement failed\n");
                } else {
                    const ModelValues v = measurement.Model().Values();
                    PrintValue("R", circuit.r, v.r);
                    PrintValue(circuit.kind == KIND_R_PLUS_R_PAR_C ? "Rp" : "L", circuit.second, v.second);
                    PrintValue("C", circuit.c, v.c);
                    std::printf("\n");
                }
                engine.ShutDownAnalyzer();
                QCoreApplication::processEvents();
                SetPrompter(nullptr);
            }
        }
    }
    return 0;
}
