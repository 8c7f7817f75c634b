// The least-squares refinement of one circuit kind, and the model choice over all eleven, on
// a 500-point impedance curve (10 Hz to 1 MHz) with 0.1% noise. Targets: one kind <= 50 ms,
// the choice <= 500 ms. Timed in thread processor time, so a loaded machine does not inflate it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <memory>
#include <random>

#include "data/DataSet.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/CircuitNetwork.h"
#include "rlc/model/ModelChoice.h"
#include "rlc/model/ModelRefinement.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kPoints = 500;

// The values each kind is simulated with (as in the accuracy report).
const ModelValues kTruth[kCircuitKindCount] = {
    {100, -1, -1}, {-1, 1e-3, -1}, {-1, -1, 1e-6}, {10, 1e-3, -1}, {10, -1, 1e-6}, {10, 1e-3, 1e-6},
    {100, 1e-3, -1}, {1000, -1, 1e-6}, {100, 1000, 1e-6}, {10, 1e-3, 1e-6}, {100, 1e-3, 1e-6},
};

std::unique_ptr<CDataSet> NoisyCurve(int kind)
{
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0.0, 1e-3 / std::sqrt(2.0));
    auto set = std::make_unique<CDataSet>();
    set->m_inputNode = 1;
    set->m_outputNode = 2;
    const auto network = CircuitNetwork(kind);
    for (int i = 0; i < kPoints; ++i) {
        const double f = 10 * std::pow(1e5, static_cast<double>(i) / (kPoints - 1));
        const std::complex<double> z = NetworkImpedance(network, AsArray(kTruth[kind]), 2 * kPi * f) *
                                       (1.0 + std::complex<double>(noise(random), noise(random)));
        set->AddPoint(f, 1, 0, std::abs(z), std::arg(z) * 180 / kPi);
    }
    set->SetScaleFactor(1);
    return set;
}

void BM_RefineOneKind(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    const auto set = NoisyCurve(kind);
    for (auto _ : state)
        benchmark::DoNotOptimize(RefineModel(*set, kind));
    state.SetLabel(CircuitKindText(kind));
}
BENCHMARK(BM_RefineOneKind)->DenseRange(0, kCircuitKindCount - 1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ChooseModel(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    const auto set = NoisyCurve(kind);
    for (auto _ : state)
        benchmark::DoNotOptimize(RankModels(*set));
    state.SetLabel(CircuitKindText(kind) + " simulated");
}
BENCHMARK(BM_ChooseModel)->Arg(KIND_R)->Arg(KIND_R_PLUS_L_PAR_C)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
