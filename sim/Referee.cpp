#include "sim/Referee.h"

#include <cstdio>

namespace talsim {

void Referee::Record(std::string_view command, double frequency, std::string_view rule)
{
    ++count_;
    if (kept_.size() < kMaxKept)
        kept_.push_back({std::string(command), frequency, std::string(rule)});
}

std::string Referee::Report() const
{
    std::string text;
    for (const Violation& v : kept_) {
        char frequency[32];
        std::snprintf(frequency, sizeof frequency, "%.6g", v.frequency);
        text += v.rule + ": '" + v.command + "' at " + frequency + " Hz\n";
    }
    if (count_ > kept_.size())
        text += "... and " + std::to_string(count_ - kept_.size()) + " more\n";
    return text;
}

void Referee::Measured(double frequency, double amplitude)
{
    if (measurements_.size() == kMaxMeasurements)
        measurements_.erase(measurements_.begin());
    measurements_.push_back({frequency, amplitude});
}

void Referee::Clear()
{
    kept_.clear();
    count_ = 0;
}

} // namespace talsim
