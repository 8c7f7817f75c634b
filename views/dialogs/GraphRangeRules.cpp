#include "views/dialogs/GraphRangeRules.h"

#include <algorithm>
#include <cmath>

namespace {

double Clamp(double value, double low, double high)
{
    if (std::isnan(value))
        return low;
    return std::clamp(value, low, high);
}

}  // namespace

void ApplyRangeRule(GraphRanges& r, RangeField changed, SettingsKind kind)
{
    const bool impedance = kind == SettingsKind::Impedance;
    const double valueLow = impedance ? 1e-99 : -10000, valueHigh = impedance ? 1e99 : 10000;
    switch (changed) {
    case RangeField::FrequencyMin:
        r.frequencyMin = Clamp(r.frequencyMin, 1e-6, 1e15);
        if (r.frequencyMax < r.frequencyMin)
            r.frequencyMax = r.frequencyMin;
        break;
    case RangeField::FrequencyMax:
        r.frequencyMax = Clamp(r.frequencyMax, 1e-6, 1e15);
        if (!impedance && r.frequencyMin > r.frequencyMax)
            r.frequencyMin = r.frequencyMax;
        break;
    case RangeField::ValueMin:
        r.valueMin = Clamp(r.valueMin, valueLow, valueHigh);
        if (r.valueMax < r.valueMin)
            r.valueMax = r.valueMin;
        break;
    case RangeField::ValueMax:
        r.valueMax = Clamp(r.valueMax, valueLow, valueHigh);
        if (r.valueMin > r.valueMax)
            r.valueMin = r.valueMax;
        break;
    case RangeField::PhaseMin:
        r.phaseMin = Clamp(r.phaseMin, -10000, 10000);
        if (r.phaseMax < r.phaseMin)
            r.phaseMax = r.phaseMin;
        if (r.phaseMax - r.phaseMin > 360)
            r.phaseMax = r.phaseMin + 360;
        break;
    case RangeField::PhaseMax:
        r.phaseMax = Clamp(r.phaseMax, -10000, 10000);
        if (r.phaseMin > r.phaseMax)
            r.phaseMin = r.phaseMax;
        else if (r.phaseMax - r.phaseMin > 360)
            r.phaseMin = r.phaseMax - 360;
        break;
    }
}

void ApplyRangeRulesOnOk(GraphRanges& ranges, SettingsKind kind)
{
    for (RangeField field : {RangeField::FrequencyMax, RangeField::FrequencyMin, RangeField::ValueMax,
                             RangeField::ValueMin, RangeField::PhaseMax, RangeField::PhaseMin})
        ApplyRangeRule(ranges, field, kind);
}
