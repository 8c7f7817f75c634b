#include "views/slidebar/SlideBarMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kNoValue = 9e99;

}  // namespace

double InitialSlideBarFrequency(double frequencyMin, double frequencyMax, int existing)
{
    const double start = std::pow(10.0, (std::log10(frequencyMax) + 2 * std::log10(frequencyMin)) / 3);
    return std::clamp(start * std::pow(2.0, existing), frequencyMin, std::max(frequencyMin, frequencyMax));
}

ClientPoint SlideBarDialogPosition(int existing, int clientWidth, int clientHeight)
{
    return {std::min(20 * existing, clientWidth - 16), std::min(20 * existing, clientHeight - 16)};
}

double TypedSlideBarFrequency(double typed, double setMin, double setMax, double displayMin, double displayMax,
                              double previous)
{
    if (std::isnan(typed))
        return previous;
    const double g = std::min(std::max(typed, setMin), setMax);
    if (g < displayMin || g > displayMax)
        return previous;
    return g;
}

double WrapPhaseToWindow(double phase, double phaseMin, double phaseMax)
{
    if (phase >= kNoValue || !std::isfinite(phase))
        return phase;
    const double centre = (phaseMin + std::min(phaseMax, phaseMin + 360)) / 2;
    // Whole turns first, so a phase far outside the window costs no long loop.
    if (std::fabs(phase - centre) > 720)
        phase -= 360 * std::trunc((phase - centre) / 360);
    while (phase <= centre - 180)
        phase += 360;
    while (phase > centre + 180)
        phase -= 360;
    return phase;
}

EquivalentCircuit ComputeEquivalentCircuit(double frequency, double magnitude, double phaseDegrees, bool parallel)
{
    EquivalentCircuit c;
    if (magnitude >= kNoValue || phaseDegrees >= kNoValue || !std::isfinite(magnitude) || !std::isfinite(phaseDegrees))
        return c;
    const double p = phaseDegrees * std::numbers::pi / 180, w = 2 * std::numbers::pi * frequency;
    c.valid = true;
    c.capacitance = std::sin(p) < 0;
    if (!parallel) {
        c.resistance = magnitude * std::cos(p);
        c.reactive = c.capacitance ? -1 / (w * magnitude * std::sin(p)) : magnitude * std::sin(p) / w;
    } else {
        c.resistance = magnitude / std::cos(p);
        c.reactive = c.capacitance ? -std::sin(p) / (w * magnitude) : magnitude / (w * std::sin(p));
    }
    return c;
}
