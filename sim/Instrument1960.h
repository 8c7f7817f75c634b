#pragma once
// The 1960 gain-phase analyzer on GPIB: two channels, its command set, the "GAINPH?" reply and the
// IEEE 488.2 status. Instrument1800 derives from it for the 1800 series (sim/README.md lists the
// differences).

#include "sim/Circuit.h"
#include "sim/ConfiguredInstrument.h"
#include "sim/SimConfig.h"

#include <random>
#include <string>

namespace talsim {

class Instrument1960 : public ConfiguredInstrument {
public:
    static constexpr std::uint8_t kResultAvailable = 0x01;
    static constexpr std::uint8_t kMessageAvailable = 0x10;

    Instrument1960(SimConfig& config, Referee& referee);

    bool OutputPending() const override { return measuring_; }
    void Advance(Clock::time_point now) override;
    void FaultsChanged() override;

protected:
    bool Execute(const Command& command, Clock::time_point now) override;
    std::uint8_t InstrumentBits() const override;
    void OnOutputRead(std::size_t n) override;
    void OnOutputDiscarded() override { resultReady_ = false; }

    // What the 1800 series does differently.
    virtual std::string Identification() const;
    // The "*IDN?" model text, the highest frequency for the waveform, the lowest for the coupling.
    virtual double MaximumFrequency() const;
    virtual double MinimumFrequency() const { return dcCoupled_ ? 1e-4 : 0.01; }
    // Keywords the instrument accepts for COUPLI, WAVEFO and BANDWI.
    virtual bool CouplingKnown(const std::string& keyword) const;
    virtual bool WaveformKnown(const std::string& keyword) const;
    virtual bool BandKnown(const std::string& keyword) const;
    // Highest amplitude (V peak) at the frequency; an output above it fails the measurement.
    virtual double AmplitudeCeiling(double) const { return 10.0; }
    // The filter band the frequency calls for (the 1960's LOW/MEDIUM/HIGH).
    virtual const char* BandFor(double frequency) const;
    // Further commands of the family; false for an unknown header.
    virtual bool ExecuteFamily(const Command&) { return false; }

    double frequency_ = 1000.0;
    double amplitude_ = 0.0;
    std::string waveform_ = "SINEWA";
    std::string band_ = "LOW";
    bool dcCoupled_ = false;

    double FrequencySetting() const override { return frequency_; }

private:
    bool ExecuteSetting(const Command& command);
    void StartMeasurement(Clock::time_point now);
    std::string FormatReading();

    double offset_ = 0.0;
    bool output_ = false;
    std::string speed_ = "MEDIUM";
    int cycles_ = 0;
    int delay_ = 0;
    int pendingAddress_ = 0;

    bool resultReady_ = false;
    bool forcedSummary_ = false;
};

} // namespace talsim
