#pragma once
// The options of `talvern-cli rlc`, read strictly from the command line.
#include <optional>
#include <string>

#include "cli/Commands.h"

struct RlcOptions {
    int analyzerType = 10;  // RLC2600 or RLC1370
    std::string simulatorConfig;
    double start = 0.0;  // Hz
    double stop = 0.0;
    double stepsPerDecade = 10.0;
    std::optional<double> acVolts;
    std::optional<int> kind;  // circuit kind to fit; none: no model
    std::string name;
    std::string out;
    std::string report;
    std::string calibration;  // loaded when it exists, otherwise measured and saved there
};

// UsageError for anything it cannot take.
RlcOptions ParseRlcOptions(const Arguments& args);
