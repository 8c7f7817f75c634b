#pragma once
// The 1800 series' own command texts; everything else is the 1960's (analyzer/family1960/Commands.h).

#include <string>

namespace analyzer::family1800 {

inline constexpr const char* kModeCommand = "*ESE,60;MODE,GAINPH;RESOLU,HIGH;";
// The output is always a sine wave.
inline constexpr const char* kSineOutputCommand = "OUTPUT,SIGNAL;WAVEFO,SINEWA;";

// "INTYPE,CH1,MAIN;INTYPE,CH2,MAIN;" or, differential, "INTYPE,CH1,DIFFER;INTYPE,CH2,MAIN;".
std::string InputTypeCommand(bool differential);

} // namespace analyzer::family1800
