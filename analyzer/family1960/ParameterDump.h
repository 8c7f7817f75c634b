#pragma once
// The preference block of the 1960 dialog and, with its few differences, of the 1800-series dialog:
// the settings as name=value lines, and reading such a block back.

#include <string>
#include <string_view>

#include "analyzer/family1960/Settings.h"

namespace analyzer::family1960 {

// Which dialog's block: the 1960's has a "Waveform" line, the 1800 series' an "Input1" line after
// "Coupling" and the coupling texts "AC" and "DC".
enum class BlockKind { Model1960, Series1800 };

// Replaces target with the block (numbers "%g", list texts as the lists show them).
// differentialInput is the 1800 series' input type ("Diff" or "Main").
void DumpParameters(const Settings& settings, BlockKind kind, bool differentialInput, std::string& target);

// Reads the values back in block order, each after the next "="; reading stops silently at the
// first one without. Numbers are clamped to their fields' ranges and a value that is not a finite
// number leaves its field unchanged. Returns the number of values read.
int ApplyPreferences(std::string_view text, BlockKind kind, Settings& settings, bool& differentialInput);

} // namespace analyzer::family1960
