#pragma once
// Test access to the simulator library that the bindings load: its configuration entry, and a
// service-request sink that the tests wait on.

#include "instrument/SrqSink.h"

#include <chrono>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// Holds the simulator library open (the bindings open the same instance) and configures it.
class SimLibrary {
public:
    explicit SimLibrary(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~SimLibrary()
    {
        if (handle_)
            dlclose(handle_);
    }
    SimLibrary(const SimLibrary&) = delete;
    SimLibrary& operator=(const SimLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // "reset" first, so that every test starts from the defaults.
    bool Configure(const std::string& text)
    {
        auto configure = reinterpret_cast<int (*)(const char*)>(handle_ ? dlsym(handle_, "talsim_configure") : nullptr);
        return configure && configure(("reset;" + text).c_str()) == 0;
    }
    // Changes the configuration without the reset.
    bool Change(const std::string& text)
    {
        auto configure = reinterpret_cast<int (*)(const char*)>(handle_ ? dlsym(handle_, "talsim_configure") : nullptr);
        return configure && configure(text.c_str()) == 0;
    }

private:
    void* handle_;
};

// Records each service request with the thread it arrived on.
class RecordingSink final : public instrument::SrqSink {
public:
    void OnServiceRequest(int statusByte) override
    {
        std::lock_guard lock(mutex_);
        statusBytes_.push_back(statusByte);
        threads_.push_back(std::this_thread::get_id());
        arrived_.notify_all();
    }

    // Waits (at most a generous limit, so a lost request fails instead of hanging) for count requests.
    bool WaitFor(size_t count)
    {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::seconds(10), [&] { return statusBytes_.size() >= count; });
    }
    size_t Count()
    {
        std::lock_guard lock(mutex_);
        return statusBytes_.size();
    }
    int StatusByte(size_t i)
    {
        std::lock_guard lock(mutex_);
        return statusBytes_.at(i);
    }
    std::thread::id Thread(size_t i)
    {
        std::lock_guard lock(mutex_);
        return threads_.at(i);
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<int> statusBytes_;
    std::vector<std::thread::id> threads_;
};

} // namespace testsupport
