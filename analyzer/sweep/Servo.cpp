#include "analyzer/sweep/Servo.h"

#include <algorithm>
#include <cmath>

#include "analyzer/sweep/NumberText.h"

namespace analyzer {

ServoChoice ServoChoiceFromEntry(std::string_view entry)
{
    const char c = entry.size() > 3 ? entry[3] : '\0';
    switch (c) {
    case 'l': return ServoChoice::Smaller;
    case 'g': return ServoChoice::Larger;
    case '4': return ServoChoice::Channel4;
    case '3': return ServoChoice::Channel3;
    case '2': return ServoChoice::Channel2;
    default: return ServoChoice::Channel1;
    }
}

ServoChannel OnServoFindChannel(const SweepState& state, ServoChoice choice, const FamilyTexts& texts)
{
    switch (choice) {
    case ServoChoice::Channel1: return {1, {}};
    case ServoChoice::Channel2: return {2, {}};
    case ServoChoice::Channel3: return {3, {}};
    case ServoChoice::Channel4: return {4, {}};
    case ServoChoice::Larger:
    case ServoChoice::Smaller: {
        int first = 0;
        int second = 0;
        switch (state.numeratorChannel + state.denominatorChannel) {
        case 3: first = 1; second = 2; break;
        case 4: first = 1; second = 3; break;
        case 5: first = 2; second = 3; break;
        default:
            return {1, "Error in Servo part of " + texts.dialogClass + "::" + texts.sweepHandler};
        }
        const double a = state.reading.amplitude[first - 1];
        const double b = state.reading.amplitude[second - 1];
        if (choice == ServoChoice::Larger)
            return {a >= b ? first : second, {}};
        return {a <= b ? first : second, {}};
    }
    }
    return {1, "Error in " + texts.dialogClass + "::OnServoFindChannel"};
}

ServoVerdict OnServoVerifyNewDataPoint(SweepState& state, int channel, const ServoSettings& servo,
                                       const FamilyTexts& texts)
{
    if (channel < 1 || channel > 4)
        return {true, {},
                "Error - in " + texts.dialogClass + "::OnServoVerifyNewDataPoint nChannel is invalid"};
    const double v = state.reading.amplitude[channel - 1];
    const double t = servo.acVoltsIn;
    if (0.7 * t < v && v < 1.3 * t) {
        state.servoRetried = false;
        return {true, {}, {}};
    }
    if (v <= 0.7 * t && state.reading.outputAmplitude >= servo.maxAcVoltsOut) {
        state.servoRetried = false;
        return {true, "Data point is out of Servo range but is accepted because AC Volts is at max.\r\n", {}};
    }
    if (!state.servoRetried) {
        state.servoRetried = true;
        return {false, "Servo will retry data point.\r\n", {}};
    }
    state.servoRetried = false;
    return {true,
            "Data point is out of Servo range but is accepted because servo already retried it once.\r\n",
            {}};
}

namespace {

bool Positive(double x) { return std::isfinite(x) && x > 0.0; }

// log10(output / channel amplitude) of a reading; not finite when either is not positive.
double OutputRatio(const Reading& r, int channel)
{
    return std::log10(r.outputAmplitude / r.amplitude[channel - 1]);
}

} // namespace

ServoPrediction OnServoPredictNextOscVoltage(const SweepState& state, int channel,
                                             const ServoSettings& servo)
{
    const double a = state.reading.outputAmplitude;
    if (channel < 1 || channel > 4)
        return {a, "Error - in OnServoPredictNextOscVoltage, nChannel is invalid"};
    if (!Positive(a))
        return {a, {}};

    const double s = std::max(servo.stepSizeDb, 0.0);
    const double v = state.reading.amplitude[channel - 1];
    double change;  // dB from the output in effect to the wanted output
    if (!Positive(v)) {
        change = s;  // nothing measured on the channel: raise the output by a full step
    } else {
        double r = OutputRatio(state.reading, channel);
        const Reading& p = state.previous;
        const double f = state.reading.frequency;
        const double fp = p.frequency;
        if (fp > 0.0 && fp != f && !state.servoRetried && Positive(p.outputAmplitude)
            && Positive(p.amplitude[channel - 1])) {
            const double rp = OutputRatio(p, channel);
            // The step is signed by the sweep's direction, so a descending sweep extrapolates
            // towards its own next frequency.
            const double direction = state.ascending ? 1.0 : -1.0;
            if (state.logSweep) {
                if (f > 0.0 && state.stepsPerDecade > 0.0)
                    r += (r - rp) * (direction / state.stepsPerDecade) / (std::log10(f) - std::log10(fp));
            } else {
                r += (r - rp) * (direction * state.step) / (f - fp);
            }
        }
        change = 20.0 * (std::log10(servo.acVoltsIn) + r - std::log10(a));
    }
    if (std::isnan(change))
        return {a, {}};

    double next;
    if (std::fabs(change) > s)
        next = a * std::pow(10.0, (change > 0 ? s : -s) / 20.0);
    else
        next = a * std::pow(10.0, change / 20.0);
    next = RoundToSignificant(next, 4);
    // The ceiling protects what the output drives: the servo never asks for more.
    if (servo.maxAcVoltsOut > 0.0 && next > servo.maxAcVoltsOut)
        next = servo.maxAcVoltsOut;
    return {next, {}};
}

} // namespace analyzer
