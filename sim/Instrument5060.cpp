#include "sim/Instrument5060.h"
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

std::string Binary(std::uint8_t value)
{
    std::string text;
    for (int bit = 3; bit >= 0; --bit)
        text.push_back((value >> bit) & 1 ? '1' : '0');
    return text;
}

} // namespace

Instrument5060::Instrument5060(SimConfig& config, Referee& referee) : ConfiguredInstrument(config, referee) {}

void Instrument5060::FaultsChanged()
{
    RestartFaults();
    UpdateServiceRequest();
}

void Instrument5060::Advance(Clock::time_point now)
{
    if (!measuring_ || now < due_)
        return;
    measuring_ = false;
    Reply(FormatReading());
    ready_ = true;
    if (config_.faults.stbError || config_.faults.esrError)
        errorByte_ |= kParameterError;
    UpdateServiceRequest();
}

std::uint8_t Instrument5060::InstrumentBits() const
{
    std::uint8_t bits = 0x02;  // the oscillator output is available
    if (ready_)
        bits |= kReady;
    if (measuring_)
        bits |= kMeasuring;
    if (errorByte_ != 0)
        bits |= kError;
    if (unknownCommand_)
        bits |= kUnknownCommand;
    return bits;
}

void Instrument5060::OnOutputRead(std::size_t)
{
    if (ready_ && !HasOutput()) {
        ready_ = false;
        ++readingsTaken_;
    }
}

std::string Instrument5060::Identification() const
{
    if (!config_.idn.empty())
        return config_.idn;
    return "NF 5060A";
}

double Instrument5060::MaximumFrequency() const
{
    const double analyzer = Identification().find("5060A") != std::string::npos ? 2.2e6 : 1e6;
    return waveform_ == 0 ? analyzer : 1e5;
}

bool Instrument5060::Execute(const Command& c, Clock::time_point now)
{
    // "OWF0" and "SRQ1" carry their value as a digit after the header, "OAM 1" after a blank.
    std::string header = c.header;
    std::string value = c.args.empty() ? std::string() : c.args[0];
    if (c.args.empty() && header.size() > 1 && std::isdigit(static_cast<unsigned char>(header.back()))
        && header.front() != '?') {
        value = header.substr(header.size() - 1);
        header.pop_back();
    }
    if (c.args.size() > 1) {
        ParameterError();
        return true;
    }
    if (header == "?IDT") {
        Reply(Identification() + "\r\n");
    } else if (header == "?ERR") {
        Reply(Binary(errorByte_) + "\r\n");
        errorByte_ = 0;
        unknownCommand_ = false;
    } else if (header == "INT") {
        measuring_ = false;
        ready_ = false;
        errorByte_ = 0;
        SetServiceRequestEnable(0);
    } else if (header == "SRQ") {
        SetServiceRequestEnable(value == "1" ? kReady : 0);
    } else if (header == "MSI") {
        StartMeasurement(now);
    } else if (header == "MST") {
        measuring_ = false;
    } else if (!ExecuteSetting(header, value)) {
        errorByte_ |= kHeaderError;
        unknownCommand_ = true;
        Breach("unknown header");
    }
    return true;
}

bool Instrument5060::ExecuteSetting(const std::string& h, const std::string& value)
{
    const std::optional<double> v = NumberArgument(value);
    auto number = [&](double low, double high, double& target) {
        if (!v || *v < low || *v > high)
            ParameterError();
        else
            target = *v;
    };
    auto integer = [&](int low, int high, int& target) {
        if (!v || *v < low || *v > high || *v != std::floor(*v))
            ParameterError();
        else
            target = static_cast<int>(*v);
    };
    int flag = 0;
    if (h == "SSS" || h == "HDR") {
        integer(0, 1, flag);
    } else if (h == "OAM") {
        number(0.0, 10.0, amplitude_);
    } else if (h == "ODB") {
        number(-10.0, 10.0, offset_);
    } else if (h == "BIS") {
        number(0.0256, 10000.0, integrationTime_);
        integrateCycles_ = false;
    } else if (h == "BDS") {
        number(0.0, 10000.0, delayTime_);
    } else if (h == "BIC") {
        integer(1, 9999, cycles_);
        integrateCycles_ = true;
    } else if (h == "BDC") {
        integer(0, 9999, delayCycles_);
    } else if (h == "AIC") {
        integer(1, 3, autoChannel_);
    } else if (h == "AIM") {
        integer(0, 2, autoMode_);
    } else if (h == "OWF") {
        integer(0, 2, waveform_);
    } else if (h == "OON" || h == "OOF") {
        integer(0, 1, flag);
        if (flag == 1 || value == "1")
            output_ = h == "OON";
    } else if (h == "OFR") {
        number(1e-4, MaximumFrequency(), frequency_);
    } else {
        return false;
    }
    return true;
}

void Instrument5060::ParameterError()
{
    errorByte_ |= kParameterError;
    Breach("parameter out of range");
}

void Instrument5060::StartMeasurement(Clock::time_point now)
{
    Measured(amplitude_);
    double seconds = integrateCycles_ ? (cycles_ + delayCycles_) / frequency_ : integrationTime_ + delayTime_;
    if (autoMode_ > 0)
        seconds = autoMode_ == 1 ? 0.5 : 2.0;
    const double scaled = std::min(seconds * config_.timeFactor, kMaxDurationSeconds);
    due_ = now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(scaled));
    measuring_ = true;
    ready_ = false;
}

std::string Instrument5060::FormatReading()
{
    GeneratorState generator;
    generator.frequency = frequency_;
    const double fundamental = waveform_ == 1 ? 4.0 / kPi : waveform_ == 2 ? 8.0 / (kPi * kPi) : 1.0;
    generator.amplitude = output_ ? amplitude_ * fundamental : 0.0;
    generator.sourceImpedance = config_.rsource;
    const auto channels = MeasureChannels(config_, generator, rng_);
    double rms[3];
    for (int i = 0; i < 3; ++i)
        rms[i] = channels[i].amplitude / std::sqrt(2.0);
    auto db = [](double v) { return v > 0.0 ? 20.0 * std::log10(v) : -999.0; };
    char text[320];
    if (config_.faults.truncated) {
        std::snprintf(text, sizeof text, "MAG %.5E\r\n", rms[0]);
        return text;
    }
    // CH1 magnitude, its level in dB, its phase, the frequency; CH2 and CH3 with their levels and
    // phases, the ratio of CH2 to CH1 in dB between them.
    std::snprintf(text, sizeof text,
                  "MAG %.5E,DB %.3f,PH %.3f,FR %.6E,MAG %.5E,DB %.3f,PH %.3f,DB %.3f,MAG %.5E,DB %.3f,PH %.3f\r\n",
                  rms[0], db(rms[0]), channels[0].phase, frequency_, rms[1], db(rms[1]), channels[1].phase,
                  db(rms[1]) - db(rms[0]), rms[2], db(rms[2]), channels[2].phase);
    return text;
}

} // namespace talsim
