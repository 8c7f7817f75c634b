#include "analyzer/family2600/ParameterDump.h"

#include <cmath>
#include <optional>

#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/NumberText.h"

namespace analyzer::family2600 {

namespace {

const char* TrueFalse(bool value) { return value ? "True" : "False"; }

void Line(std::string& out, const char* name, const std::string& value)
{
    out += name;
    out += '=';
    out += value;
    out += '\n';
}

std::string G(double value) { return FormatNumberText("%g", value); }

char At(std::string_view value, std::size_t index)
{
    return index < value.size() ? value[index] : '\0';
}

// The number at the start of value to four significant digits; none when it is not finite.
std::optional<double> Number(std::string_view value)
{
    const double number = RoundToSignificant(ParseLeadingDouble(value), 4);
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

void CheckLimits(Settings& s, const Capabilities& caps, PreferencesApplied& applied)
{
    FrequencyLimits limits = LimitsFor(caps, s.waveform, s.outputImpedance);
    FrequencyLimitResult result = CheckFrequencyLimits(s.startFrequency, s.stopFrequency, limits);
    for (std::string& line : result.logLines)
        applied.logLines.push_back(std::move(line));
}

} // namespace

void DumpParameters(const Settings& s, std::string& target)
{
    const ChannelPair ratio{s.numeratorChannel, s.denominatorChannel};
    std::string out = "\n* The following parameters are from the Analyzer 2xxx Menu:\n";
    Line(out, "Start Frequency", G(s.startFrequency));
    Line(out, "Stop Frequency", G(s.stopFrequency));
    Line(out, "Steps Per Decade", G(s.stepsPerDecade));
    Line(out, "Frequency Step (Hz)", G(s.frequencyStep));
    Line(out, "Sweep Type", s.logSweep ? "Logarithmic" : "Linear");
    Line(out, "AC Volts out", G(s.acVoltsOut));
    Line(out, "DC Volts out", G(s.dcVoltsOut));
    Line(out, "Waveform", WaveformText(s.waveform));
    Line(out, "Output Impedance", OutputImpedanceText(s.outputImpedance));
    Line(out, "Input Impedance", InputImpedanceText(s.inputImpedance));
    Line(out, "Integration Time", G(s.integrationTime));
    Line(out, "Delay Time", G(s.delayTime));
    Line(out, "Cycles", G(s.cycles));
    Line(out, "Delay Cycles", G(s.delayCycles));
    Line(out, "Integration Type", s.integrationByTime ? "Time" : "Cycles");
    Line(out, "Servo is enabled", TrueFalse(s.servoOn));
    Line(out, "Servo Channel", ServoEntryText(s.servoChannel, ratio));
    Line(out, "Servo AC Volts In", G(s.servoAcVoltsIn));
    Line(out, "Servo AC Step Change (dB)", G(s.servoStepDb));
    Line(out, "Maximum AC Volts Out", G(s.maxAcVoltsOut));
    Line(out, "Gain Channel Ratio", RatioEntryText(ratio));
    Line(out, "Max Change Gain is Enabled", TrueFalse(s.maxChangeGainOn));
    Line(out, "Maximum Change in Gain", G(s.maxChangeGain));
    Line(out, "Max Change Phase is Enabled", TrueFalse(s.maxChangePhaseOn));
    Line(out, "Maximum Change in Phase", G(s.maxChangePhase));
    target = std::move(out);
}

PreferencesApplied ApplyPreferences(std::string_view text, Settings& settings, const Capabilities& caps)
{
    using Step = void (*)(std::string_view value, Settings& s, const Capabilities& caps,
                          PreferencesApplied& applied);
    // One step per setting, in block order.
    static constexpr Step kSteps[] = {
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.startFrequency = *n;
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.stopFrequency = *n;
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.stepsPerDecade = ClampStepsPerDecade(*n);
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.frequencyStep = ClampFrequencyStep(*n);
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.logSweep = At(v, 1) != 'i';
        },
        [](std::string_view v, Settings& s, const Capabilities& caps, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.acVoltsOut = LimitAcVoltsOut(*n, caps.minimumAcOutput, s.outputImpedance, false, 0.0);
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.dcVoltsOut = ClampDcVoltsOut(*n);
        },
        [](std::string_view v, Settings& s, const Capabilities& caps, PreferencesApplied& applied) {
            s.waveform = At(v, 1) == 'q' ? Waveform::Square : Waveform::Sine;
            CheckLimits(s, caps, applied);
        },
        [](std::string_view v, Settings& s, const Capabilities& caps, PreferencesApplied& applied) {
            if (At(v, 0) == '5')
                s.outputImpedance = OutputImpedance::Ohms50;
            else if (At(v, 0) == '2')
                s.outputImpedance = OutputImpedance::Ohms2;
            s.acVoltsOut = LimitAcVoltsOut(s.acVoltsOut, caps.minimumAcOutput, s.outputImpedance, false, 0.0);
            s.maxAcVoltsOut = LimitMaxAcVoltsOut(s.maxAcVoltsOut, s.outputImpedance, false, 0.0);
            CheckLimits(s, caps, applied);
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.inputImpedance = At(v, 0) == '5' ? InputImpedance::Ohms50 : InputImpedance::OneMeg;
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.integrationTime = ClampIntegrationTime(*n);
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.delayTime = ClampDelayTime(*n);
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.cycles = ClampCycles(ParseLeadingInt(v));
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.delayCycles = ClampDelayCycles(ParseLeadingInt(v));
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.integrationByTime = At(v, 1) == 'i';
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.servoOn = At(v, 0) == 'T';
        },
        [](std::string_view v, Settings& s, const Capabilities& caps, PreferencesApplied&) {
            s.servoChannel = ServoChoiceFromEntry(v);
            // A channel the analyzer does not have is not in the list: the first entry.
            if ((s.servoChannel == ServoChoice::Channel3 && caps.channelCount < 3)
                || (s.servoChannel == ServoChoice::Channel4 && caps.channelCount < 4))
                s.servoChannel = ServoChoice::Channel1;
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v); n && *n > 0.0)
                s.servoAcVoltsIn = *n;
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v); n && *n >= 0.0)
                s.servoStepDb = *n;
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v))
                s.maxAcVoltsOut = LimitMaxAcVoltsOut(*n, s.outputImpedance, false, 0.0);
        },
        [](std::string_view v, Settings& s, const Capabilities& caps, PreferencesApplied&) {
            // The selected ratio is also the one in use, so the gain shown is the one listed.
            if (const auto ratio = RatioFromStoredText(v, caps.channelCount)) {
                s.numeratorChannel = ratio->numerator;
                s.denominatorChannel = ratio->denominator;
            }
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.maxChangeGainOn = At(v, 0) == 'T';
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v); n && *n >= 0.0)
                s.maxChangeGain = *n;
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            s.maxChangePhaseOn = At(v, 0) == 'T';
        },
        [](std::string_view v, Settings& s, const Capabilities&, PreferencesApplied&) {
            if (const auto n = Number(v); n && *n >= 0.0)
                s.maxChangePhase = *n;
        },
    };

    PreferencesApplied applied;
    std::size_t position = 0;
    for (const Step step : kSteps) {
        const std::size_t equals = text.find('=', position);
        if (equals == std::string_view::npos)
            break;
        position = equals + 1;
        step(text.substr(position), settings, caps, applied);
        ++applied.valuesRead;
    }
    return applied;
}

} // namespace analyzer::family2600
