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

// The rank score of a refinement: ln(max(rms, 1e-6)) + k x p over its k values, where each
// value costs p = max(ln 1.1, ln(m) / (2 m)) for m = 2 x points residuals. A richer kind thus
// ranks above a simpler one only when every added value lowers the residual by more than 10%,
// or by more than the Bayesian information criterion asks on short curves. Fitting noise gains
// about 1/m per value, a real part of the circuit orders of magnitude; a small systematic error
// left by the calibration (a few percent) does not make a part. The floor lies below what any
// reading resolves, so that kinds fitting to that level tie and the simpler one wins.
double ModelRankScore(const ModelRefinement& refinement);
