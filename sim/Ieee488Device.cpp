#include "sim/Ieee488Device.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace talsim {

namespace {

constexpr std::size_t kMaxCommandLength = 128;

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool Printable(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char ch) { return ch >= 0x20 && ch < 0x7F; });
}

} // namespace

void Ieee488Device::Write(std::string_view message, Clock::time_point now)
{
    // A new message throws away whatever reply was not read.
    ClearOutput();
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find(';', start);
        if (end == std::string_view::npos)
            end = message.size();
        const std::string_view text = Trim(message.substr(start, end - start));
        start = end + 1;
        if (text.empty())
            continue;
        if (text.size() > kMaxCommandLength || !Printable(text)) {
            command_ = Printable(text) ? std::string(text.substr(0, kMaxCommandLength)) : std::string("(unprintable)");
            executing_ = true;
            SetEventBits(kCommandError);
            executing_ = false;
            continue;
        }
        Command command;
        const std::size_t headerEnd = std::min(text.find(','), text.find(' '));
        for (char ch : text.substr(0, headerEnd))
            command.header.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
        if (headerEnd != std::string_view::npos) {
            std::string_view rest = text.substr(headerEnd + 1);
            while (true) {
                const std::size_t comma = rest.find(',');
                command.args.emplace_back(Trim(rest.substr(0, comma)));
                if (comma == std::string_view::npos)
                    break;
                rest.remove_prefix(comma + 1);
            }
        }
        command_.assign(text);
        executing_ = true;
        if (RefusesHeader(command.header))
            Refuse(kExecutionError, "refused: the analyzer is set to refuse this command");
        else if (!Execute(command, now))
            SetEventBits(kCommandError);
        executing_ = false;
    }
    UpdateServiceRequest();
}

std::size_t Ieee488Device::Read(char* out, std::size_t max, bool& end)
{
    const std::size_t n = std::min(max, output_.size());
    std::memcpy(out, output_.data(), n);
    output_.erase(0, n);
    end = output_.empty();
    OnOutputRead(n);
    UpdateServiceRequest();
    return n;
}

void Ieee488Device::ReadWithoutQuery()
{
    SetEventBits(kQueryError);
    UpdateServiceRequest();
}

std::uint8_t Ieee488Device::StatusByte() const
{
    std::uint8_t bits = InstrumentBits() & 0xBF;
    if (esr_ & ese_)
        bits |= 0x20;
    if (requesting_)
        bits |= 0x40;
    return bits;
}

std::uint8_t Ieee488Device::SerialPoll()
{
    const std::uint8_t value = StatusByte();
    requesting_ = false;
    return value;
}

void Ieee488Device::DeviceClear()
{
    ClearOutput();
    UpdateServiceRequest();
}

void Ieee488Device::ClearOutput()
{
    if (output_.empty())
        return;
    output_.clear();
    OnOutputDiscarded();
}

std::uint8_t Ieee488Device::TakeEventRegister()
{
    const std::uint8_t value = esr_;
    esr_ = 0;
    return value;
}

void Ieee488Device::ClearStatus()
{
    esr_ = 0;
    requesting_ = false;
}

void Ieee488Device::UpdateServiceRequest()
{
    const std::uint8_t summary = StatusByte() & ~0x40;
    const bool enabled = (summary & sre_ & ~0x40) != 0;
    if (enabled && !enabledSummary_) {
        requesting_ = true;
        ++requests_;
    }
    enabledSummary_ = enabled;
}

void Ieee488Device::SetEventBits(std::uint8_t bits)
{
    esr_ |= bits;
    if (!executing_)
        return;
    if (bits & kCommandError)
        Breach("command error (unknown header or wrong arguments)");
    if (bits & kExecutionError)
        Breach("execution error (value out of range or refused)");
}

void Ieee488Device::Refuse(std::uint8_t bits, std::string_view rule)
{
    Breach(rule);
    esr_ |= bits;
}

void Ieee488Device::Breach(std::string_view rule)
{
    if (referee_)
        referee_->Record(command_, FrequencySetting(), rule);
}

} // namespace talsim
