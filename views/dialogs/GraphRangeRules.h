#pragma once
// The range rules of the gain and impedance graph settings dialogs: each field is clamped to
// its limits when it loses the focus and its partner follows so that the minimum never exceeds
// the maximum (and the phase window spans at most 360 degrees).
enum class RangeField { FrequencyMin, FrequencyMax, ValueMin, ValueMax, PhaseMin, PhaseMax };
enum class SettingsKind { Gain, Impedance };

struct GraphRanges {
    double frequencyMin = 1, frequencyMax = 1e6;
    double valueMin = -60, valueMax = 60;  // gain in dB or impedance in ohms
    double phaseMin = -180, phaseMax = 180;
};

// Applies the rule of `changed` after the user left that field.
void ApplyRangeRule(GraphRanges& ranges, RangeField changed, SettingsKind kind);
// OK: the fields in the order frequency Max, Min, value Max, Min, phase Max, Min.
void ApplyRangeRulesOnOk(GraphRanges& ranges, SettingsKind kind);
