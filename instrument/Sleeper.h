#pragma once
// Fixed waits of the instrument code go through the current sleeper, so tests can record them
// instead of waiting.

#include <chrono>
#include <mutex>
#include <vector>

namespace instrument {

class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void SleepFor(std::chrono::milliseconds duration) = 0;
};

// Sleeps the calling thread.
class RealSleeper final : public Sleeper {
public:
    void SleepFor(std::chrono::milliseconds duration) override;
};

// Records every requested wait and returns at once; safe to use from several threads.
class RecordingSleeper final : public Sleeper {
public:
    void SleepFor(std::chrono::milliseconds duration) override;
    std::vector<long long> RecordedMilliseconds() const;
    long long TotalMilliseconds() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<long long> recorded_;
};

// The process-wide sleeper the instrument code uses; the real one unless replaced.
Sleeper& CurrentSleeper();
// Replaces the current sleeper (nullptr restores the real one). The caller keeps ownership.
void SetCurrentSleeper(Sleeper* sleeper);

// Waits through the current sleeper.
void SleepMilliseconds(long long milliseconds);

// Installs a sleeper for the lifetime of the object and restores the previous one afterwards.
class ScopedSleeper {
public:
    explicit ScopedSleeper(Sleeper& sleeper);
    ~ScopedSleeper();
    ScopedSleeper(const ScopedSleeper&) = delete;
    ScopedSleeper& operator=(const ScopedSleeper&) = delete;

private:
    Sleeper* previous_;
};

} // namespace instrument
