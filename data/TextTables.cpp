#include "data/TextTables.h"

#include <cmath>
#include <string_view>

#include "data/CLocaleNumbers.h"

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

// One record per node reading: frequency, node, voltage, voltage in dB, phase.
void AppendNodeBlock(const CDataSet& set, std::string& text)
{
    text += "\r\n*Frequency (Hz)\tChannel or Node\tVoltage (Volts)\tVoltage (dB)\tPhase (Deg)";
    for (const auto& point : set.m_points) {
        for (const CDataPoint::NodeVoltagePhase& entry : point->m_nodes) {
            if (!(entry.voltage > ABSENT_VOLTAGE))
                continue;
            text += FormatC("\r\n%g\t%i\t%g\t%g\t%g", point->m_frequency, entry.node,
                            entry.voltage, 20.0 * std::log10(entry.voltage), entry.phase);
        }
    }
}

// One record per point: frequency, gain in dB or impedance in ohms, phase.
void AppendGainBlock(const CDataSet& set, bool decibels, std::string& text)
{
    text += decibels ? "\r\n*Frequency (Hz)\tGain (dB)\tPhase (Deg)"
                     : "\r\n*Frequency (Hz)\tImpedance (Ohms)\tPhase (Deg)";
    for (int i = 0; i < set.GetPointCount(); ++i) {
        const double gain = set.GetGain(i);
        text += FormatC("\r\n%g\t%g\t%g", set.GetFrequency(i),
                        decibels ? 20.0 * std::log10(gain) : gain, set.GetPhase(i));
    }
}

}  // namespace

std::string FormatDescriptionLines(const CDataSet& set)
{
    std::string text;
    std::string_view rest = set.m_description;
    for (bool first = true;; first = false) {
        const size_t end = rest.find('\n');
        if (!first)
            text += "\r\n";
        text += '*';
        text += Trim(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return text;
}

std::string FormatDataAsText(const CDataSet& set, DisplayKind kind, bool voltageFormat)
{
    std::string text = FormatDescriptionLines(set);
    switch (kind) {
    case DisplayKind::Gain:
    case DisplayKind::Nyq:
        if (!voltageFormat) {
            AppendGainBlock(set, true, text);
            return text;
        }
        text += FormatC("\r\n*Gain/Phase: Output Node=%i, Input Node=%i, Scale Factor=%G",
                        set.m_outputNode, set.m_inputNode, set.m_scaleFactor);
        break;
    case DisplayKind::Imp:
        if (!voltageFormat) {
            AppendGainBlock(set, false, text);
            return text;
        }
        text += FormatC(
            "\r\n*Impedance/Phase: Voltage Node=%i, Current Node=%i, Scale Factor=%G",
            set.m_outputNode, set.m_inputNode, set.m_scaleFactor);
        break;
    case DisplayKind::Volt:
    case DisplayKind::Text:
        break;
    }
    AppendNodeBlock(set, text);
    return text;
}
