#pragma once
// The two program-wide band frequencies: the previous and the current reading of the running
// sweep. The sweep target sets them before a hint-1036 update; the partial redraw reads them.

struct SweepBand {
    double previousFrequency = 0.0;  // Hz
    double currentFrequency = 0.0;   // Hz
};

// The process-wide instance (user-interface thread only).
SweepBand& sweepBand();
