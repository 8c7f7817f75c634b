#pragma once
// The NF 5060 and 5060A analyzers on GPIB: three channels, their own command language (a header
// with a blank and a value, "OAM 1", or with a digit, "OWF0"), their reply layout and their own
// status byte (bit 0 output ready, bit 2 measuring, bit 4 error, bit 7 unknown command) with an
// error byte read by "?ERR" as a binary text.

#include "sim/Circuit.h"
#include "sim/ConfiguredInstrument.h"
#include "sim/SimConfig.h"

#include <random>
#include <string>

namespace talsim {

class Instrument5060 final : public ConfiguredInstrument {
public:
    static constexpr std::uint8_t kReady = 0x01;
    static constexpr std::uint8_t kMeasuring = 0x04;
    static constexpr std::uint8_t kError = 0x10;
    static constexpr std::uint8_t kUnknownCommand = 0x80;
    // Error byte bits.
    static constexpr std::uint8_t kHeaderError = 0x01;
    static constexpr std::uint8_t kParameterError = 0x02;

    Instrument5060(SimConfig& config, Referee& referee);

    bool OutputPending() const override { return measuring_; }
    void Advance(Clock::time_point now) override;
    void FaultsChanged() override;

protected:
    bool Execute(const Command& command, Clock::time_point now) override;
    std::uint8_t InstrumentBits() const override;
    void OnOutputRead(std::size_t n) override;
    void OnOutputDiscarded() override { ready_ = false; }

    double FrequencySetting() const override { return frequency_; }

private:
    // A value the instrument does not take: the error byte's parameter bit, and a breach.
    void ParameterError();
    bool ExecuteSetting(const std::string& header, const std::string& value);
    std::string Identification() const;
    double MaximumFrequency() const;
    void StartMeasurement(Clock::time_point now);
    std::string FormatReading();

    double frequency_ = 1000.0;
    double amplitude_ = 0.0;
    double offset_ = 0.0;
    int waveform_ = 0;  // 0 sine, 1 square, 2 triangle
    bool output_ = false;
    bool integrateCycles_ = false;
    double integrationTime_ = 1.0;
    double delayTime_ = 0.0;
    int cycles_ = 1;
    int delayCycles_ = 0;
    int autoChannel_ = 1;
    int autoMode_ = 0;

    bool ready_ = false;
    std::uint8_t errorByte_ = 0;
    bool unknownCommand_ = false;
};

} // namespace talsim
