#pragma once
// The reply to "READ?;": frequency, then amplitude (V peak) and phase of every channel.

#include <optional>
#include <string>
#include <string_view>

#include "analyzer/sweep/SweepState.h"

namespace analyzer::family2600 {

// Reads frequency and channels 1..channelCount (brought into 2..4) into reading; channels above
// the count keep their values. On a missing value reading is left unchanged and the context
// sentence for On2600Error is returned ("In OnMsg2600Sweep(), data shows an error - dCH2Phase").
std::optional<std::string> ParseReadingReply(std::string_view text, int channelCount, Reading& reading);

} // namespace analyzer::family2600
