#include "analyzer/family5060/ParameterDump.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/NumberText.h"

namespace analyzer::family5060 {

namespace {

constexpr const char* kNames[] = {"Start Frequency",
                                  "Stop Frequency",
                                  "Steps Per Decade",
                                  "Frequency Step (Hz)",
                                  "Sweep Type",
                                  "AC Volts out",
                                  "DC Volts out",
                                  "Waveform",
                                  "Integration Time",
                                  "Delay Time",
                                  "Servo is enabled",
                                  "Servo Channel",
                                  "Servo AC Volts In",
                                  "Servo AC Step Change (dB)",
                                  "Maximum AC Volts Out",
                                  "Gain Channel Ratio",
                                  "Max Change Gain is Enabled",
                                  "Maximum Change in Gain",
                                  "Max Change Phase is Enabled",
                                  "Maximum Change in Phase",
                                  "Integration Mode",
                                  "Automatic Mode Set",
                                  "IntegrationTimeCycls",
                                  "DelayTimeCycls",
                                  "AutomaticChannel",
                                  "AutomaticMode"};
constexpr std::size_t kIntegerLines = 6;
constexpr std::size_t kLines = sizeof kNames / sizeof kNames[0];

const char* TrueFalse(bool value) { return value ? "True" : "False"; }
std::string G(double value) { return FormatNumberText("%g", value); }
char At(std::string_view value, std::size_t index) { return index < value.size() ? value[index] : '\0'; }

std::optional<double> Number(std::string_view value)
{
    const double number = ParseLeadingDouble(value);
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

std::string ValueText(std::size_t line, const Settings& s)
{
    const ChannelPair ratio{s.numeratorChannel, s.denominatorChannel};
    const bool automatic = s.integrationMode == IntegrationMode::Automatic;
    switch (line) {
    case 0: return G(s.startFrequency);
    case 1: return G(s.stopFrequency);
    case 2: return G(s.stepsPerDecade);
    case 3: return G(s.frequencyStep);
    case 4: return s.logSweep ? "Logarithmic" : "Linear";
    case 5: return G(s.acVoltsOut);
    case 6: return G(s.dcVoltsOut);
    case 7: return WaveformText(s.waveform);
    case 8: return G(s.integrationTime);
    case 9: return G(s.delayTime);
    case 10: return TrueFalse(s.servoOn);
    case 11: return ServoEntryText(s.servoChannel, ratio);
    case 12: return G(s.servoAcVoltsIn);
    case 13: return G(s.servoStepDb);
    case 14: return G(s.maxAcVoltsOut);
    case 15: return RatioEntryText(ratio);
    case 16: return TrueFalse(s.maxChangeGainOn);
    case 17: return G(s.maxChangeGain);
    case 18: return TrueFalse(s.maxChangePhaseOn);
    case 19: return G(s.maxChangePhase);
    case 20: return FormatNumberText("%d", static_cast<int>(s.integrationMode));
    case 21: return FormatNumberText("%d", automatic ? 1 : 0);
    case 22: return FormatNumberText("%d", s.integrationCycles);
    case 23: return FormatNumberText("%d", s.delayCycles);
    case 24: return FormatNumberText("%d", s.automaticChannel);
    default: return FormatNumberText("%d", s.automaticMode);
    }
}

void Apply(std::size_t line, std::string_view v, Settings& s)
{
    const std::optional<double> n = Number(v);
    const int integer = ParseLeadingInt(v);
    switch (line) {
    case 0: if (n && *n > 0.0) s.startFrequency = *n; break;
    case 1: if (n && *n > 0.0) s.stopFrequency = *n; break;
    case 2: if (n) s.stepsPerDecade = std::clamp(*n, 0.1, 2000.0); break;
    case 3: if (n && *n > 0.0) s.frequencyStep = *n; break;
    case 4: s.logSweep = At(v, 1) != 'i'; break;
    case 5: if (n) s.acVoltsOut = ClampAcVolts(*n); break;
    case 6: if (n) s.dcVoltsOut = ClampDcVoltsOut(*n); break;
    case 7:
        s.waveform = At(v, 1) == 'r' ? Waveform::Triangle : At(v, 1) == 'q' ? Waveform::Square : Waveform::Sine;
        break;
    case 8: if (n) s.integrationTime = ClampIntegrationTime(*n); break;
    case 9: if (n) s.delayTime = ClampDelayTime(*n); break;
    case 10: s.servoOn = At(v, 0) == 'T'; break;
    case 11:
        s.servoChannel = At(v, 3) == 'l'   ? ServoChoice::Smaller
                         : At(v, 3) == 'g' ? ServoChoice::Larger
                         : At(v, 3) == '3' ? ServoChoice::Channel3
                         : At(v, 3) == '2' ? ServoChoice::Channel2
                                           : ServoChoice::Channel1;
        break;
    case 12: if (n && *n > 0.0) s.servoAcVoltsIn = *n; break;
    case 13: if (n && *n >= 0.0) s.servoStepDb = *n; break;
    case 14: if (n) s.maxAcVoltsOut = ClampAcVolts(*n); break;
    case 15:
        if (const auto ratio = RatioFromStoredText(v, 3)) {
            s.numeratorChannel = ratio->numerator;
            s.denominatorChannel = ratio->denominator;
        }
        break;
    case 16: s.maxChangeGainOn = At(v, 0) == 'T'; break;
    case 17: if (n && *n >= 0.0) s.maxChangeGain = *n; break;
    case 18: s.maxChangePhaseOn = At(v, 0) == 'T'; break;
    case 19: if (n && *n >= 0.0) s.maxChangePhase = *n; break;
    case 20: s.integrationMode = static_cast<IntegrationMode>(std::clamp(integer, 0, 2)); break;
    case 21:
        // The automatic radio's state; the mode line above already says it, so only a set flag counts.
        if (integer != 0)
            s.integrationMode = IntegrationMode::Automatic;
        break;
    case 22: s.integrationCycles = ClampIntegrationCycles(integer); break;
    case 23: s.delayCycles = ClampDelayCycles(integer); break;
    case 24: s.automaticChannel = std::clamp(integer, 0, 2); break;
    default: s.automaticMode = std::clamp(integer, 0, 1); break;
    }
}

} // namespace

void DumpParameters(const Settings& settings, std::string& target)
{
    std::string out = "\n* The following parameters are from the Analyzer 5060 Menu:\n";
    for (std::size_t line = 0; line < kLines; ++line) {
        out += kNames[line];
        out += '=';
        out += ValueText(line, settings);
        out += '\n';
    }
    target = std::move(out);
}

int ApplyPreferences(std::string_view text, Settings& settings)
{
    const std::size_t lines = text.find("AutomaticMode") != std::string_view::npos ? kLines : kLines - kIntegerLines;
    int read = 0;
    std::size_t position = 0;
    for (std::size_t line = 0; line < lines; ++line) {
        const std::size_t equals = text.find('=', position);
        if (equals == std::string_view::npos)
            break;
        position = equals + 1;
        const std::size_t lineEnd = text.find('\n', position);
        Apply(line, text.substr(position, lineEnd == std::string_view::npos ? text.npos : lineEnd - position),
              settings);
        ++read;
    }
    return read;
}

} // namespace analyzer::family5060
