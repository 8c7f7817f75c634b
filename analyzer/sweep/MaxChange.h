#pragma once
// Maximum change: compares each reading with the previous accepted one and refines the frequency
// step (retaking the point) when gain or phase changed too much, or coarsens it back towards the
// user's step when the response changes slowly.

#include <string>

#include "analyzer/sweep/SweepState.h"

namespace analyzer {

struct MaxChangeSettings {
    bool gainOn = false;
    double gainLimitDb = 10.0;
    bool phaseOn = false;
    double phaseLimitDegrees = 20.0;
};

// Change codes: 0 no previous reading (or no change that can be computed), 1 below half the
// limit, 2 within the limit, 3 beyond it.
int GainCheck(const SweepState& state, double limitDb);
// The phase change is folded into 0..180 degrees, so +179 to -179 counts as 2.
int PhaseCheck(const SweepState& state, double limitDegrees);

struct StepAdjustment {
    bool accept = true;
    bool stepChanged = false;  // the step in use changed: Steps/Decade or Frequency Step shows it
    std::string logLine;
};
// Either code 3: halve the step (double the steps per decade), at most to 32 times the user's
// resolution, 2000 steps per decade or 0.0001 Hz, and retake the point. Else, no code 2 and some
// code 1: one factor of two back towards the user's step.
StepAdjustment AdjustStepForMaxChange(SweepState& state, int gainCode, int phaseCode);

} // namespace analyzer
