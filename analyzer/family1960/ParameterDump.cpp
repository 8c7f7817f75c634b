#include "analyzer/family1960/ParameterDump.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/NumberText.h"

namespace analyzer::family1960 {

namespace {

enum class Field {
    Start, Stop, Steps, Step, SweepType, Ac, Dc, Waveform, Coupling, Input1, IntegrationTime, Cycles,
    IntegrationType, Delay, ServoOn, ServoChannel, ServoVoltsIn, ServoStep, MaxAc, Ratio, GainOn, Gain,
    PhaseOn, Phase
};

struct Entry {
    Field field;
    const char* name;
};

std::vector<Entry> Layout(BlockKind kind)
{
    std::vector<Entry> entries{{Field::Start, "Start Frequency"},
                               {Field::Stop, "Stop Frequency"},
                               {Field::Steps, "Steps Per Decade"},
                               {Field::Step, "Frequency Step (Hz)"},
                               {Field::SweepType, "Sweep Type"},
                               {Field::Ac, "AC Volts out"},
                               {Field::Dc, "DC Volts out"}};
    if (kind == BlockKind::Model1960)
        entries.push_back({Field::Waveform, "Waveform"});
    entries.push_back({Field::Coupling, "Coupling"});
    if (kind == BlockKind::Series1800)
        entries.push_back({Field::Input1, "Input1"});
    for (const Entry& entry : std::initializer_list<Entry>{{Field::IntegrationTime, "Integration Time"},
                                                           {Field::Cycles, "Cycles"},
                                                           {Field::IntegrationType, "Integration Type"},
                                                           {Field::Delay, "Delay Time"},
                                                           {Field::ServoOn, "Servo is enabled"},
                                                           {Field::ServoChannel, "Servo Channel"},
                                                           {Field::ServoVoltsIn, "Servo AC Volts In"},
                                                           {Field::ServoStep, "Servo AC Step Change (dB)"},
                                                           {Field::MaxAc, "Maximum AC Volts Out"},
                                                           {Field::Ratio, "Gain Channel Ratio"},
                                                           {Field::GainOn, "Max Change Gain is Enabled"},
                                                           {Field::Gain, "Maximum Change in Gain"},
                                                           {Field::PhaseOn, "Max Change Phase is Enabled"},
                                                           {Field::Phase, "Maximum Change in Phase"}})
        entries.push_back(entry);
    return entries;
}

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

std::string ValueText(Field field, const Settings& s, BlockKind kind, bool differentialInput)
{
    const ChannelPair ratio{s.numeratorChannel, s.denominatorChannel};
    switch (field) {
    case Field::Start: return G(s.startFrequency);
    case Field::Stop: return G(s.stopFrequency);
    case Field::Steps: return G(s.stepsPerDecade);
    case Field::Step: return G(s.frequencyStep);
    case Field::SweepType: return s.logSweep ? "Logarithmic" : "Linear";
    case Field::Ac: return G(s.acVoltsOut);
    case Field::Dc: return G(s.dcVoltsOut);
    case Field::Waveform: return WaveformText(s.waveform);
    case Field::Coupling:
        if (kind == BlockKind::Series1800)
            return s.coupling == Coupling::Dc ? "DC" : "AC";
        return CouplingText(s.coupling);
    case Field::Input1: return differentialInput ? "Diff" : "Main";
    case Field::IntegrationTime: return SpeedText(s.speed);
    case Field::Cycles: return FormatNumberText("%d", s.cycles);
    case Field::IntegrationType: return s.integrationByTime ? "Time" : "Cycles";
    case Field::Delay: return FormatNumberText("%d", s.delay);
    case Field::ServoOn: return TrueFalse(s.servoOn);
    case Field::ServoChannel: return ServoEntryText(s.servoChannel, ratio);
    case Field::ServoVoltsIn: return G(s.servoAcVoltsIn);
    case Field::ServoStep: return G(s.servoStepDb);
    case Field::MaxAc: return G(s.maxAcVoltsOut);
    case Field::Ratio: return RatioEntryText(ratio);
    case Field::GainOn: return TrueFalse(s.maxChangeGainOn);
    case Field::Gain: return G(s.maxChangeGain);
    case Field::PhaseOn: return TrueFalse(s.maxChangePhaseOn);
    case Field::Phase: return G(s.maxChangePhase);
    }
    return "";
}

void Apply(Field field, std::string_view v, BlockKind kind, Settings& s, bool& differentialInput)
{
    const std::optional<double> n = Number(v);
    switch (field) {
    case Field::Start:
        if (n && *n > 0.0)
            s.startFrequency = *n;
        break;
    case Field::Stop:
        if (n && *n > 0.0)
            s.stopFrequency = *n;
        break;
    case Field::Steps:
        if (n)
            s.stepsPerDecade = ClampStepsPerDecade(*n);
        break;
    case Field::Step:
        if (n && *n > 0.0)
            s.frequencyStep = *n;
        break;
    case Field::SweepType: s.logSweep = At(v, 1) != 'i'; break;
    case Field::Ac:
        if (n)
            s.acVoltsOut = std::clamp(*n, kind == BlockKind::Series1800 ? 0.001 : 0.01, 10.0);
        break;
    case Field::Dc:
        if (n)
            s.dcVoltsOut = ClampDcVoltsOut(*n);
        break;
    case Field::Waveform:
        s.waveform = At(v, 1) == 'r' ? Waveform::Triangle : At(v, 1) == 'q' ? Waveform::Square : Waveform::Sine;
        break;
    case Field::Coupling:
        if (At(v, 0) == 'D')
            s.coupling = Coupling::Dc;
        else if (kind == BlockKind::Series1800 || At(v, 6) == '5')
            s.coupling = Coupling::AcLow;
        else
            s.coupling = Coupling::AcHigh;
        break;
    case Field::Input1: differentialInput = At(v, 0) == 'D'; break;
    case Field::IntegrationTime:
        s.speed = At(v, 1) == 'S'   ? Speed::VSlow
                  : At(v, 1) == 'l' ? Speed::Slow
                  : At(v, 1) == 'e' ? Speed::Medium
                                    : Speed::Fast;
        break;
    case Field::Cycles: s.cycles = ClampCycles(ParseLeadingInt(v)); break;
    case Field::IntegrationType: s.integrationByTime = At(v, 1) == 'i'; break;
    case Field::Delay: s.delay = ClampDelay(ParseLeadingInt(v)); break;
    case Field::ServoOn: s.servoOn = At(v, 0) == 'T'; break;
    case Field::ServoChannel:
        s.servoChannel = At(v, 3) == 'l'   ? ServoChoice::Smaller
                         : At(v, 3) == 'g' ? ServoChoice::Larger
                         : At(v, 3) == '2' ? ServoChoice::Channel2
                                           : ServoChoice::Channel1;
        break;
    case Field::ServoVoltsIn:
        if (n && *n > 0.0)
            s.servoAcVoltsIn = *n;
        break;
    case Field::ServoStep:
        if (n && *n >= 0.0)
            s.servoStepDb = *n;
        break;
    case Field::MaxAc:
        if (n)
            s.maxAcVoltsOut = std::clamp(*n, kind == BlockKind::Series1800 ? 0.001 : 0.01, 10.0);
        break;
    case Field::Ratio:
        if (const auto ratio = RatioFromStoredText(v, 2)) {
            s.numeratorChannel = ratio->numerator;
            s.denominatorChannel = ratio->denominator;
        }
        break;
    case Field::GainOn: s.maxChangeGainOn = At(v, 0) == 'T'; break;
    case Field::Gain:
        if (n && *n >= 0.0)
            s.maxChangeGain = *n;
        break;
    case Field::PhaseOn: s.maxChangePhaseOn = At(v, 0) == 'T'; break;
    case Field::Phase:
        if (n && *n >= 0.0)
            s.maxChangePhase = *n;
        break;
    }
}

} // namespace

void DumpParameters(const Settings& settings, BlockKind kind, bool differentialInput, std::string& target)
{
    std::string out = kind == BlockKind::Model1960 ? "\n* The following parameters are from the Analyzer 1960 Menu:\n"
                                                   : "\n* The following parameters are from the Analyzer 1800 Menu:\n";
    for (const Entry& entry : Layout(kind)) {
        out += entry.name;
        out += '=';
        out += ValueText(entry.field, settings, kind, differentialInput);
        out += '\n';
    }
    target = std::move(out);
}

int ApplyPreferences(std::string_view text, BlockKind kind, Settings& settings, bool& differentialInput)
{
    int read = 0;
    std::size_t position = 0;
    for (const Entry& entry : Layout(kind)) {
        const std::size_t equals = text.find('=', position);
        if (equals == std::string_view::npos)
            break;
        position = equals + 1;
        const std::size_t lineEnd = text.find('\n', position);
        Apply(entry.field, text.substr(position, lineEnd == std::string_view::npos ? text.npos : lineEnd - position),
              kind, settings, differentialInput);
        ++read;
    }
    return read;
}

} // namespace analyzer::family1960
