// A report, not a timing: the RLC panel's whole measurement on the simulated analyzer for each
// of the eleven circuit kinds as the device under test, in a fixture with parasitics (50 mOhm
// and 20 nH in series, 5 pF across the terminals), at 10 and 50 steps per decade over a sweep
// holding the rule's points and at 10 steps per decade from 10 Hz to 1 MHz, without and with
// the simulator's default noise. Prints the closed-form estimate and the least-squares
// refinement against the simulated values with their relative errors, and the refinement's
// relative uncertainty. Runs through the same workflow, adapters and engine as the panel.
#include <QCoreApplication>

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "rlc/adapters/HeadlessMeasurement.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelRefinement.h"

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

struct Sweep {
    double steps;
    bool wide;  // 10 Hz to 1 MHz instead of the circuit's own range
};

// One value: simulated, estimated and refined, with the relative errors and uncertainty. The
// worst refined error of the table's targets is kept in `worst`.
void PrintValue(const char* label, double simulated, double estimate, double refined, double uncertainty,
                double& worst)
{
    if (simulated == 0)
        return;
    std::printf("  %-2s %-8.4g", label, simulated);
    if (estimate > 0)
        std::printf(" %+9.4f%%", 100.0 * (estimate / simulated - 1.0));
    else
        std::printf(" %10s", "N/A");
    if (refined > 0) {
        const double error = refined / simulated - 1.0;
        worst = std::max(worst, std::fabs(error));
        std::printf(" %+10.6f%% u %8.6f%%", 100.0 * error, 100.0 * uncertainty / refined);
    } else {
        worst = HUGE_VAL;
        std::printf(" %11s %12s", "N/A", "");
    }
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
    std::printf("errors relative to the simulated value: estimate, refined, refined standard uncertainty\n");
    std::printf("%-14s %5s %-11s %6s   value  estimate   refined         uncertainty\n", "kind", "steps", "sweep", "noise");
    double worstWideNoisy = 0, worstWideExact = 0;
    for (const Circuit& circuit : kCircuits) {
        for (const Sweep sweep : {Sweep{10, false}, Sweep{50, false}, Sweep{10, true}}) {
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
                const double start = sweep.wide ? 10 : circuit.start;
                const double stop = sweep.wide ? 1e6 : circuit.stop;
                char range[32];
                std::snprintf(range, sizeof range, "%g-%g", start, stop);
                std::printf("%-14s %5g %-11s %6s", CircuitKindText(circuit.kind).c_str(), sweep.steps, range, noise);
                if (!engine.InitDialogStage2("")) {
                    std::printf("  the analyzer could not be opened\n");
                    SetPrompter(nullptr);
                    continue;
                }
                HeadlessMeasurementSetup setup;
                setup.start = start;
                setup.stop = stop;
                setup.stepsPerDecade = sweep.steps;
                setup.kind = circuit.kind;
                HeadlessMeasurement measurement(engine, host, user, setup);
                const CDataSet* set = nullptr;
                if (measurement.Run() == HeadlessMeasurement::Outcome::Done && measurement.Document())
                    set = measurement.Document()->GetDataSet(measurement.Model().SelectedPosition());
                const auto refinement = set ? RefineModel(*set, circuit.kind) : std::nullopt;
                if (!refinement) {
                    std::printf("  the measurement failed\n");
                } else {
                    const ModelValues& e = refinement->estimate;
                    const ModelValues& r = refinement->refined;
                    const ModelValues& u = refinement->uncertainty;
                    double worst = 0;
                    PrintValue("R", circuit.r, e.r, r.r, u.r, worst);
                    PrintValue(circuit.kind == KIND_R_PLUS_R_PAR_C ? "Rp" : "L", circuit.second, e.second, r.second,
                               u.second, worst);
                    PrintValue("C", circuit.c, e.c, r.c, u.c, worst);
                    std::printf("  rms %.2e%s\n", refinement->residual, refinement->converged ? "" : " not converged");
                    if (sweep.wide) {
                        double& table = std::string(noise) == "0" ? worstWideExact : worstWideNoisy;
                        table = std::max(table, worst);
                    }
                }
                engine.ShutDownAnalyzer();
                QCoreApplication::processEvents();
                SetPrompter(nullptr);
            }
        }
    }
    std::printf("worst refined error at 10 steps per decade, 10 Hz to 1 MHz: %.2e without noise, "
                "%.3f%% with noise 0.001 (target 0.5%%)\n",
                worstWideExact, 100 * worstWideNoisy);
    return 0;
}
