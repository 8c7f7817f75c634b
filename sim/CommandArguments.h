#pragma once
// The numbers in the simulated analyzers' command arguments, read whole and bounded.

#include <optional>
#include <string>

namespace talsim {

// A finite number of at most 32 characters, all of them taken; none otherwise.
std::optional<double> NumberArgument(const std::string& text);
// An integer of at most 12 characters in base (10, or 0 for hexadecimal with "0x"); none otherwise.
std::optional<long> IntegerArgument(const std::string& text, int base);

} // namespace talsim
