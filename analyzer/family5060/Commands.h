#pragma once
// The NF 5060's command texts: one builder per setting and the fixed sequences.

#include <string>

#include "analyzer/family5060/Settings.h"

namespace analyzer::family5060 {

inline constexpr const char* kIdentifyQuery = "?IDT;";
inline constexpr const char* kErrorQuery = "?ERR;";
inline constexpr const char* kModeCommand = "INT;SSS1;HDR1;";
inline constexpr const char* kOutputOnCommand = "OON0;OON1;SRQ1;";
inline constexpr const char* kDcOutputOnCommand = "OON1;";
inline constexpr const char* kErrorStopCommand = "SRQ0;MST;OOF0;OOF1;";

std::string AmplitudeCommand(double volts);        // "OAM %.3G;"
std::string OffsetCommand(double volts);           // "ODB %.3G;"
std::string WaveformCommand(Waveform waveform);    // "OWF0;", "OWF1;", "OWF2;"
std::string IntegrationTimeCommand(double seconds); // "BIS %.3G;"
std::string DelayTimeCommand(double seconds);      // "BDS %.3G;"
std::string IntegrationCyclesCommand(int cycles);  // "BIC %d;"
std::string DelayCyclesCommand(int cycles);        // "BDC %d;"
std::string AutomaticChannelCommand(int position); // "AIC %d;" with position + 1
// "AIM %d;": 0 unless the automatic mode is selected, else the mode position + 1.
std::string AutomaticModeCommand(bool automatic, int position);
// The integration of the mode: time "BDS;BIS;", cycles "BDC;BIC;", automatic none; then "AIC"
// (automatic only) and "AIM".
std::string IntegrationCommands(const Settings& settings);
std::string MeasureAtCommand(double frequency);    // "OFR %.4G;MSI;"
// "SRQ0;MST;OOF0;" and, unless the DC output stays on, "OOF1;".
std::string StopCommand(bool dcOn);

} // namespace analyzer::family5060
