#include "analyzer/sweep/MaxChange.h"

#include <algorithm>
#include <cmath>

#include "analyzer/sweep/NumberText.h"

namespace analyzer {

namespace {

bool ValidChannel(int channel) { return channel >= 1 && channel <= 4; }

int ChangeCode(double change, double limit)
{
    if (std::isnan(change))
        return 0;
    if (change < limit / 2.0)
        return 1;
    if (change <= limit)
        return 2;
    return 3;
}

double GainDb(const Reading& r, int numerator, int denominator)
{
    return 20.0 * std::log10(r.amplitude[numerator - 1] / r.amplitude[denominator - 1]);
}

} // namespace

int GainCheck(const SweepState& state, double limitDb)
{
    const int n = state.numeratorChannel;
    const int d = state.denominatorChannel;
    if (!(state.previous.frequency > 0.0) || !ValidChannel(n) || !ValidChannel(d))
        return 0;
    const double change = std::fabs(GainDb(state.reading, n, d) - GainDb(state.previous, n, d));
    return ChangeCode(change, limitDb);
}

int PhaseCheck(const SweepState& state, double limitDegrees)
{
    const int n = state.numeratorChannel;
    const int d = state.denominatorChannel;
    if (!(state.previous.frequency > 0.0) || !ValidChannel(n) || !ValidChannel(d))
        return 0;
    const Reading& r = state.reading;
    const Reading& p = state.previous;
    double change = std::fabs((r.phase[n - 1] - r.phase[d - 1]) - (p.phase[n - 1] - p.phase[d - 1]));
    change = std::fmod(change, 360.0);
    if (change > 180.0)
        change = 360.0 - change;
    return ChangeCode(change, limitDegrees);
}

StepAdjustment AdjustStepForMaxChange(SweepState& state, int gainCode, int phaseCode)
{
    StepAdjustment result;
    if (gainCode == 3 || phaseCode == 3) {
        if (state.logSweep) {
            const double finest = std::min(2000.0, 32.0 * state.userStepsPerDecade);
            if (state.stepsPerDecade < finest) {
                state.stepsPerDecade = std::min(2.0 * state.stepsPerDecade, finest);
                result = {false, true,
                          FormatNumberText("Max Change has changed the frequency step to %f steps per "
                                           "decade and will retake the current data point.\r\n",
                                           state.stepsPerDecade)};
            }
        } else {
            const double finest = std::max(0.0001, state.userStep * 0.03125);
            if (state.step > finest) {
                state.step = std::max(state.step / 2.0, finest);
                result = {false, true,
                          FormatNumberText("Max Change has changed the frequency step to %f Hz. and "
                                           "will retake the current data point.\r\n",
                                           state.step)};
            }
        }
        return result;
    }
    if (gainCode != 2 && phaseCode != 2 && (gainCode == 1 || phaseCode == 1)) {
        if (state.logSweep) {
            if (state.stepsPerDecade != state.userStepsPerDecade) {
                state.stepsPerDecade = std::max(state.stepsPerDecade / 2.0, state.userStepsPerDecade);
                result = {true, true,
                          FormatNumberText("Max Change has changed the frequency step to %f steps per "
                                           "decade.\r\n",
                                           state.stepsPerDecade)};
            }
        } else if (state.step != state.userStep) {
            state.step = std::min(2.0 * state.step, state.userStep);
            result = {true, true,
                      FormatNumberText("Max Change has changed the frequency step to %f Hz.\r\n", state.step)};
        }
    }
    return result;
}

} // namespace analyzer
