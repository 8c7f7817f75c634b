#pragma once
// The reading record and the per-sweep state that the judging and stepping rules read and change.

#include <array>

namespace analyzer {

// One reading: frequency (Hz), amplitude (V peak) and phase (degrees) of channels 1-4 (index 0-3),
// and the AC output amplitude in effect while it was taken.
struct Reading {
    double frequency = 0.0;
    std::array<double, 4> amplitude{};
    std::array<double, 4> phase{};
    double outputAmplitude = 0.0;
};

struct SweepState {
    Reading reading;
    Reading previous;            // the reading accepted before; frequency 0 means none
    int numeratorChannel = 2;    // 1..4, from the channel-ratio choice
    int denominatorChannel = 1;  // 1..4
    bool servoRetried = false;   // the current point was already retaken once by the servo
    bool logSweep = true;
    double stepsPerDecade = 10.0;      // in use; maximum change may refine it
    double userStepsPerDecade = 10.0;
    double step = 1000.0;              // Hz, in use
    double userStep = 1000.0;
    double startFrequency = 10.0;      // Hz, after the frequency limits
    double stopFrequency = 100000.0;
    bool ascending = true;             // stop above start
};

} // namespace analyzer
