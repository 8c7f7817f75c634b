#include "sim/ConfiguredInstrument.h"

#include <algorithm>

namespace talsim {

bool ConfiguredInstrument::AcceptsMessage()
{
    if (config_.faults.vanishAfter >= 0 && readingsTaken_ >= config_.faults.vanishAfter)
        vanished_ = true;
    return Present();
}

std::optional<Clock::time_point> ConfiguredInstrument::NextDue() const
{
    if (!measuring_)
        return std::nullopt;
    return due_;
}

void ConfiguredInstrument::RestartFaults()
{
    readingsTaken_ = 0;
    vanished_ = false;
}

bool ConfiguredInstrument::RefusesHeader(const std::string& header) const
{
    return std::find(config_.refuse.begin(), config_.refuse.end(), header) != config_.refuse.end();
}

} // namespace talsim
