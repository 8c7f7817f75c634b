#pragma once
// The options of `talvern-cli sweep`, read strictly from the command line.

#include <optional>
#include <string>

#include "cli/Commands.h"

struct SweepOptions {
    int analyzerType = 10;  // 10 RLC2600, 11 RLC1370, 6 RLC1960, 7-9 RLC1842/1852/1862, 0 RLC880
    bool usb = false;
    int gpibBoard = 0;
    int address = 5;
    int modelCode = 0x2162;
    int serialNumber = 1234;
    double start = 0.0;  // Hz
    double stop = 0.0;
    bool logSweep = true;
    double stepsPerDecade = 10.0;
    double linearStep = 1000.0;  // Hz
    std::optional<double> acVolts;
    std::optional<double> dcVolts;
    bool servo = false;
    double servoTarget = 0.01;  // V
    std::string servoChannel = "CH 1";
    std::optional<double> servoStepDb;
    std::optional<double> maxAcVolts;
    std::optional<double> maxGainDb;
    std::optional<double> maxPhaseDegrees;
    bool simulate = false;
    std::string simulatorConfig;
    std::string gpibLibrary;
    std::string visaLibrary;
    std::string out;
    std::string commLog;
};

// UsageError for anything it cannot take.
SweepOptions ParseSweepOptions(const Arguments& args);

// "--simulate" followed by its configuration, or by nothing (the next argument is an option or
// there is none), as the one argument "--simulate=CONFIG".
Arguments WithOptionalSimulateConfig(const Arguments& args);
// The type id of RLC880, RLC1960, RLC1842, RLC1852, RLC1862, RLC2600 or RLC1370; none otherwise.
std::optional<int> ParseAnalyzerTypeCode(const std::string& code);

// A number as the program's fields take it: decimal, an exponent and an SI prefix letter allowed
// ("4.7k", "1e3", "100m"); UsageError naming what otherwise.
double ParseSweepNumber(const std::string& text, const std::string& what);
