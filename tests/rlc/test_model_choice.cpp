#include <gtest/gtest.h>

#include <random>

#include "ImpedanceCurves.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelChoice.h"

using namespace rlctest;

namespace {

struct ChoiceCase {
    int kind;
    ModelValues truth;
};

// Each kind with values whose every part shapes the curve between 10 Hz and 1 MHz.
const ChoiceCase kKinds[] = {
    {KIND_R, {100, -1, -1}},
    {KIND_L, {-1, 1e-3, -1}},
    {KIND_C, {-1, -1, 1e-6}},
    {KIND_R_PLUS_L, {10, 1e-3, -1}},
    {KIND_R_PLUS_C, {10, -1, 1e-6}},
    {KIND_R_PLUS_L_PLUS_C, {10, 1e-3, 1e-6}},
    {KIND_R_PAR_L, {100, 1e-3, -1}},
    {KIND_R_PAR_C, {1000, -1, 1e-6}},
    {KIND_R_PLUS_R_PAR_C, {100, 1000, 1e-6}},
    {KIND_R_PLUS_L_PAR_C, {10, 1e-3, 1e-6}},
    {KIND_R_PAR_L_PAR_C, {100, 1e-3, 1e-6}},
};

class ModelChoice : public ::testing::TestWithParam<std::tuple<ChoiceCase, double>> {};

// The simulated kind ranks first, exact or with 0.1% noise: the richer kinds that contain it
// (R + L + C for an R + L, with C growing without bound) fit as well but pay for their values.
TEST_P(ModelChoice, RanksTheSimulatedKindFirst)
{
    const auto& [c, noiseLevel] = GetParam();
    std::mt19937 random(777);
    std::normal_distribution<double> noise(0.0, noiseLevel / std::sqrt(2.0));
    const auto set = CurveSet(LogFrequencies(10, 1e6, 10), [&](double w) {
        return IdealImpedance(c.kind, c.truth, w) * (1.0 + Complex(noise(random), noise(random)));
    });
    const std::vector<RankedModel> ranking = RankModels(*set);
    ASSERT_EQ(ranking.size(), static_cast<size_t>(kCircuitKindCount));
    EXPECT_EQ(ranking.front().refinement.kind, c.kind)
        << "ranked first: " << CircuitKindText(ranking.front().refinement.kind) << " (residual "
        << ranking.front().refinement.residual << ")";
    for (size_t i = 1; i < ranking.size(); ++i)
        EXPECT_LE(ranking[i - 1].score, ranking[i].score);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ModelChoice,
                         ::testing::Combine(::testing::ValuesIn(kKinds), ::testing::Values(0.0, 1e-3)),
                         [](const auto& info) {
                             return "Kind" + std::to_string(std::get<0>(info.param).kind) +
                                    (std::get<1>(info.param) > 0 ? "Noisy" : "Exact");
                         });

TEST(ModelChoice, LeavesOutKindsWithMoreValuesThanPoints)
{
    const auto set = CurveSet({1e3}, [](double) { return Complex(50, 0); });
    const std::vector<RankedModel> ranking = RankModels(*set);
    ASSERT_EQ(ranking.size(), 3u);  // R, L and C alone
    EXPECT_EQ(ranking.front().refinement.kind, KIND_R);
    EXPECT_TRUE(RankModels(CDataSet{}).empty());
}

}  // namespace
