#include "analyzer/family2600/Capabilities.h"

#include <algorithm>

namespace analyzer::family2600 {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitAt(std::string_view reply, std::size_t position)
{
    return (position <= reply.size() && IsDigit(reply[position - 1])) ? reply[position - 1] - '0' : 0;
}

// Distance of the character at position (1-based) from "0"; -1 when absent or below "0".
int CodeAt(std::string_view reply, std::size_t position)
{
    if (position > reply.size())
        return -1;
    const auto c = static_cast<unsigned char>(reply[position - 1]);
    return c >= '0' ? c - '0' : -1;
}

} // namespace

Capabilities ParseCapabilityReply(std::string_view reply)
{
    Capabilities caps;
    if (!reply.empty() && IsDigit(reply[0]))
        caps.channelCount = std::clamp(reply[0] - '0', 2, 4);
    const double maximum = DigitAt(reply, 2) * 10000000.0 + DigitAt(reply, 3) * 1000000.0
                           + DigitAt(reply, 4) * 100000.0;
    if (maximum > 0.0)
        caps.maximumFrequency = maximum;
    const int hardware = CodeAt(reply, 7);
    caps.hardwareClass = hardware >= 0 ? hardware : 6;
    caps.optionBits = std::max(CodeAt(reply, 8), 0);

    if (caps.hardwareClass >= 6)
        caps.minimumFrequency = 1e-05;
    else if (caps.hardwareClass >= 3)
        caps.minimumFrequency = 0.001;
    else
        caps.minimumFrequency = 1.0;
    caps.minimumAcOutput = caps.hardwareClass <= 2 ? 0.01 : 0.001;
    return caps;
}

double MaximumForCurrentSettings(const Capabilities& caps, Waveform waveform, OutputImpedance impedance)
{
    double maximum = caps.maximumFrequency;
    if (waveform == Waveform::Square)
        maximum = std::min(maximum, 1000000.0);
    if (impedance == OutputImpedance::Ohms2)
        maximum = std::min(maximum, 5000000.0);
    return maximum;
}

FrequencyLimits LimitsFor(const Capabilities& caps, Waveform waveform, OutputImpedance impedance)
{
    return {caps.minimumFrequency, caps.maximumFrequency,
            MaximumForCurrentSettings(caps, waveform, impedance)};
}

} // namespace analyzer::family2600
