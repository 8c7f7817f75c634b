#pragma once
// The frequency of the next point of a sweep, the end-of-sweep test and the frequency limits.

#include <string>
#include <vector>

#include "analyzer/sweep/SweepState.h"

namespace analyzer {

// From the current reading's frequency (the start frequency when that is 0 or less): one log step
// (steps per decade in use) or one linear step (step in use) towards the stop frequency, never
// beyond it; a step that the four digits sent ("%.4G") cannot tell from the current frequency
// goes on to the next frequency they can. In start-frequency mode: the start frequency.
double NextFrequency(const SweepState& state, bool startFrequencyMode);

// The reading at frequency ends the sweep: it is at or beyond the stop frequency in the sweep's
// direction. Both count as the analyzer is told them ("%.4G"), so a stop frequency with more than
// four significant digits, or a reading a little off the frequency sent, still ends the sweep.
bool ReachedStopFrequency(double frequency, const SweepState& state);

// The part of the range (start, stop, as set for the progress indicator) done at frequency, on a
// logarithmic scale, truncated to a whole percent in 0..100; 0 when the range is empty.
int SweepProgressPercent(double frequency, double rangeStart, double rangeStop);

struct FrequencyLimits {
    double minimum = 0.001;            // Hz, the analyzer's lowest frequency
    double maximum = 5e6;              // Hz, the analyzer's highest frequency
    double maximumForSettings = 5e6;   // Hz, lowered by waveform and output impedance
    // The log line of a frequency lowered to the maximum for the settings ("%g" takes it).
    const char* maximumMessage = "Freq limited to %g for current analyzer type, waveform or output impedance\r\n";
};

struct FrequencyLimitResult {
    bool startChanged = false;
    bool stopChanged = false;
    bool ascending = true;
    std::vector<std::string> logLines;  // "Freq limited to ..." lines, stop first
};

// Lowers the maximum for the settings to the analyzer's maximum, then brings the stop and the
// start frequency into [minimum, maximum for the settings]. A value that is not a number counts
// as below the minimum.
FrequencyLimitResult CheckFrequencyLimits(double& start, double& stop, FrequencyLimits& limits);

} // namespace analyzer
