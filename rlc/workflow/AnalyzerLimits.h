#pragma once
// What the measurement page knows of the analyzer types: their ids (the application's type
// table), the frequency limits the panel sets, and the clamps of its value fields.
#include <optional>

enum RlcAnalyzerType : int {
    RLC880 = 0,
    RLC1960 = 6,
    RLC1842 = 7,
    RLC1852 = 8,
    RLC1862 = 9,
    RLC2600 = 10,
    RLC1370 = 11,
};

struct FrequencyLimits {
    double lowest;   // Hz
    double highest;  // Hz
};

// The limits the panel sets when it opens; nothing for types that keep theirs.
std::optional<FrequencyLimits> AnalyzerFrequencyLimits(int analyzerType);
// RLC2600 and RLC1370: driven through the 2600-series dialog (range list, re-initialisation).
bool Uses2600SeriesDialog(int analyzerType);
// RLC1842, RLC1852, RLC1862: the 1800 series with its "Input Type Ch. 1:" list.
bool Is1800Series(int analyzerType);

double ClampAcVoltage(double volts);     // 0.01 .. 10
double ClampDcVoltage(double volts);     // -9.99 .. 9.99
double ClampPhaseLimit(double degrees);  // 1 .. 180
