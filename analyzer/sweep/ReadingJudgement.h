#pragma once
// Judging one reading before it is accepted: the servo check, the maximum-change checks and step
// adjustment, and the servo's output for the next point.

#include <optional>
#include <string>
#include <vector>

#include "analyzer/sweep/FamilyTexts.h"
#include "analyzer/sweep/MaxChange.h"
#include "analyzer/sweep/Servo.h"
#include "analyzer/sweep/SweepState.h"

namespace analyzer {

struct Judgement {
    bool accept = true;
    bool stepChanged = false;             // show the step in use in Steps/Decade or Frequency Step
    std::optional<double> nextAmplitude;  // servo on: AC Volts Out for the next point, before the
                                          // family's amplitude limits
    std::vector<std::string> logLines;    // for the communication log, in order
    std::vector<std::string> messages;    // message-box texts (caption kAnalyzerMenuCaption)
};

// Servo on: find the channel and verify the reading. During a sweep and if still accepted: the
// enabled checks and the step adjustment. Servo on: predict the next output. A reading that is
// not accepted is replaced by the previous one, so the next point is taken at its frequency again
// (or closer, when the step was refined).
Judgement JudgeReading(SweepState& state, const ServoSettings& servo, const MaxChangeSettings& maxChange,
                       bool sweeping, const FamilyTexts& texts);

} // namespace analyzer
