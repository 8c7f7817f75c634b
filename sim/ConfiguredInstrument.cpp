#include "sim/ConfiguredInstrument.h"

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

} // namespace talsim
