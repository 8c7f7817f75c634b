#pragma once
// Common IEEE 488.2 behaviour of a simulated instrument: splitting a message into commands,
// the output queue, the standard event status register (ESR/ESE), the service request enable
// (SRE) and the status byte with its request-for-service bit (bit 6), raised when an enabled
// summary bit comes on and cleared by a serial poll.

#include "sim/Referee.h"
#include "sim/SimInstrument.h"

#include <string>
#include <vector>

namespace talsim {

class Ieee488Device : public SimInstrument {
public:
    // Event status register bits.
    static constexpr std::uint8_t kQueryError = 0x04;
    static constexpr std::uint8_t kDeviceError = 0x08;
    static constexpr std::uint8_t kExecutionError = 0x10;
    static constexpr std::uint8_t kCommandError = 0x20;

    void Write(std::string_view message, Clock::time_point now) override;
    bool HasOutput() const override { return !output_.empty(); }
    bool OutputPending() const override { return false; }
    std::size_t Read(char* out, std::size_t max, bool& end) override;
    void ReadWithoutQuery() override;
    std::uint8_t StatusByte() const override;
    std::uint8_t SerialPoll() override;
    bool RequestingService() const override { return requesting_; }
    std::uint64_t ServiceRequests() const override { return requests_; }
    void DeviceClear() override;

protected:
    // A parsed command: upper-case header (up to the first ',' or blank) and its arguments.
    struct Command {
        std::string header;
        std::vector<std::string> args;
    };

    // Whether the instrument refuses the command outright (a configured refusal).
    virtual bool RefusesHeader(const std::string&) const { return false; }
    // Handles one command; false means an unknown header (command error).
    virtual bool Execute(const Command& command, Clock::time_point now) = 0;
    // Status byte bits of the instrument; bit 5 is also set from the event register here, bit 6
    // (request for service) is computed here.
    virtual std::uint8_t InstrumentBits() const = 0;
    // Reply bytes were taken by the controller; the unread output was thrown away.
    virtual void OnOutputRead(std::size_t) {}
    virtual void OnOutputDiscarded() {}

    void Reply(std::string_view text) { output_.append(text); }
    std::size_t OutputSize() const { return output_.size(); }
    void ClearOutput();
    // A command or execution error raised while a command runs is also a breach for the referee.
    void SetEventBits(std::uint8_t bits);
    // Records a breach of rule by the command being executed (or, outside one, by the last).
    void Breach(std::string_view rule);
    // The instrument refuses the command: bits go to the event register, the breach to the
    // referee under its own rule (not the generic one).
    void Refuse(std::uint8_t bits, std::string_view rule);
    // A measurement starts with the given output amplitude setting, at FrequencySetting().
    void Measured(double amplitude)
    {
        if (referee_)
            referee_->Measured(FrequencySetting(), amplitude);
    }
    // The referee the breaches go to (none for bystanders on the bus).
    void SetReferee(Referee* referee) { referee_ = referee; }
    // The frequency the analyzer is set to, for the breach records.
    virtual double FrequencySetting() const { return 0.0; }
    // Reads and clears the event status register.
    std::uint8_t TakeEventRegister();
    // *CLS: event register and request cleared (the instrument clears its own queues).
    void ClearStatus();
    void SetEventEnable(std::uint8_t mask) { ese_ = mask; }
    void SetServiceRequestEnable(std::uint8_t mask) { sre_ = mask; }
    // Recomputes the summary and raises a request when an enabled bit came on.
    void UpdateServiceRequest();

private:
    Referee* referee_ = nullptr;
    std::string command_;      // the command being (or last) executed
    bool executing_ = false;
    std::string output_;
    std::uint8_t esr_ = 0;
    std::uint8_t ese_ = 0;
    std::uint8_t sre_ = 0;
    bool requesting_ = false;
    bool enabledSummary_ = false;
    std::uint64_t requests_ = 0;
};

} // namespace talsim
