#pragma once
// The NF 5060 dialog's preference block: its settings as name=value lines, and reading it back.

#include <string>
#include <string_view>

#include "analyzer/family5060/Settings.h"

namespace analyzer::family5060 {

// Replaces target with the block: numbers "%g", list texts as shown, then six integer lines of the
// integration mode and the automatic settings.
void DumpParameters(const Settings& settings, std::string& target);

// Reads the values back in block order, each after the next "="; reading stops silently at the
// first one without. The six integer lines are read only when the text holds "AutomaticMode", so an
// older block leaves those settings alone. Returns the number of values read.
int ApplyPreferences(std::string_view text, Settings& settings);

} // namespace analyzer::family5060
