#pragma once
// Starting values for the refinement read off the curve's characteristic points (the ends of
// the sweep, the points of smallest and largest |Z|, of smallest |phase|, the most inductive and
// most capacitive points, the resonances), so that a kind whose closed-form estimate is "N/A"
// or poor still starts near its minimum.
#include <vector>

#include "rlc/model/ImpedanceCurve.h"
#include "rlc/model/ModelFit.h"

// Every combination of the candidates for the values `kind` uses (unused values -1).
std::vector<ModelValues> CharacteristicStarts(const std::vector<ImpedanceSample>& samples, int kind);
