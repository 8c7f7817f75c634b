#pragma once
// The 2600-series dialog's preference block: its settings as name=value lines, and reading such a
// block back.

#include <string>
#include <string_view>
#include <vector>

#include "analyzer/family2600/Capabilities.h"
#include "analyzer/family2600/Settings.h"

namespace analyzer::family2600 {

// Replaces target with the block: a header line, then one "Name=value\n" line per setting (numbers
// "%g", list texts as the lists show them).
void DumpParameters(const Settings& settings, std::string& target);

struct PreferencesApplied {
    int valuesRead = 0;                 // settings read before the text ended
    std::vector<std::string> logLines;  // frequency-limit lines of the waveform and impedance handlers
};

// Reads the settings back in block order: each value starts after the next "="; reading stops
// silently at the first setting without one. Numbers are taken to four significant digits and
// clamped to their fields' ranges; a value that is not a finite number leaves the setting
// unchanged, as does a list text the lists do not hold. The waveform and output impedance apply
// their frequency limits (caps gives the analyzer's), the 2 Ohm output its 2 V amplitude limit.
PreferencesApplied ApplyPreferences(std::string_view text, Settings& settings, const Capabilities& caps);

} // namespace analyzer::family2600
