#pragma once
// Model choice: every circuit kind refined on the same curve and ranked by its residual with a
// penalty for the number of values, so that a simpler kind wins when it explains the data as
// well as a richer one.
#include <vector>

#include "rlc/model/ModelRefinement.h"

struct RankedModel {
    ModelRefinement refinement;
    double score;  // lower is better; infinite for a kind that could not be refined
};

// The kinds refined and ordered best first (ties by kind); a kind with more values than the
// set has usable points is left out.
std::vector<RankedModel> RankModels(const CDataSet& set);

// The rank score of a refinement: m ln(max(rms, floor)^2) + k ln(m) over m = 2 x points
// residuals and k values (the Bayesian information criterion). The floor, 1e-6, lies below
// what any reading resolves, so that kinds fitting to that level count as explaining the data
// equally and the penalty decides.
double ModelRankScore(const ModelRefinement& refinement);
