#pragma once
// The simulated analyzer's library, opened as the bindings open it, with its configuration call
// and the referee's records.

#include <dlfcn.h>

#include <string>
#include <utility>
#include <vector>

namespace campaign {

class SimulatorLibrary {
public:
    explicit SimulatorLibrary(const std::string& path)
    {
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_)
            return;
        configure_ = reinterpret_cast<int (*)(const char*)>(dlsym(handle_, "talsim_configure"));
        violations_ = reinterpret_cast<int (*)(char*, int, int)>(dlsym(handle_, "talsim_violations"));
        measurements_ = reinterpret_cast<int (*)(double*, int)>(dlsym(handle_, "talsim_measurements"));
    }
    SimulatorLibrary(const SimulatorLibrary&) = delete;
    SimulatorLibrary& operator=(const SimulatorLibrary&) = delete;

    bool Usable() const { return configure_ && violations_ && measurements_; }
    // 0 when the text is accepted.
    int Configure(const std::string& text) const { return configure_(text.c_str()); }
    // The breaches recorded since the last call, and their report; the record is cleared.
    std::pair<int, std::string> TakeViolations() const
    {
        std::string text(16384, '\0');
        const int count = violations_(text.data(), static_cast<int>(text.size()), 1);
        text.resize(text.find('\0'));
        return {count, text};
    }
    // The most recent measurements (frequency, amplitude), oldest first.
    std::vector<std::pair<double, double>> RecentMeasurements() const
    {
        double pairs[2 * 64];
        const int n = measurements_(pairs, 64);
        std::vector<std::pair<double, double>> out;
        for (int i = 0; i < n; ++i)
            out.emplace_back(pairs[2 * i], pairs[2 * i + 1]);
        return out;
    }

private:
    void* handle_ = nullptr;  // kept open: the simulator lives until the process ends
    int (*configure_)(const char*) = nullptr;
    int (*violations_)(char*, int, int) = nullptr;
    int (*measurements_)(double*, int) = nullptr;
};

} // namespace campaign
