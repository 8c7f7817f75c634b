#include "sim/Instrument2600.h"
#include "sim/CommandArguments.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace talsim {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMaxDurationSeconds = 1e6;

std::string Upper(const std::string& s)
{
    std::string out = s;
    for (char& ch : out)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return out;
}

std::optional<bool> OnOff(const std::string& s)
{
    const std::string u = Upper(s);
    if (u == "ON")
        return true;
    if (u == "OFF")
        return false;
    return std::nullopt;
}

} // namespace

Instrument2600::Instrument2600(SimConfig& config, Referee& referee) : ConfiguredInstrument(config, referee)
{
    ResetSettings();
    if (config_.faults.esrError)
        SetEventBits(kDeviceError);
}

void Instrument2600::FaultsChanged()
{
    RestartFaults();
    if (config_.faults.esrError)
        SetEventBits(kDeviceError);
    UpdateServiceRequest();
}

std::optional<Clock::time_point> Instrument2600::NextDue() const
{
    if (!measuring_ || readingReady_)
        return std::nullopt;
    return due_;
}

void Instrument2600::Advance(Clock::time_point now)
{
    if (!measuring_ || now < due_)
        return;
    measuring_ = false;
    readingReady_ = true;
    reading_ = pendingReading_;
    readingRead_ = 0;
    readingOffset_ = kNone;
    lastReading_ = reading_;
    if (config_.faults.esrError)
        SetEventBits(kDeviceError);
    if (config_.faults.stbError)
        forcedSummary_ = true;
    if (readRequested_) {
        readRequested_ = false;
        QueueReadingReply();
    }
    UpdateServiceRequest();
}

void Instrument2600::DeviceClear()
{
    readRequested_ = false;
    Ieee488Device::DeviceClear();
}

std::uint8_t Instrument2600::InstrumentBits() const
{
    std::uint8_t bits = 0;
    if (readingReady_)
        bits |= kResultAvailable;
    if (!messages_.empty())
        bits |= kMessageAvailable;
    if (forcedSummary_)
        bits |= 0x20;
    return bits;
}

void Instrument2600::OnOutputRead(std::size_t n)
{
    if (readingOffset_ == kNone)
        return;
    if (n <= readingOffset_) {
        readingOffset_ -= n;
        return;
    }
    readingRead_ += n - readingOffset_;
    readingOffset_ = 0;
    if (readingRead_ >= reading_.size()) {
        readingReady_ = false;
        readingOffset_ = kNone;
        ++readingsTaken_;
    }
}

bool Instrument2600::Execute(const Command& command, Clock::time_point now)
{
    return ExecuteCommon(command) || ExecuteMeasurement(command, now) || ExecuteSetting(command);
}

bool Instrument2600::ExecuteCommon(const Command& c)
{
    const std::string& h = c.header;
    const bool noArgs = c.args.empty();
    const bool firmware2 = config_.FirmwareMajor() >= 2;
    auto withByte = [&](auto apply) {
        const auto v = c.args.size() == 1 ? IntegerArgument(c.args[0], 0) : std::nullopt;
        if (!v)
            SetEventBits(kCommandError);
        else if (*v < 0 || *v > 255)
            SetEventBits(kExecutionError);
        else
            apply(static_cast<std::uint8_t>(*v));
    };

    if (h == "*IDN?" || h == "*ESR?" || h == "*STB?" || h == "*CLS" || h == "*RST" || h == "PROB?"
        || h == "CLEAR" || (h == "VERSION" && firmware2) || (h == "UPDATE?" && !firmware2)) {
        if (!noArgs) {
            SetEventBits(kCommandError);
            return true;
        }
    }
    if (h == "*IDN?") {
        Reply(Identification() + "\n");
    } else if (h == "*ESR?") {
        const std::uint8_t value = TakeEventRegister();
        // Firmware 1.x answers with the register itself, 2.x with its decimal text.
        Reply(firmware2 ? std::to_string(value) + "\n" : std::string(1, static_cast<char>(value)));
    } else if (h == "*STB?") {
        Reply(std::to_string(StatusByte()) + "\n");
    } else if (h == "*ESE") {
        withByte([this](std::uint8_t v) { SetEventEnable(v); });
    } else if (h == "*SRE") {
        withByte([this](std::uint8_t v) { SetServiceRequestEnable(v); });
    } else if (h == "*CLS") {
        ClearStatus();
        messages_.clear();
        forcedSummary_ = false;
        readingReady_ = false;
        readingOffset_ = kNone;
    } else if (h == "*RST") {
        AbortMeasurement();
        ResetSettings();
    } else if (h == "PROB?") {
        Reply(Capability() + "\n");
    } else if (h == "CLEAR") {
        AbortMeasurement();
        readingReady_ = false;
        readingOffset_ = kNone;
        messages_.clear();
        forcedSummary_ = false;
        ClearOutput();
    } else if (h == "VERSION" && firmware2) {
        for (const std::string& text : {"VERSION MAIN " + config_.firmware, std::string("VERSION DSP 1.10"),
                                        std::string("VERSION FPGA 2.3")})
            if (messages_.size() < kMaxMessages)
                messages_.push_back(text);
    } else if (h == "UPDATE?" && !firmware2) {
        Reply("MAIN " + config_.firmware + ",DSP 1.02,FPGA 1.0\n");
    } else if (h == "ADDR") {
        const auto v = c.args.size() == 1 ? IntegerArgument(c.args[0], 0) : std::nullopt;
        if (!v)
            SetEventBits(kCommandError);
        else if (*v < 1 || *v > 30
                 || std::find(config_.others.begin(), config_.others.end(), *v) != config_.others.end())
            SetEventBits(kExecutionError);
        else
            config_.address = static_cast<int>(*v);
    } else {
        return false;
    }
    return true;
}

bool Instrument2600::ExecuteMeasurement(const Command& c, Clock::time_point now)
{
    const std::string& h = c.header;
    if (h != "MEAS" && h != "READ?" && h != "ABORT" && h != "MODE")
        return false;
    if (h == "MODE") {
        if (c.args.size() != 1)
            SetEventBits(kCommandError);
        else if (Upper(c.args[0]) != "SING")
            SetEventBits(kExecutionError);
        return true;
    }
    if (!c.args.empty()) {
        SetEventBits(kCommandError);
        return true;
    }
    if (h == "MEAS") {
        StartMeasurement(now);
    } else if (h == "ABORT") {
        AbortMeasurement();
    } else if (readingReady_) {
        QueueReadingReply();
    } else if (measuring_) {
        readRequested_ = true;   // answered when the reading is ready
    } else if (!messages_.empty()) {
        Reply(messages_.front() + "\n");
        messages_.pop_front();
    } else if (!lastReading_.empty()) {
        Reply(lastReading_);
    } else {
        SetEventBits(kQueryError);
    }
    return true;
}

bool Instrument2600::ExecuteSetting(const Command& c)
{
    const std::string& h = c.header;
    const std::size_t n = c.args.size();
    // Number of arguments wrong or of the wrong kind: command error; value out of range:
    // execution error.
    enum class Outcome { Ok, Syntax, Range };
    auto number = [&](std::size_t i, double low, double high, double& target) {
        const auto v = i < n ? NumberArgument(c.args[i]) : std::nullopt;
        if (!v)
            return Outcome::Syntax;
        if (*v < low || *v > high)
            return Outcome::Range;
        target = *v;
        return Outcome::Ok;
    };
    auto integer = [&](std::size_t i, long low, long high, int& target) {
        const auto v = i < n ? IntegerArgument(c.args[i], 0) : std::nullopt;
        if (!v)
            return Outcome::Syntax;
        if (*v < low || *v > high)
            return Outcome::Range;
        target = static_cast<int>(*v);
        return Outcome::Ok;
    };
    auto flag = [&](bool& target) {
        const auto v = n == 1 ? OnOff(c.args[0]) : std::nullopt;
        if (!v)
            return n == 1 ? Outcome::Range : Outcome::Syntax;
        target = *v;
        return Outcome::Ok;
    };

    Outcome outcome = Outcome::Ok;
    if (h == "FREQ") {
        outcome = n != 1 ? Outcome::Syntax : number(0, MinimumFrequency(), config_.maxFrequency, frequency_);
    } else if (h == "AMPL") {
        outcome = n != 1 ? Outcome::Syntax : number(0, 0.0, 10.0, amplitude_);
    } else if (h == "DCOF") {
        outcome = n != 1 ? Outcome::Syntax : number(0, -10.0, 10.0, dcOffset_);
    } else if (h == "WAVE") {
        const std::string v = n == 1 ? Upper(c.args[0]) : std::string();
        if (n != 1)
            outcome = Outcome::Syntax;
        else if (v == "SINE" || v == "SQUA")
            squareWave_ = v == "SQUA";
        else
            outcome = Outcome::Range;
    } else if (h == "ZOUT") {
        int ohms = 0;
        outcome = n != 1 ? Outcome::Syntax : integer(0, 2, 50, ohms);
        if (outcome == Outcome::Ok && ohms != 2 && ohms != 50)
            outcome = Outcome::Range;
        if (outcome == Outcome::Ok)
            outputImpedance_ = ohms;
    } else if (h == "ZZIN") {
        int channel = 0;
        double ohms = 0.0;
        outcome = n != 2 ? Outcome::Syntax : integer(0, 1, 4, channel);
        if (outcome == Outcome::Ok)
            outcome = number(1, 50.0, 1e6, ohms);
        if (outcome == Outcome::Ok && ohms != 50.0 && ohms != 1e6)
            outcome = Outcome::Range;
        if (outcome == Outcome::Ok)
            inputImpedance_[channel - 1] = ohms;
    } else if (h == "NALG") {
        outcome = flag(highNoiseAlgorithm_);
    } else if (h == "ATTE") {
        int channel = 0;
        outcome = n != 2 ? Outcome::Syntax : integer(0, 1, 4, channel);
        if (outcome == Outcome::Ok) {
            const std::string v = Upper(c.args[1]);
            const int db = v == "AUTO" ? -1 : v == "0DB" ? 0 : v == "20DB" ? 20 : v == "40DB" ? 40 : -2;
            if (db == -2)
                outcome = Outcome::Range;
            else
                attenuation_[channel - 1] = db;
        }
    } else if (h == "TIME") {
        outcome = n != 1 ? Outcome::Syntax : number(0, 0.001, 100000.0, integrationTime_);
        if (outcome == Outcome::Ok)
            integrateCycles_ = false;
    } else if (h == "CYCL") {
        outcome = n != 1 ? Outcome::Syntax : integer(0, 1, 9999, cycles_);
        if (outcome == Outcome::Ok)
            integrateCycles_ = true;
    } else if (h == "DELAY") {
        const std::string kind = n == 2 ? Upper(c.args[0]) : std::string();
        if (kind == "TIME")
            outcome = number(1, 0.0, 100000.0, delayTime_);
        else if (kind == "CYCL")
            outcome = integer(1, 0, 9999, delayCycles_);
        else
            outcome = Outcome::Syntax;
    } else if (h == "BIAS") {
        outcome = flag(bias_);
    } else if (h == "OUTP") {
        outcome = flag(output_);
    } else if (h == "ACIN") {
        outcome = n != 1 ? Outcome::Syntax : integer(0, 0, 1, acInput_);
    } else if (h == "#880") {
        outcome = flag(mode880_);
    } else if (h == "DFRA") {
        outcome = flag(dfra_);
    } else {
        return false;
    }
    if (outcome == Outcome::Syntax)
        SetEventBits(kCommandError);
    else if (outcome == Outcome::Range)
        SetEventBits(kExecutionError);
    return true;
}

void Instrument2600::ResetSettings()
{
    frequency_ = 1000.0;
    amplitude_ = 0.1;
    dcOffset_ = 0.0;
    squareWave_ = false;
    outputImpedance_ = 50;
    inputImpedance_.fill(1e6);
    attenuation_.fill(-1);
    highNoiseAlgorithm_ = false;
    integrateCycles_ = false;
    integrationTime_ = 1.0;
    delayTime_ = 0.0;
    cycles_ = 1;
    delayCycles_ = 0;
    bias_ = false;
    output_ = false;
    acInput_ = 0;
    mode880_ = false;
    dfra_ = false;
}

void Instrument2600::CheckOutputRatings()
{
    if (!output_)
        return;
    constexpr double kSlack = 1e-9;
    constexpr double kMaxVoltHertz = 80e6;
    if (outputImpedance_ == 2 && amplitude_ > 2.0 + kSlack)
        Breach("amplitude above 2 V on the 2 Ohm output");
    if (amplitude_ * frequency_ > kMaxVoltHertz * (1.0 + kSlack))
        Breach("amplitude x frequency above 80 MV Hz");
    if (amplitude_ + (bias_ ? std::fabs(dcOffset_) : 0.0) > 10.0 + kSlack)
        Breach("AC + |DC| above 10 V");
}

void Instrument2600::StartMeasurement(Clock::time_point now)
{
    CheckOutputRatings();
    Measured(amplitude_);
    // A square wave's fundamental is 4/pi of its amplitude.
    GeneratorState generator;
    generator.frequency = frequency_;
    generator.amplitude = output_ ? amplitude_ * (squareWave_ ? 4.0 / kPi : 1.0) : 0.0;
    generator.sourceImpedance = outputImpedance_ == 50 ? config_.rsource : 2.0;
    pendingReading_ = FormatReading(MeasureChannels(config_, generator, rng_));

    const double seconds = integrateCycles_ ? (cycles_ + delayCycles_) / frequency_ : integrationTime_ + delayTime_;
    const double scaled = std::min(seconds * config_.timeFactor, kMaxDurationSeconds);
    due_ = now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(scaled));
    measuring_ = true;
    readingReady_ = false;
    readingOffset_ = kNone;
    readRequested_ = false;
}

void Instrument2600::AbortMeasurement()
{
    measuring_ = false;
    readRequested_ = false;
}

void Instrument2600::QueueReadingReply()
{
    readingOffset_ = OutputSize();
    Reply(std::string_view(reading_).substr(readingRead_));
}

std::string Instrument2600::FormatReading(const std::array<ChannelReading, 4>& channels)
{
    char field[40];
    std::snprintf(field, sizeof field, "FREQ,%.6E", frequency_);
    std::string text = field;
    const std::size_t afterFrequency = text.size();
    for (int i = 0; i < config_.channels; ++i) {
        std::snprintf(field, sizeof field, ",%.5E,%.4f", channels[i].amplitude, channels[i].phase);
        text += field;
    }
    if (config_.faults.truncated) {
        // Keep the frequency and CH1's amplitude only.
        text.resize(text.find(',', afterFrequency + 1));
    }
    if (config_.faults.garbled) {
        static constexpr char kJunk[] = "#%&*!?@$";
        std::uniform_int_distribution<int> pick(0, 7);
        for (std::size_t i = afterFrequency; i < text.size(); ++i)
            if (std::isdigit(static_cast<unsigned char>(text[i])))
                text[i] = kJunk[pick(rng_)];
    }
    return text + "\n";
}

std::string Instrument2600::Identification() const
{
    if (!config_.idn.empty())
        return config_.idn;
    return "TALVERN,MODEL " + config_.model + "," + std::to_string(config_.serial) + "," + config_.firmware;
}

std::string Instrument2600::Capability() const
{
    if (!config_.capability.empty())
        return config_.capability;
    // Channels, maximum frequency in 100 kHz units (three digits), two unused digits, hardware
    // class and option bits, each as the character '0' + value.
    char text[16];
    const int units = static_cast<int>(std::lround(config_.maxFrequency / 1e5));
    std::snprintf(text, sizeof text, "%d%03d00%c%c", config_.channels, units, '0' + config_.hardwareClass,
                  '0' + config_.options);
    return text;
}

double Instrument2600::MinimumFrequency() const
{
    if (config_.hardwareClass >= 6)
        return 1e-5;
    return config_.hardwareClass >= 3 ? 1e-3 : 1.0;
}

} // namespace talsim
