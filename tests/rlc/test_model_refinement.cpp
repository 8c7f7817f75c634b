#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ImpedanceCurves.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/CircuitNetwork.h"
#include "rlc/model/ModelPlot.h"
#include "rlc/model/ModelRefinement.h"

using namespace rlctest;

namespace {

struct RefineCase {
    const char* name;
    int kind;
    ModelValues truth;
    double start, stop;  // Hz
};

// Values whose every part shapes the curve between 10 Hz and 1 MHz.
const RefineCase kEveryKind[] = {
    {"R", KIND_R, {100, -1, -1}, 10, 1e6},
    {"L", KIND_L, {-1, 1e-3, -1}, 10, 1e6},
    {"C", KIND_C, {-1, -1, 1e-6}, 10, 1e6},
    {"RplusL", KIND_R_PLUS_L, {10, 1e-3, -1}, 10, 1e6},
    {"RplusC", KIND_R_PLUS_C, {10, -1, 1e-6}, 10, 1e6},
    {"RplusLplusC", KIND_R_PLUS_L_PLUS_C, {10, 1e-3, 1e-6}, 10, 1e6},
    {"RparL", KIND_R_PAR_L, {100, 1e-3, -1}, 10, 1e6},
    {"RparC", KIND_R_PAR_C, {1000, -1, 1e-6}, 10, 1e6},
    {"RplusRparC", KIND_R_PLUS_R_PAR_C, {100, 1000, 1e-6}, 10, 1e6},
    {"RplusLparC", KIND_R_PLUS_L_PAR_C, {10, 1e-3, 1e-6}, 10, 1e6},
    {"RparLparC", KIND_R_PAR_L_PAR_C, {100, 1e-3, 1e-6}, 10, 1e6},
    // No phase zero crossing in the sweep: the estimate of the series RLC is "N/A", the
    // refinement starts from the curve's characteristic points.
    {"RplusLplusCAboveResonance", KIND_R_PLUS_L_PLUS_C, {10, 1e-3, 1e-6}, 10e3, 1e6},
    // A parallel RC whose corner lies below the sweep (the estimate reads a point far from it).
    {"RparCAboveCorner", KIND_R_PAR_C, {1000, -1, 1e-6}, 1e3, 1e6},
};

void PrintTo(const RefineCase& c, std::ostream* os)
{
    *os << c.name;
}

void ExpectValues(const RefineCase& c, const ModelValues& got, double tolerance)
{
    const UsedValues used = ValuesUsedBy(c.kind);
    const auto check = [&](bool isUsed, double value, double truth, const char* which) {
        if (isUsed)
            EXPECT_NEAR(value / truth, 1.0, tolerance) << which << " = " << value;
        else
            EXPECT_EQ(value, -1) << which << " is not a value of this kind";
    };
    check(used.r, got.r, c.truth.r, "R");
    check(used.second, got.second, c.truth.second, "L/Rp");
    check(used.c, got.c, c.truth.c, "C");
}

class ExactCurve : public ::testing::TestWithParam<RefineCase> {};

// Without noise, at 10 steps per decade, every value comes back within 1e-6.
TEST_P(ExactCurve, RefinesToTheComponentValues)
{
    const RefineCase& c = GetParam();
    const auto set = CurveSet(LogFrequencies(c.start, c.stop, 10),
                              [&](double w) { return IdealImpedance(c.kind, c.truth, w); });
    const auto refined = RefineModel(*set, c.kind);
    ASSERT_TRUE(refined.has_value());
    EXPECT_TRUE(refined->converged);
    EXPECT_LT(refined->residual, 1e-9);
    EXPECT_LE(refined->residual, refined->estimateResidual);
    ExpectValues(c, refined->refined, 1e-6);
}

class NoisyCurve : public ::testing::TestWithParam<RefineCase> {};

// With 0.1% relative complex noise the values land within 0.5% of the truth and within four
// of their standard uncertainties, the uncertainties are of the size the noise gives, and the
// result is never worse than the estimate.
TEST_P(NoisyCurve, StaysWithinItsUncertainty)
{
    const RefineCase& c = GetParam();
    std::mt19937 random(12345);
    std::normal_distribution<double> noise(0.0, 1e-3 / std::sqrt(2.0));
    const auto set = CurveSet(LogFrequencies(c.start, c.stop, 10), [&](double w) {
        const Complex z = IdealImpedance(c.kind, c.truth, w);
        return z * (1.0 + Complex(noise(random), noise(random)));
    });
    const auto refined = RefineModel(*set, c.kind);
    ASSERT_TRUE(refined.has_value());
    EXPECT_TRUE(refined->converged);
    EXPECT_NEAR(refined->residual, 1e-3, 3e-4);
    EXPECT_LE(refined->residual, refined->estimateResidual);
    ExpectValues(c, refined->refined, 5e-3);
    const auto within = [](double value, double u, double truth, const char* which) {
        if (truth < 0)
            return;
        EXPECT_GT(u, 0) << which;
        EXPECT_LT(u / truth, 5e-3) << which;
        EXPECT_LT(std::fabs(value - truth), 4 * u) << which << " u = " << u;
    };
    within(refined->refined.r, refined->uncertainty.r, c.truth.r, "R");
    within(refined->refined.second, refined->uncertainty.second, c.truth.second, "L/Rp");
    within(refined->refined.c, refined->uncertainty.c, c.truth.c, "C");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ExactCurve, ::testing::ValuesIn(kEveryKind),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(EveryKind, NoisyCurve, ::testing::ValuesIn(kEveryKind),
                         [](const auto& info) { return std::string(info.param.name); });

// The network the refinement differentiates is the circuit "Create Plot" draws.
TEST(CircuitNetwork, AgreesWithThePlottedImpedance)
{
    const ModelValues values{12, 3.3e-3, 4.7e-7};
    for (int kind = 0; kind < kCircuitKindCount; ++kind)
        for (double w : {10.0, 3e3, 2e5}) {
            const Complex want = ModelImpedance(kind, values, w);
            const Complex got = NetworkImpedance(CircuitNetwork(kind), AsArray(values), w);
            EXPECT_NEAR(std::abs(got - want) / std::abs(want), 0, 1e-14) << "kind " << kind << " w " << w;
        }
}

TEST(RefineModel, NeedsAKnownKindAndAsManyPointsAsValues)
{
    const ModelValues truth{10, 1e-3, 1e-6};
    const auto z = [&](double w) { return IdealImpedance(KIND_R_PLUS_L_PLUS_C, truth, w); };
    EXPECT_FALSE(RefineModel(*CurveSet({1e3}, z), -1).has_value());
    EXPECT_FALSE(RefineModel(*CurveSet({1e3}, z), kCircuitKindCount).has_value());
    EXPECT_FALSE(RefineModel(CDataSet{}, KIND_R).has_value());

    const auto set = CurveSet({1e3, 1e4}, z);
    EXPECT_FALSE(RefineModel(*set, KIND_R_PLUS_L_PLUS_C).has_value());
    const auto two = RefineModel(*set, KIND_R_PLUS_L);
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ(two->points, 2);
}

}  // namespace
