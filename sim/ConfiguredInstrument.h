#pragma once
// What every simulated analyzer shares on top of IEEE 488.2: the simulator's configuration (the
// address, the seed and the injected faults), the no-listener and vanish-after-N-readings faults,
// the read time-out fault and the measurement under way with its due time.

#include "sim/Ieee488Device.h"
#include "sim/SimConfig.h"

#include <random>

namespace talsim {

class ConfiguredInstrument : public Ieee488Device {
public:
    int Address() const override { return config_.address; }
    bool Present() const override { return !config_.faults.noListener && !vanished_; }
    // A device set to vanish after N readings stops answering from the next message on.
    bool AcceptsMessage() override;
    bool ReadsTimeOut() const override { return config_.faults.timeout; }
    std::optional<Clock::time_point> NextDue() const override;
    void Reseed() override { rng_.seed(config_.seed); }
    bool RefusesHeader(const std::string& header) const override;

protected:
    // config and referee are the simulator's; they outlive the instrument.
    ConfiguredInstrument(SimConfig& config, Referee& referee) : config_(config), rng_(config.seed)
    {
        SetReferee(&referee);
    }
    // The faults changed: the reading count of the vanish fault starts again.
    void RestartFaults();

    SimConfig& config_;
    std::mt19937_64 rng_;
    bool measuring_ = false;
    Clock::time_point due_{};
    long readingsTaken_ = 0;  // readings read completely, for vanish_after
    bool vanished_ = false;
};

} // namespace talsim
