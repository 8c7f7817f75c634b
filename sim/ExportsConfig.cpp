// The configuration entry point (the same text as the TALVERN_SIM environment variable).

#include "sim/Exports.h"
#include "sim/Simulator.h"

#include <algorithm>
#include <cstring>
#include <string>

TALSIM_EXPORT int talsim_configure(const char* text)
{
    if (!text)
        return -1;
    talsim::Simulator& sim = talsim::Simulator::Instance();
    talsim::Simulator::Lock lock(sim.mutex);
    const int result = sim.Configure(std::string_view(text, strnlen(text, 65537)));
    sim.Unlock(lock);
    return result;
}

// The referee's record: copies its report (one line per violation, NUL-terminated, cut to size)
// into text when it is not null, clears the record when clear is not 0, and returns the number of
// violations recorded since the last clearing.
TALSIM_EXPORT int talsim_violations(char* text, int size, int clear)
{
    talsim::Simulator& sim = talsim::Simulator::Instance();
    talsim::Simulator::Lock lock(sim.mutex);
    const std::size_t count = sim.referee.Count();
    if (text && size > 0) {
        const std::string report = sim.referee.Report();
        const std::size_t n = std::min(report.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(text, report.data(), n);
        text[n] = '\0';
    }
    if (clear)
        sim.referee.Clear();
    sim.Unlock(lock);
    return static_cast<int>(std::min<std::size_t>(count, 1000000000));
}

// The most recent measurements (at most maxPairs, oldest first) as frequency and amplitude pairs
// into pairs; returns the number of pairs written.
TALSIM_EXPORT int talsim_measurements(double* pairs, int maxPairs)
{
    if (!pairs || maxPairs <= 0)
        return 0;
    talsim::Simulator& sim = talsim::Simulator::Instance();
    talsim::Simulator::Lock lock(sim.mutex);
    const auto& recent = sim.referee.RecentMeasurements();
    const std::size_t n = std::min(recent.size(), static_cast<std::size_t>(maxPairs));
    const std::size_t first = recent.size() - n;
    for (std::size_t i = 0; i < n; ++i) {
        pairs[2 * i] = recent[first + i].frequency;
        pairs[2 * i + 1] = recent[first + i].amplitude;
    }
    sim.Unlock(lock);
    return static_cast<int>(n);
}
