#pragma once
// ibnotify for libraries that lack it: one waiting thread per device waits with ibwait, in short
// slices serialised with the caller's I/O, for the armed event or the device's time-out, and calls
// the callback once per arming from that thread. A non-zero result re-arms with that mask unless
// the device was armed again meanwhile; 0 leaves it disarmed.

#include "instrument/gpib/Gpib.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace gpib {

struct WaitStatus {
    int ibsta = 0;
    int iberr = 0;
    long ibcntl = 0;
};

class NotifyEmulator {
public:
    // Waits on the device for a bit of mask, at most one short slice; called on the waiting thread.
    using WaitSlice = std::function<WaitStatus(int ud, int mask)>;

    explicit NotifyEmulator(WaitSlice waitSlice);
    ~NotifyEmulator();
    NotifyEmulator(const NotifyEmulator&) = delete;
    NotifyEmulator& operator=(const NotifyEmulator&) = delete;

    // timeoutMicroseconds: the device's time-out, after which TIMO is reported if mask has it (0: none).
    void Arm(int ud, int mask, GpibNotifyCallback_t callback, void* refData, long long timeoutMicroseconds);
    void Disarm(int ud);
    // Ends and joins every waiting thread.
    void Stop();
    // Tells every waiting thread to end, without waiting for them (one may be inside a callback).
    void Halt();

private:
    struct Waiter {
        std::thread thread;
        bool armed = false;
        int mask = 0;
        GpibNotifyCallback_t callback = nullptr;
        void* refData = nullptr;
        long long timeoutMicroseconds = 0;
        unsigned long long generation = 0;
    };

    void Run(int ud, Waiter& waiter);

    WaitSlice waitSlice_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<int, std::unique_ptr<Waiter>> waiters_;
    bool stopping_ = false;
};

} // namespace gpib
