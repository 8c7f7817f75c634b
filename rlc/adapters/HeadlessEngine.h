#pragma once
// The analyzer engine of an analyzer type's family without a window, opened as its dialog would
// be: the 2600 series (RLC2600, RLC1370) through InitDialogStage2, the 1960, the 1800 series and
// the NF 5060 at their first measurement. For talvern-cli and the tests.
#include <memory>

class AnalyzerDialog;
class AnalyzerHost;

// The family's engine over host, or nullptr when a 2600-series analyzer could not be opened
// (the engine has reported why).
std::unique_ptr<AnalyzerDialog> OpenHeadlessEngine(int analyzerType, AnalyzerHost& host);

// The model code of a type whose model is fixed (0x1960 for RLC1960, ...); 0 for RLC2600.
int FixedModelCode(int analyzerType);
// The simulator's family key for the type: "2600", "1960", "1800" or "5060".
const char* SimulatorFamily(int analyzerType);
// The channel count the program starts with for the type (0 for RLC2600: the analyzer tells).
int StartChannelCount(int analyzerType);
