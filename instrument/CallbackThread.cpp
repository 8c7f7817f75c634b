#include "instrument/CallbackThread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace instrument {

namespace {

class CallbackThread {
public:
    CallbackThread() { std::thread([this] { Run(); }).detach(); }

    void Post(std::function<void()> job)
    {
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        posted_.notify_one();
    }

private:
    void Run()
    {
        std::unique_lock lock(mutex_);
        while (true) {
            posted_.wait(lock, [this] { return !jobs_.empty(); });
            std::function<void()> job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> jobs_;
};

} // namespace

void PostCallback(std::function<void()> job)
{
    // Never destroyed: the thread may be inside a callback when the process ends.
    static CallbackThread* const thread = new CallbackThread();
    thread->Post(std::move(job));
}

} // namespace instrument
