#pragma once
// The 2600-series analyzer: its command set, identification, capability reply, readings, message
// queue and the differences between firmware 1.x and 2.x (sim/README.md lists them).

#include "sim/Circuit.h"
#include "sim/ConfiguredInstrument.h"
#include "sim/SimConfig.h"

#include <array>
#include <deque>
#include <random>
#include <string>

namespace talsim {

class Instrument2600 final : public ConfiguredInstrument {
public:
    // Status byte bits of the family (bit 5 and 6 are the IEEE 488.2 ones).
    static constexpr std::uint8_t kResultAvailable = 0x01;
    static constexpr std::uint8_t kMessageAvailable = 0x10;

    // config is the simulator's (it outlives the instrument); "ADDR" changes its address.
    Instrument2600(SimConfig& config, Referee& referee);

    bool UsbCapable() const override { return true; }
    bool OutputPending() const override { return readRequested_ && measuring_; }
    std::optional<Clock::time_point> NextDue() const override;
    void Advance(Clock::time_point now) override;
    void DeviceClear() override;
    void FaultsChanged() override;

protected:
    bool Execute(const Command& command, Clock::time_point now) override;
    std::uint8_t InstrumentBits() const override;
    void OnOutputRead(std::size_t n) override;
    void OnOutputDiscarded() override { readingOffset_ = kNone; }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    static constexpr std::size_t kMaxMessages = 16;

    // Handlers of command groups; each returns false for an unknown header.
    bool ExecuteCommon(const Command& command);
    bool ExecuteMeasurement(const Command& command, Clock::time_point now);
    bool ExecuteSetting(const Command& command);

    double FrequencySetting() const override { return frequency_; }
    // The output ratings at the frequency about to be measured, checked by each measure command.
    void CheckOutputRatings();
    void ResetSettings();
    void StartMeasurement(Clock::time_point now);
    void AbortMeasurement();
    void QueueReadingReply();
    std::string FormatReading(const std::array<ChannelReading, 4>& channels);
    std::string Identification() const;
    std::string Capability() const;
    double MinimumFrequency() const;


    // Settings.
    double frequency_ = 1000.0;
    double amplitude_ = 0.1;
    double dcOffset_ = 0.0;
    bool squareWave_ = false;
    int outputImpedance_ = 50;
    std::array<double, 4> inputImpedance_{};
    std::array<int, 4> attenuation_{};   // dB, or -1 for automatic
    bool highNoiseAlgorithm_ = false;
    bool integrateCycles_ = false;
    double integrationTime_ = 1.0;
    double delayTime_ = 0.0;
    int cycles_ = 1;
    int delayCycles_ = 0;
    bool bias_ = false;
    bool output_ = false;
    int acInput_ = 0;
    bool mode880_ = false;
    bool dfra_ = false;

    // Measurement and replies.
    std::string pendingReading_;       // the reading being measured, formatted
    bool readingReady_ = false;        // status bit 0: a reading waits to be read
    std::string reading_;              // the reading reply
    std::size_t readingRead_ = 0;      // bytes of it the controller has taken
    std::size_t readingOffset_ = kNone; // where its unread rest starts in the output queue
    std::string lastReading_;
    bool readRequested_ = false;       // "READ?;" arrived while measuring
    std::deque<std::string> messages_; // status bit 4: "VERSION;" texts
    bool forcedSummary_ = false;       // the stb_error fault
};

} // namespace talsim
