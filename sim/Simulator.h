#pragma once
// The process-wide simulator: the configuration, the instruments on the bus, the GPIB and VISA
// front ends, and two instrument threads of its own that finish timed measurements and call
// notification callbacks and VISA handlers. The thread that raises a service request delivers it
// at once; callbacks run one at a time, and while one thread is in a callback the other keeps the
// instruments going. One lock guards all state; the callers' callbacks run without it.

#include "sim/GpibBus.h"
#include "sim/Referee.h"
#include "sim/SimConfig.h"
#include "sim/SimInstrument.h"
#include "sim/VisaSessions.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <optional>
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
    // After a change of state: the callers waiting for one are to be woken, and an idle
    // instrument thread if the change gives the threads work sooner than they would wake by
    // themselves. The wake-ups go out when the lock is released (Unlock, or before a wait), so
    // that a woken thread does not run into the lock still held.
    void Changed();
    // Releases the lock, then sends the wake-ups the changes made under it call for.
    void Unlock(Lock& lock);
    // Waits for a change, or until deadline (kNever: no limit); the lock is released meanwhile.
    // May return early, when it released the lock to send pending wake-ups: callers wait in a
    // loop that checks their condition again.
    static constexpr Clock::time_point kNever = Clock::time_point::max();
    void WaitForChange(Lock& lock, Clock::time_point deadline);

    std::mutex mutex;
    std::condition_variable changed;  // callers waiting in a read, a wait or a lock
    SimConfig config;
    Referee referee;  // kept across power-ons and family changes until read with clearing
    GpibBus gpib{*this};
    VisaSessions visa{*this};

private:
    Simulator();
    void PowerOn();
    void RebuildOthers();
    static constexpr int kThreads = 2;
    void InstrumentLoop(int thread);
    // Runs one due notification callback or VISA handler, if any (with callbacks=thread: starts a
    // thread that runs it); false if there was none.
    bool Deliver(Lock& lock, Clock::time_point now);
    // The thread of one delivery, with callbacks=thread.
    void RunDelivery(std::optional<GpibBus::Delivery> gpibDelivery, std::optional<VisaSessions::Delivery> visaDelivery);
    // When the instrument threads next have something to do; none if nothing is pending.
    std::optional<Clock::time_point> NextWork(Clock::time_point now) const;
    void WakeIdleThread();
    // Sends pending wake-ups, releasing the lock meanwhile; false if there were none.
    bool SendWakeUps(Lock& lock);

    std::unique_ptr<SimInstrument> analyzer_;
    std::vector<std::unique_ptr<SimInstrument>> others_;
    // The instrument threads: an idle one waits on its work_ until its wakeAt_; running_ counts
    // those that hold or are taking the lock outside a callback, and will look for work before
    // they wait. The thread that went idle last is woken first: it ran last, on a warm CPU.
    std::array<std::condition_variable, kThreads> work_;
    std::array<bool, kThreads> idle_{};
    std::array<Clock::time_point, kThreads> wakeAt_{};
    std::array<std::uint64_t, kThreads> idleSince_{};
    std::uint64_t idleCount_ = 0;
    int running_ = 0;
    bool wakePending_ = false;  // an idle thread was (or is to be) notified and has not woken yet
    bool notifyCallers_ = false;
    int notifyThread_ = -1;     // the idle thread to notify when the lock is released
    bool delivering_ = false;   // a thread is in a callback or handler
};

} // namespace talsim
