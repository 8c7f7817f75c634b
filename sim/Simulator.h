#pragma once
// The process-wide simulator: the configuration, the instruments on the bus, the GPIB and VISA
// front ends, and two threads of its own: the instrument thread finishes timed measurements, the
// event thread calls notification callbacks and VISA handlers. One lock guards all state; the
// callers' callbacks run without it.

#include "sim/GpibBus.h"
#include "sim/SimConfig.h"
#include "sim/SimInstrument.h"
#include "sim/VisaSessions.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace talsim {

class Simulator {
public:
    using Lock = std::unique_lock<std::mutex>;

    // Created on first use (applying TALVERN_SIM) and kept for the life of the process.
    static Simulator& Instance();

    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Applies a configuration text (see SimConfig.h); 0 when accepted.
    int Configure(std::string_view text);

    // The instrument at a primary address of a board, whether or not it answers; null if none.
    SimInstrument* InstrumentAt(int board, int address);
    SimInstrument& Analyzer() { return *analyzer_; }
    // Wakes every waiter after a change of state.
    void Changed() { changed.notify_all(); }
    // Waits for a change, or until deadline (kNever: no limit); the lock is released meanwhile.
    static constexpr Clock::time_point kNever = Clock::time_point::max();
    void WaitForChange(Lock& lock, Clock::time_point deadline);

    std::mutex mutex;
    std::condition_variable changed;
    SimConfig config;
    GpibBus gpib{*this};
    VisaSessions visa{*this};

private:
    Simulator();
    void PowerOn();
    void RebuildOthers();
    void InstrumentLoop();
    void EventLoop();

    std::unique_ptr<SimInstrument> analyzer_;
    std::vector<std::unique_ptr<SimInstrument>> others_;
};

} // namespace talsim
