#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ImpedanceCurves.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelFit.h"

using namespace rlctest;

namespace {

struct IdealCase {
    const char* name;
    int kind;
    ModelValues truth;
    double start, stop;
    // Relative tolerance at 50 points per decade: 1e-9 where the rule's point carries the
    // values exactly; otherwise what the rule can reach between samples (see each case).
    double tolerance;
};

class IdealComponentFit : public ::testing::TestWithParam<IdealCase> {};

TEST_P(IdealComponentFit, ReturnsTheComponentValues)
{
    const IdealCase& c = GetParam();
    const auto set = CurveSet(LogFrequencies(c.start, c.stop, 50),
                              [&](double w) { return IdealImpedance(c.kind, c.truth, w); });
    const auto fit = FitModel(*set, c.kind);
    ASSERT_TRUE(fit.has_value());
    const UsedValues used = ValuesUsedBy(c.kind);
    const auto check = [&](bool isUsed, double got, double want, const char* which) {
        if (isUsed) {
            EXPECT_NEAR(got / want, 1.0, c.tolerance) << which;
        } else {
            EXPECT_EQ(got, -1) << which << " is not estimated for this kind";
        }
    };
    check(used.r, fit->r, c.truth.r, "R");
    check(used.second, fit->second, c.truth.second, "L/Rp");
    check(used.c, fit->c, c.truth.c, "C");
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, IdealComponentFit,
    ::testing::Values(
        IdealCase{"R", KIND_R, {100, -1, -1}, 10, 1e5, 1e-9},
        IdealCase{"L", KIND_L, {-1, 1e-3, -1}, 10, 1e5, 1e-9},
        IdealCase{"C", KIND_C, {-1, -1, 1e-6}, 10, 1e5, 1e-9},
        IdealCase{"RplusL", KIND_R_PLUS_L, {10, 1e-3, -1}, 10, 1e5, 1e-9},
        IdealCase{"RplusC", KIND_R_PLUS_C, {10, -1, 1e-6}, 10, 1e5, 1e-9},
        // Q = 3: the phase passes zero smoothly, the log interpolation of w0 is close
        // (3e-4 measured).
        IdealCase{"RplusLplusC", KIND_R_PLUS_L_PLUS_C, {10, 1e-3, 1e-6}, 10, 1e5, 2e-3},
        IdealCase{"RparL", KIND_R_PAR_L, {1000, 10e-3, -1}, 10, 1e5, 1e-9},
        // Read at the sample nearest w R C = 1, up to half a step away: C = -1 / (2 X w) is off
        // by up to ln(10) / 100 = 2.3 % (first order in the step), R = -2 X much less.
        IdealCase{"RparC", KIND_R_PAR_C, {1000, -1, 1e-6}, 10, 1e5, 2.5e-2},
        // The same point; R = Re + X errs by about Rp times the step offset, so R = Rp here.
        IdealCase{"RplusRparC", KIND_R_PLUS_R_PAR_C, {1000, 1000, 1e-6}, 10, 1e5, 2.5e-2},
        // High-Q parallel resonances: the phase jumps between the two samples around w0, the
        // interpolation puts w0 up to half a step (2.3 %) off, and C or L carries w0^2 (4.7 %).
        IdealCase{"RplusLparC", KIND_R_PLUS_L_PAR_C, {1, 1e-3, 1e-6}, 10, 1e5, 5e-2},
        IdealCase{"RparLparC", KIND_R_PAR_L_PAR_C, {1000, 1e-3, 1e-6}, 10, 1e5, 5e-2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModelFit, ResistorWithPhaseNoiseIsReadAtTheSmallestPhase)
{
    CDataSet set;
    const double phases[] = {0.8, -0.5, 0.05, -0.3, 0.6};
    double f = 100;
    for (double p : phases) {
        set.AddPoint(f, 1, 0, 100, p);
        f *= 10;
    }
    const auto fit = FitModel(set, KIND_R);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->r, 100 * std::cos(0.05 * kPi / 180));
}

TEST(ModelFit, TiesGoToTheLowestFrequencyAlsoInADescendingSet)
{
    // Stored from high to low frequency; the fit works in ascending order, so of two equal
    // |phase| values the one at 10 Hz wins although it comes last in the set.
    CDataSet set;
    set.AddPoint(1000, 1, 0, 50, 1);
    set.AddPoint(100, 1, 0, 60, 2);
    set.AddPoint(10, 1, 0, 70, -1);
    const auto fit = FitModel(set, KIND_R);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->r, 70 * std::cos(kPi / 180));

    // Kind 1 among equal susceptances: the lowest frequency again.
    CDataSet inductive;
    inductive.AddPoint(200, 1, 0, 2, 90);
    inductive.AddPoint(100, 1, 0, 2, 90);
    const auto l = FitModel(inductive, KIND_L);
    ASSERT_TRUE(l);
    EXPECT_NEAR(l->second, 2 / (2 * kPi * 100), 1e-15);
}

TEST(ModelFit, MissingFeaturesLeaveValuesUnknown)
{
    // A pure capacitor: nothing inductive, no phase zero crossing in either direction.
    const auto capacitor = CurveSet(LogFrequencies(10, 1e5, 10),
                                    [](double w) { return 1.0 / Complex(0, w * 1e-6); });
    for (int kind : {KIND_L, KIND_R_PLUS_L_PLUS_C, KIND_R_PAR_L, KIND_R_PAR_L_PAR_C}) {
        const auto fit = FitModel(*capacitor, kind);
        ASSERT_TRUE(fit) << kind;
        EXPECT_EQ(fit->r, -1) << kind;
        EXPECT_EQ(fit->second, -1) << kind;
        EXPECT_EQ(fit->c, -1) << kind;
    }
    // R + (L || C) finds L and R below the parallel resonance; without the resonance in the
    // sweep C stays unknown.
    const auto below = CurveSet(LogFrequencies(10, 1000, 20), [](double w) {
        return 1.0 + 1.0 / (1.0 / Complex(0, w * 1e-3) + Complex(0, w * 1e-6));
    });
    const auto fit = FitModel(*below, KIND_R_PLUS_L_PAR_C);
    ASSERT_TRUE(fit);
    EXPECT_GT(fit->second, 0);
    EXPECT_NEAR(fit->r, 1, 1e-9);
    EXPECT_EQ(fit->c, -1);

    CDataSet empty;
    EXPECT_FALSE(FitModel(empty, KIND_R));
    EXPECT_FALSE(FitModel(*capacitor, 11));
    EXPECT_FALSE(FitModel(*capacitor, -1));
}

TEST(ModelFit, SeriesResonanceGivesLAndCOfThatResonance)
{
    // Q = 14 at 20 points per decade: w0 comes from the crossing interpolated on log w
    // (1.2 % off here), and L C reproduces that w0.
    const ModelValues truth{5, 2.2e-3, 470e-9};
    const auto set = CurveSet(LogFrequencies(100, 1e6, 20), [&](double w) {
        return Complex(truth.r, w * truth.second - 1 / (w * truth.c));
    });
    const auto fit = FitModel(*set, KIND_R_PLUS_L_PLUS_C);
    ASSERT_TRUE(fit);
    const double w0 = 1 / std::sqrt(truth.second * truth.c);
    EXPECT_NEAR(1 / std::sqrt(fit->second * fit->c) / w0, 1, 2e-2);
    EXPECT_NEAR(fit->r, truth.r, 0.05);
}

TEST(ModelFit, ParallelRCIsReadAtTheMostNegativeReactance)
{
    // 1 kOhm || 1 uF at 10 points per decade: w R C = 1 lies at 159 Hz; the point nearest it
    // (158.5 Hz) is chosen and R = -2 X there is close to 1 kOhm.
    const auto set = CurveSet(LogFrequencies(1, 1e5, 10), [](double w) {
        return 1.0 / Complex(1e-3, w * 1e-6);
    });
    const auto fit = FitModel(*set, KIND_R_PAR_C);
    ASSERT_TRUE(fit);
    EXPECT_NEAR(fit->r, 1000, 1);
    EXPECT_NEAR(fit->c, 1e-6, 1e-8);
}

}  // namespace
