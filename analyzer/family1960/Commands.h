#pragma once
// The 1960's command texts, one builder per setting, and the fixed sequences. The 1800 series
// speaks the same language (analyzer/family1800/ adds its own commands).

#include <string>

#include "analyzer/family1960/Settings.h"

namespace analyzer::family1960 {

inline constexpr const char* kIdentifyQuery = "*IDN?;";
inline constexpr const char* kEventRegisterQuery = "*ESR?;";
inline constexpr const char* kModeCommand = "*ESE,60;MODE,GAINPH;";
inline constexpr const char* kOutputOnCommand = "OUTPUT,ON;*SRE,1;";
inline constexpr const char* kDcOutputOnCommand = "OUTPUT,ON;";
inline constexpr const char* kErrorStopCommand = "*SRE,0;ABORT;OUTPUT,OFF;";

std::string AmplitudeCommand(double volts);        // "AMPLIT,%.3G;"
std::string OffsetCommand(double volts);           // "OFFSET,%.3G;"
std::string IdleDcCommand(double volts);           // "AMPLIT,0;OFFSET,%.3G;"
std::string CouplingCommand(Coupling coupling);    // both channels
std::string DelayCommand(int seconds);             // "DELAY,%d;"
std::string SpeedCommand(Speed speed);             // "SPEED,MEDIUM;"
// By time: the speed with "CYCLES,0;"; by cycles: the speed followed by "CYCLES,%d;".
std::string IntegrationCommand(bool byTime, Speed speed, int cycles);
std::string WaveformCommand(Waveform waveform);    // "OUTPUT,SIGNAL;WAVEFO,SINEWA;"
std::string MeasureAtCommand(double frequency);    // "FREQUE,%.4G;GAINPH?;"
std::string AddressCommand(int address);           // "CONFIG,153,%d;PROGRAM,STORE,1;"
// "*SRE,0;" and "OUTPUT,OFF;", or "AMPLIT,0;" while the DC output stays on.
std::string StopCommand(bool dcOn);

// The filter band of a frequency: 1 low (below 4 kHz), 2 medium (below 25 kHz), 3 high; 0 for a
// frequency that is not a number. BandCommand gives "BANDWI,LOW;" etc.
int FilterBand(double frequency);
std::string FilterBandCommand(int band);

} // namespace analyzer::family1960
