#include "instrument/Sleeper.h"

#include <atomic>
#include <numeric>
#include <thread>

namespace instrument {

namespace {

RealSleeper& RealInstance()
{
    static RealSleeper real;
    return real;
}

std::atomic<Sleeper*> g_current{nullptr};

} // namespace

void RealSleeper::SleepFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

void RecordingSleeper::SleepFor(std::chrono::milliseconds duration)
{
    std::lock_guard lock(mutex_);
    recorded_.push_back(duration.count());
}

std::vector<long long> RecordingSleeper::RecordedMilliseconds() const
{
    std::lock_guard lock(mutex_);
    return recorded_;
}

long long RecordingSleeper::TotalMilliseconds() const
{
    std::lock_guard lock(mutex_);
    return std::accumulate(recorded_.begin(), recorded_.end(), 0LL);
}

void RecordingSleeper::Clear()
{
    std::lock_guard lock(mutex_);
    recorded_.clear();
}

Sleeper& CurrentSleeper()
{
    Sleeper* current = g_current.load();
    return current ? *current : RealInstance();
}

void SetCurrentSleeper(Sleeper* sleeper)
{
    g_current.store(sleeper);
}

void SleepMilliseconds(long long milliseconds)
{
    CurrentSleeper().SleepFor(std::chrono::milliseconds(milliseconds));
}

ScopedSleeper::ScopedSleeper(Sleeper& sleeper) : previous_(g_current.exchange(&sleeper)) {}

ScopedSleeper::~ScopedSleeper()
{
    g_current.store(previous_);
}

} // namespace instrument
