#include "rlc/model/ModelChoice.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "rlc/model/CircuitKind.h"

namespace {

constexpr double kResidualFloor = 1e-6;
// The factor by which each added value must lower the residual.
constexpr double kGainPerValue = 1.1;

int ValueCount(int kind)
{
    const UsedValues used = ValuesUsedBy(kind);
    return int(used.r) + int(used.second) + int(used.c);
}

}  // namespace

double ModelRankScore(const ModelRefinement& refinement)
{
    if (!(refinement.residual >= 0) || !std::isfinite(refinement.residual) || refinement.points <= 0)
        return std::numeric_limits<double>::infinity();
    const double m = 2.0 * refinement.points;
    const double perValue = std::max(std::log(kGainPerValue), std::log(m) / (2 * m));
    return std::log(std::max(refinement.residual, kResidualFloor)) + ValueCount(refinement.kind) * perValue;
}

std::vector<RankedModel> RankModels(const CDataSet& set)
{
    std::vector<RankedModel> ranking;
    for (int kind = 0; kind < kCircuitKindCount; ++kind)
        if (const auto refinement = RefineModel(set, kind))
            ranking.push_back({*refinement, ModelRankScore(*refinement)});
    std::stable_sort(ranking.begin(), ranking.end(),
                     [](const RankedModel& a, const RankedModel& b) { return a.score < b.score; });
    return ranking;
}
