#pragma once
// The 1800-series gain-phase analyzers (1842, 1852, 1862): the 1960's language with a sine output
// only, AC or AC+DC coupling, the input type, the resolution, their own bandwidths and an output
// ceiling that falls with the frequency; the highest frequency is the max_frequency key's.

#include "sim/Instrument1960.h"

namespace talsim {

class Instrument1800 final : public Instrument1960 {
public:
    using Instrument1960::Instrument1960;

    // The hardware ceiling (V peak) of the band that holds frequency: 10 V below 1 MHz down to
    // 0.75 V from 30 MHz.
    static double BandCeiling(double frequency);

protected:
    std::string Identification() const override;
    double MaximumFrequency() const override { return config_.maxFrequency; }
    double MinimumFrequency() const override { return dcCoupled_ ? 1e-5 : 0.01; }
    bool CouplingKnown(const std::string& keyword) const override;
    bool WaveformKnown(const std::string& keyword) const override { return keyword == "SINEWA"; }
    bool BandKnown(const std::string& keyword) const override;
    double AmplitudeCeiling(double frequency) const override { return BandCeiling(frequency); }
    const char* BandFor(double frequency) const override;
    bool ExecuteFamily(const Command& command) override;

private:
    bool differential_ = false;
    bool highResolution_ = false;
};

} // namespace talsim
