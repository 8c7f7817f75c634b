#pragma once
// The servo: keeps the amplitude measured on one channel near a target by adjusting the
// oscillator output from point to point, and retakes a point once when it is far off.

#include <string>
#include <string_view>

#include "analyzer/sweep/FamilyTexts.h"
#include "analyzer/sweep/SweepState.h"

namespace analyzer {

// The "Cha&nnel:" servo list: a fixed channel, or the larger or smaller of the ratio's pair.
enum class ServoChoice { Channel1, Channel2, Channel3, Channel4, Larger, Smaller };

struct ServoSettings {
    bool on = false;
    ServoChoice channel = ServoChoice::Channel1;
    double acVoltsIn = 0.01;      // V, target T
    double stepSizeDb = 10.0;     // dB, largest output change per point S
    double maxAcVoltsOut = 10.0;  // V, output ceiling
};

// The servo choice a list entry names, by its fourth character ("l" smaller, "g" larger, a digit
// 2-4 that channel, anything else channel 1).
ServoChoice ServoChoiceFromEntry(std::string_view entry);

struct ServoChannel {
    int channel = 1;      // 1..4
    std::string message;  // message-box text when the choice cannot be resolved, else empty
};
ServoChannel OnServoFindChannel(const SweepState& state, ServoChoice choice, const FamilyTexts& texts);

struct ServoVerdict {
    bool accept = true;
    std::string logLine;
    std::string message;
};
// Accepts the reading when the channel is within 30 % of the target; else retries it once, unless
// the output is already at its ceiling. Updates state.servoRetried.
ServoVerdict OnServoVerifyNewDataPoint(SweepState& state, int channel, const ServoSettings& servo,
                                       const FamilyTexts& texts);

struct ServoPrediction {
    double amplitude = 0.0;  // V, for AC Volts Out (four significant digits, at most the ceiling)
    std::string message;
};
// The output for the next point: the ratio of output to channel amplitude extrapolated to the next
// frequency, times the target, moved by at most S dB from the output in effect.
ServoPrediction OnServoPredictNextOscVoltage(const SweepState& state, int channel,
                                             const ServoSettings& servo);

} // namespace analyzer
