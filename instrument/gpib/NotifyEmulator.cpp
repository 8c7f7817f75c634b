#include "instrument/gpib/NotifyEmulator.h"

#include <chrono>

namespace gpib {

NotifyEmulator::NotifyEmulator(WaitSlice waitSlice) : waitSlice_(std::move(waitSlice)) {}

NotifyEmulator::~NotifyEmulator()
{
    Stop();
}

void NotifyEmulator::Arm(int ud, int mask, GpibNotifyCallback_t callback, void* refData,
                         long long timeoutMicroseconds)
{
    // The waiting threads are woken once the lock is released, so they do not run into it.
    std::unique_lock lock(mutex_);
    if (stopping_)
        return;
    std::unique_ptr<Waiter>& slot = waiters_[ud];
    if (!slot) {
        slot = std::make_unique<Waiter>();
        Waiter& waiter = *slot;
        waiter.thread = std::thread([this, ud, &waiter] { Run(ud, waiter); });
    }
    slot->armed = true;
    slot->mask = mask;
    slot->callback = callback;
    slot->refData = refData;
    slot->timeoutMicroseconds = timeoutMicroseconds;
    ++slot->generation;
    lock.unlock();
    changed_.notify_all();
}

void NotifyEmulator::Disarm(int ud)
{
    std::unique_lock lock(mutex_);
    if (auto it = waiters_.find(ud); it != waiters_.end()) {
        it->second->armed = false;
        ++it->second->generation;
    }
    lock.unlock();
    changed_.notify_all();
}

void NotifyEmulator::Halt()
{
    std::lock_guard lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
}

void NotifyEmulator::Stop()
{
    Halt();
    // No entry is added once stopping, and the threads use theirs until they end.
    for (auto& [ud, waiter] : waiters_)
        if (waiter->thread.joinable())
            waiter->thread.join();
    std::lock_guard lock(mutex_);
    waiters_.clear();
}

void NotifyEmulator::Run(int ud, Waiter& waiter)
{
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [&] { return stopping_ || waiter.armed; });
        if (stopping_)
            return;
        const unsigned long long generation = waiter.generation;
        const int mask = waiter.mask;
        const GpibNotifyCallback_t callback = waiter.callback;
        void* const refData = waiter.refData;
        const auto limit = std::chrono::microseconds(waiter.timeoutMicroseconds);
        Clock::time_point start = Clock::now();

        WaitStatus status;
        bool fire = false;
        while (!fire) {
            lock.unlock();
            status = waitSlice_(ud, mask);
            lock.lock();
            if (stopping_ || waiter.generation != generation)
                break;
            const bool eventSeen = (status.ibsta & mask & ~TIMO) != 0;
            const bool failed = (status.ibsta & ERR) != 0 && (status.ibsta & TIMO) == 0;
            if (eventSeen || failed) {
                fire = true;
            } else if (limit.count() > 0 && Clock::now() - start >= limit) {
                if (mask & TIMO) {
                    status.ibsta = (status.ibsta & ~ERR) | TIMO;
                    fire = true;
                } else {
                    start = Clock::now();
                }
            }
        }
        if (!fire)
            continue;

        waiter.armed = false;
        lock.unlock();
        const int rearm = callback ? callback(ud, status.ibsta, status.iberr, status.ibcntl, refData) : 0;
        lock.lock();
        // A device armed again during the callback keeps that arming; otherwise the result decides.
        if (rearm != 0 && waiter.generation == generation && !stopping_) {
            waiter.armed = true;
            waiter.mask = rearm;
            ++waiter.generation;
        }
    }
}

} // namespace gpib
