#include "analyzer/sweep/FrequencyStepping.h"

#include <algorithm>
#include <cmath>

#include "analyzer/sweep/NumberText.h"

namespace analyzer {

namespace {

// The nearest frequency above (or below) sent that "%.4G" writes differently; sent has four
// significant digits and is positive.
double NeighbourAsSent(double sent, bool up)
{
    // Below a power of ten the digits are ten times finer than at it.
    const double decade = std::floor(std::log10(up ? sent : sent * (1.0 - 1e-9)));
    const double spacing = std::pow(10.0, decade - 3.0);
    return RoundToSignificant(up ? sent + spacing : sent - spacing, 4);
}

} // namespace

double NextFrequency(const SweepState& state, bool startFrequencyMode)
{
    if (startFrequencyMode)
        return state.startFrequency;
    const double f = (state.reading.frequency > 0.0) ? state.reading.frequency : state.startFrequency;
    const double direction = state.ascending ? 1.0 : -1.0;
    // A step that cannot be taken (no step, no positive frequency) goes straight to the stop
    // rather than measuring the same point for ever.
    double next;
    if (state.logSweep) {
        if (!(state.stepsPerDecade > 0.0) || !(f > 0.0))
            return state.stopFrequency;
        next = std::pow(10.0, std::log10(f) + direction / state.stepsPerDecade);
    } else {
        if (!(state.step > 0.0))
            return state.stopFrequency;
        next = f + direction * state.step;
    }
    if (!std::isfinite(next))
        return state.stopFrequency;
    // A step finer than the four digits the analyzer is told would measure the same frequency
    // again: the next point is the next frequency that is sent differently.
    const double sent = RoundToSignificant(f, 4);
    if (sent > 0.0 && RoundToSignificant(next, 4) == sent)
        next = NeighbourAsSent(sent, state.ascending);
    return state.ascending ? std::min(next, state.stopFrequency) : std::max(next, state.stopFrequency);
}

bool ReachedStopFrequency(double frequency, const SweepState& state)
{
    // Frequencies are sent with four significant digits: a reading whose frequency rounds to the
    // stop frequency's would only be measured again.
    const double stop = RoundToSignificant(state.stopFrequency, 4);
    const double at = RoundToSignificant(frequency, 4);
    return state.ascending ? (stop <= at || state.stopFrequency <= frequency)
                           : (stop >= at || state.stopFrequency >= frequency);
}

namespace {

bool Limit(double& value, const FrequencyLimits& limits, std::vector<std::string>& log)
{
    if (!(value >= limits.minimum)) {
        value = limits.minimum;
        log.push_back(FormatNumberText("Freq limited to %g.\r\n", limits.minimum));
        return true;
    }
    if (value > limits.maximumForSettings) {
        value = limits.maximumForSettings;
        log.push_back(FormatNumberText(limits.maximumMessage, limits.maximumForSettings));
        return true;
    }
    return false;
}

} // namespace

FrequencyLimitResult CheckFrequencyLimits(double& start, double& stop, FrequencyLimits& limits)
{
    if (limits.maximumForSettings > limits.maximum)
        limits.maximumForSettings = limits.maximum;
    FrequencyLimitResult result;
    result.stopChanged = Limit(stop, limits, result.logLines);
    result.startChanged = Limit(start, limits, result.logLines);
    result.ascending = stop > start;
    return result;
}

int SweepProgressPercent(double frequency, double rangeStart, double rangeStop)
{
    if (!(frequency > 0.0 && rangeStart > 0.0 && rangeStop > 0.0) || rangeStart == rangeStop)
        return 0;
    const double percent = (std::log10(frequency) - std::log10(rangeStart))
                           / (std::log10(rangeStop) - std::log10(rangeStart)) * 100.0;
    return static_cast<int>(std::clamp(percent, 0.0, 100.0));
}

} // namespace analyzer
