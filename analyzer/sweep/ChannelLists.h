#pragma once
// The entries of the "Chann&el Ratio:" and "Cha&nnel:" (servo) lists for a channel count, and the
// rules that pick a ratio.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyzer/sweep/Servo.h"

namespace analyzer {

struct ChannelPair {
    int numerator = 2;
    int denominator = 1;
    bool operator==(const ChannelPair&) const = default;
};

// "CH1/CH2", "CH2/CH1" for two channels; "CH1/CH2", "CH1/CH3", "CH2/CH1", "CH2/CH3", "CH3/CH1",
// "CH3/CH2" for three, and "CH4/CH3" in addition for four.
std::vector<std::string> ChannelRatioEntries(int channelCount);
// "CH%d/CH%d".
std::string RatioEntryText(ChannelPair pair);

// "CH 1", "CH 2" (and "CH 3", "CH 4" as present), then the larger and smaller of the ratio's pair,
// labelled after it ("Larger of CH1,3").
std::vector<std::string> ServoChannelEntries(int channelCount, ChannelPair ratio);
std::string ServoEntryText(ServoChoice choice, ChannelPair ratio);

// The ratio selected when the lists are filled: numerator 2 "CH2/CH1", 3 "CH3/CH2", 4 "CH4/CH3"
// (when the list holds it), otherwise the first entry.
ChannelPair RatioForNumerator(int numerator, int channelCount);

// The ratio a stored "Gain Channel Ratio" value selects, by its third (numerator) and seventh
// (denominator) characters; none when the list for the channel count holds no such entry.
std::optional<ChannelPair> RatioFromStoredText(std::string_view value, int channelCount);

} // namespace analyzer
