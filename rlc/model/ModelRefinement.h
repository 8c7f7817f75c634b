#pragma once
// Least-squares refinement of a circuit kind's values over the whole measured impedance curve:
// the relative complex residual (Z_model - Z) / |Z| of every point is minimised with the values
// in logarithmic form (so they stay positive), starting from the closed-form estimate and from
// starts read off the curve's characteristic points.
#include <optional>

#include "rlc/model/ModelFit.h"

class CDataSet;

struct ModelRefinement {
    int kind = -1;
    ModelValues estimate;     // the closed-form estimate (-1: unknown)
    ModelValues refined;      // the refined values (-1 for values the kind does not use)
    ModelValues uncertainty;  // standard uncertainty of each refined value, in its unit (-1: none)
    double residual = -1;     // relative RMS residual of the refined values
    double estimateResidual = -1;  // the same of the estimate; infinite when a value is unknown
    bool converged = false;   // the solver met its tolerances at the values returned
    int points = 0;           // points of the curve the residual runs over
};

// Refines `kind` on the set's impedance (gain as |Z|, phase in degrees). Never worse than the
// estimate: when no start refines below the estimate's residual, the estimate is returned.
// Nothing for an unknown kind, or fewer usable points (f > 0, finite non-zero Z) than values;
// refined values and residual stay -1 when no start gives a finite residual.
std::optional<ModelRefinement> RefineModel(const CDataSet& set, int kind);
