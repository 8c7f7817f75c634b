#pragma once
// The 2600-series command texts: one builder per setting command (with its clamp and number
// format) and the command sequences of starting, stopping and preparing the analyzer.

#include <string>
#include <vector>

#include "analyzer/family2600/Capabilities.h"
#include "analyzer/family2600/Settings.h"

namespace analyzer::family2600 {

inline constexpr const char* kClearCommand = "CLEAR;*CLS;";
inline constexpr const char* kIdentifyQuery = "*IDN?;";
inline constexpr const char* kCapabilityQuery = "PROB?;";
inline constexpr const char* kReadCommand = "READ?;";
inline constexpr const char* kAbortCommand = "ABORT;";
inline constexpr const char* kEventRegisterQuery = "*ESR?;";
inline constexpr const char* kModeCommand = "*ESE,60;MODE,SING;";
inline constexpr const char* kServiceRequestOff = "*SRE,0;";
inline constexpr const char* kDcOutputOn = "ZOUT,50;BIAS,ON;";
inline constexpr const char* kBiasOff = "BIAS,OFF;";

// Setting commands. Frequencies "%.4G", amplitudes "%.3G".
std::string AmplitudeCommand(double volts);        // "AMPL,%.3G;", 0.001-10 V
std::string DcOffsetCommand(double volts);         // "DCOF,%.3G;", the DC Volts Out clamp
std::string WaveformCommand(Waveform waveform);    // "WAVE,SINE;", "WAVE,SQUA;"
std::string OutputImpedanceCommand(OutputImpedance impedance);  // "ZOUT,2;", "ZOUT,50;"
// "ZZIN,n,50;" or "ZZIN,n,1E6;" for channels 1, 2; for 1-4 with four channels or hardware class
// 10; for 1, 2, 4 with hardware class 13.
std::string InputImpedanceCommand(InputImpedance impedance, const Capabilities& caps);
std::string IntegrationOptionCommand(IntegrationOption option);  // "NALG,OFF;", "NALG,ON;"
// The attenuation ("0dB;", "20dB;", "40dB;") of the output channel 2-4, with the channels below
// it set to AUTO; empty for channel 1, which has no attenuator. Sent only with the attenuator option.
std::string AttenuatorCommand(InputRange range, int outputChannel);
std::string IntegrationTimeCommand(double seconds);  // "TIME,%.3G;", 0.02-100000 s
std::string DelayTimeCommand(double seconds);        // "DELAY,TIME,%.3f;", 0-100000 s
std::string CyclesCommand(int cycles);               // "CYCL,%d;", 1-9999
std::string DelayCyclesCommand(int cycles);          // "DELAY,CYCL,%d;", 0-9999
std::string FrequencyCommand(double hertz);          // "FREQ,%.4G;"
std::string MeasureAtCommand(double hertz);          // "FREQ,%.4G;MEAS;", the next point
std::string AddressCommand(int address);             // "ADDR,%d;", GPIB address 0-30

// Queued and sent at the start of a measurement: "BIAS,ON;", "OUTP,ON;", "*SRE,1;",
// "FREQ,%.4G;" with the start frequency, "MEAS;".
std::vector<std::string> StartCommands(double startFrequency);
// Written one by one by an orderly stop: "ABORT;", then "*SRE,0;" followed by
// "OUTP,OFF;BIAS,OFF;" unless the DC output stays on.
std::vector<std::string> StopCommands(bool dcOutputOn);
// Written one by one after an error: "ABORT;", "*SRE,0;OUTP,OFF;CLEAR;".
std::vector<std::string> ErrorStopCommands();
// Written when the DC output is switched on: the DC offset, then "ZOUT,50;BIAS,ON;".
std::vector<std::string> DcOutputOnCommands(double dcVolts);
// Written once after the capability query: "ACIN,0;", with "#880,OFF;" for the 880 option and
// "DFRA,OFF;" for hardware class 13.
std::string PrepareCommand(const Capabilities& caps);
// Queued by ShutDownAnalyzer: outputs off, inputs to 1 MOhm, attenuators to AUTO, service
// requests and events off, cleared.
std::vector<std::string> ShutDownCommands(const Capabilities& caps);
// "*SRE,0x10;VERSION;" (firmware 2.0 and later, answered as a message) or "UPDATE?;".
std::string VersionQuery(int firmwareCode);

} // namespace analyzer::family2600
