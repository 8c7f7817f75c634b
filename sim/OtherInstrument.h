#pragma once
// A bystander on the bus: another instrument that answers "*IDN?" and ignores everything else,
// so that the program's bus search has something to pass over.

#include "sim/SimInstrument.h"

#include <string>

namespace talsim {

class OtherInstrument final : public SimInstrument {
public:
    explicit OtherInstrument(int address) : address_(address) {}

    int Address() const override { return address_; }
    bool Present() const override { return true; }
    void Write(std::string_view message, Clock::time_point now) override;
    bool HasOutput() const override { return !output_.empty(); }
    bool OutputPending() const override { return false; }
    std::size_t Read(char* out, std::size_t max, bool& end) override;
    std::uint8_t StatusByte() const override { return 0; }
    std::uint8_t SerialPoll() override { return 0; }
    bool RequestingService() const override { return false; }
    std::uint64_t ServiceRequests() const override { return 0; }
    void DeviceClear() override { output_.clear(); }

    static constexpr std::string_view kIdentification = "OTHER INSTRUMENT,MODEL 1,0,1.0";

private:
    int address_;
    std::string output_;
};

} // namespace talsim
