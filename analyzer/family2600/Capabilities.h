#pragma once
// What a 2600-series analyzer reports of itself in its reply to "PROB?;", and the limits that follow.

#include <string_view>

#include "analyzer/family2600/Settings.h"
#include "analyzer/sweep/FrequencyStepping.h"

namespace analyzer::family2600 {

// Defaults: the values in force until the first reply.
struct Capabilities {
    int channelCount = 2;              // 2..4
    int hardwareClass = 4;
    int optionBits = 0;                // bit 0 880 mode, bit 1 input attenuator
    double minimumFrequency = 0.001;   // Hz
    double maximumFrequency = 5e6;     // Hz
    double minimumAcOutput = 0.001;    // V
};

// Reads the reply by character position: 1 channel count, 2-4 maximum frequency in 10 MHz, 1 MHz
// and 100 kHz digits, 7 hardware class (a character's distance from "0", so ":" is 10 and "=" 13;
// 6 when the reply ends before it), 8 option bits (none when absent). A channel count outside 2..4
// is brought into it, a missing one or a maximum of 0 Hz keeps the default.
Capabilities ParseCapabilityReply(std::string_view reply);

// The analyzer's maximum, lowered to 1,000,000 Hz for a square wave and to 5,000,000 Hz for the
// 2 Ohm output (both when both apply).
double MaximumForCurrentSettings(const Capabilities& caps, Waveform waveform, OutputImpedance impedance);
FrequencyLimits LimitsFor(const Capabilities& caps, Waveform waveform, OutputImpedance impedance);

inline bool Has880Option(const Capabilities& caps) { return (caps.optionBits & 0x1) != 0; }
inline bool HasInputAttenuator(const Capabilities& caps) { return (caps.optionBits & 0x2) != 0; }
// The "Option:" list: hardware class 6 and above.
inline bool OptionListEnabled(const Capabilities& caps) { return caps.hardwareClass >= 6; }
// Output and input impedance and waveform lists: not for hardware classes 0-2.
inline bool ImpedanceListsEnabled(const Capabilities& caps) { return caps.hardwareClass > 2; }

} // namespace analyzer::family2600
