#pragma once
// One simulated instrument as the bus and the USB sessions see it. The simulator calls every
// operation with its state lock held; Advance runs on one of the simulator's instrument threads.
//
// To add a simulator instrument (another analyzer family):
// 1. Derive a class from Ieee488Device (status byte, event register, output queue and command
//    splitting are done there) or, for an instrument without IEEE 488.2 status, from this class.
//    Put it in sim/Instrument<family>.{h,cpp}.
// 2. Implement Execute for the family's command set, with replies in its formats, and the
//    measurement: start it in a command, report when it is due in NextDue, finish it in Advance
//    (MeasureChannels of Circuit.h gives the channel readings).
// 3. Create it for its family= value in MakeAnalyzer (Simulator.cpp) and accept the value in
//    the family key (SimConfig.cpp); say whether it has a USB resource (UsbCapable).
// 4. Document its commands and replies in sim/README.md and test it through the exported
//    entry points in tests/sim/.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace talsim {

using Clock = std::chrono::steady_clock;

class SimInstrument {
public:
    SimInstrument() = default;
    SimInstrument(const SimInstrument&) = delete;
    SimInstrument& operator=(const SimInstrument&) = delete;
    virtual ~SimInstrument() = default;

    // GPIB primary address the instrument listens at.
    virtual int Address() const = 0;
    // Whether it answers on the bus at all (faults may silence it).
    virtual bool Present() const = 0;
    // Asked before each message is written: false makes the write fail as if nobody listened
    // (a device that vanishes does so at a message boundary).
    virtual bool AcceptsMessage() { return Present(); }
    // Whether reads from it time out whatever is pending.
    virtual bool ReadsTimeOut() const { return false; }
    // Whether a USB resource leads to it.
    virtual bool UsbCapable() const { return false; }

    // One message written by the controller (commands separated by ';').
    virtual void Write(std::string_view message, Clock::time_point now) = 0;
    // Whether reply bytes wait to be read; whether a reply is still being produced.
    virtual bool HasOutput() const = 0;
    virtual bool OutputPending() const = 0;
    // Moves up to max reply bytes into out; end is set when the reply is exhausted.
    virtual std::size_t Read(char* out, std::size_t max, bool& end) = 0;
    // The controller read with nothing to send (an unterminated query).
    virtual void ReadWithoutQuery() {}

    virtual std::uint8_t StatusByte() const = 0;
    // Serial poll: the status byte, with the service request cleared afterwards.
    virtual std::uint8_t SerialPoll() = 0;
    virtual bool RequestingService() const = 0;
    // Number of service requests raised so far (each rising request counts once).
    virtual std::uint64_t ServiceRequests() const = 0;
    // Device clear (GPIB SDC, VISA viClear): input and output discarded.
    virtual void DeviceClear() = 0;

    // When timed work (a measurement) is due, and doing the work that is due.
    virtual std::optional<Clock::time_point> NextDue() const { return std::nullopt; }
    virtual void Advance(Clock::time_point) {}
    // The configuration's fault keys were set again: counters restart.
    virtual void FaultsChanged() {}
    // The seed key was set again.
    virtual void Reseed() {}
};

} // namespace talsim
