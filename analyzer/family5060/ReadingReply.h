#pragma once
// The NF 5060's measurement reply: CH1 amplitude, a skipped value, CH1 phase, the frequency, CH2
// amplitude, a skipped value, CH2 phase, a skipped value, CH3 amplitude, a skipped value, CH3 phase.

#include <optional>
#include <string>
#include <string_view>

#include "analyzer/sweep/SweepState.h"

namespace analyzer::family5060 {

// Fills frequency, amplitudes and phases of channels 1-3; none when complete, otherwise the context
// of the first missing value ("In OnMsg5060Sweep(), data shows an error - dCH1VRMS"), with reading
// unchanged.
std::optional<std::string> ParseMeasurementReply(std::string_view text, Reading& reading);

} // namespace analyzer::family5060
