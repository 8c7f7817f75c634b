#pragma once
// The reply to "GAINPH?;" of the 1960 and the 1800 series: frequency, CH1 and CH2 amplitude (V rms),
// one value that is skipped, CH2 phase relative to CH1.

#include <optional>
#include <string>
#include <string_view>

#include "analyzer/sweep/FamilyTexts.h"
#include "analyzer/sweep/SweepState.h"

namespace analyzer::family1960 {

// Fills frequency, amplitudes and phases of channels 1 and 2 (CH1 phase 0); none when complete,
// otherwise the context of the first missing value ("In <handler>(), data shows an error - dFreq"),
// with reading unchanged.
std::optional<std::string> ParseGainPhaseReply(std::string_view text, const FamilyTexts& texts, Reading& reading);

} // namespace analyzer::family1960
