#pragma once
// A probe of the sweep engine's per-reading path, for the benchmark and the soak run: told when a
// service request reaches the engine (on the library's thread) and when the next measure command
// has been written (on the engine's thread).

class SweepStepObserver {
public:
    virtual ~SweepStepObserver() = default;
    virtual void OnServiceRequestArrived() {}
    virtual void OnMeasureCommandWritten() {}
    // A reading was accepted and handed to the target.
    virtual void OnReadingAccepted(double frequency) { (void)frequency; }
};
