#include "sim/Instrument1960.h"
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

// Seconds one reading takes with the speed keyword or a cycle count.
double IntegrationSeconds(const std::string& speed, int cycles, double frequency)
{
    if (cycles > 0)
        return cycles / frequency;
    if (speed == "FAST")
        return 0.1;
    if (speed == "SLOW")
        return 2.0;
    return speed == "VSLOW" ? 10.0 : 0.5;
}

} // namespace

Instrument1960::Instrument1960(SimConfig& config, Referee& referee) : ConfiguredInstrument(config, referee)
{
    if (config_.faults.esrError)
        SetEventBits(kDeviceError);
}

void Instrument1960::FaultsChanged()
{
    RestartFaults();
    if (config_.faults.esrError)
        SetEventBits(kDeviceError);
    UpdateServiceRequest();
}

void Instrument1960::Advance(Clock::time_point now)
{
    if (!measuring_ || now < due_)
        return;
    measuring_ = false;
    Reply(FormatReading());
    resultReady_ = true;
    if (config_.faults.esrError)
        SetEventBits(kDeviceError);
    if (config_.faults.stbError)
        forcedSummary_ = true;
    UpdateServiceRequest();
}

std::uint8_t Instrument1960::InstrumentBits() const
{
    std::uint8_t bits = 0;
    if (resultReady_)
        bits |= kResultAvailable;
    if (HasOutput())
        bits |= kMessageAvailable;
    if (forcedSummary_)
        bits |= 0x20;
    return bits;
}

void Instrument1960::OnOutputRead(std::size_t)
{
    if (resultReady_ && !HasOutput()) {
        resultReady_ = false;
        ++readingsTaken_;
    }
}

std::string Instrument1960::Identification() const
{
    if (!config_.idn.empty())
        return config_.idn;
    return "TALVERN Model 1960," + std::to_string(config_.serial) + "," + config_.firmware;
}

double Instrument1960::MaximumFrequency() const
{
    return waveform_ == "SINEWA" ? 2.2e6 : 1e6;
}

bool Instrument1960::CouplingKnown(const std::string& keyword) const
{
    return keyword == "ACHIGH" || keyword == "ACONLY" || keyword == "AC+DC";
}

bool Instrument1960::WaveformKnown(const std::string& keyword) const
{
    return keyword == "SINEWA" || keyword == "SQUARE" || keyword == "TRIANG";
}

bool Instrument1960::BandKnown(const std::string& keyword) const
{
    return keyword == "LOW" || keyword == "MEDIUM" || keyword == "HIGH";
}

bool Instrument1960::Execute(const Command& c, Clock::time_point now)
{
    const std::string& h = c.header;
    if (h == "*IDN?") {
        Reply(Identification() + "\n");
    } else if (h == "*ESR?") {
        // The register itself, one byte.
        Reply(std::string(1, static_cast<char>(TakeEventRegister())));
    } else if (h == "*ESE" || h == "*SRE") {
        const auto v = c.args.size() == 1 ? IntegerArgument(c.args[0], 10) : std::nullopt;
        if (!v)
            SetEventBits(kCommandError);
        else if (*v < 0 || *v > 255)
            SetEventBits(kExecutionError);
        else if (h == "*ESE")
            SetEventEnable(static_cast<std::uint8_t>(*v));
        else
            SetServiceRequestEnable(static_cast<std::uint8_t>(*v));
    } else if (h == "*CLS") {
        ClearStatus();
        forcedSummary_ = false;
        resultReady_ = false;
        ClearOutput();
    } else if (h == "GAINPH?") {
        if (!c.args.empty())
            SetEventBits(kCommandError);
        else
            StartMeasurement(now);
    } else if (h == "ABORT") {
        measuring_ = false;
    } else if (h == "CONFIG") {
        // CONFIG,153,<address> prepares an address; PROGRAM,STORE,1 makes it the one in use.
        const auto item = c.args.size() == 2 ? IntegerArgument(c.args[0], 10) : std::nullopt;
        const auto address = c.args.size() == 2 ? IntegerArgument(c.args[1], 10) : std::nullopt;
        if (!item || !address)
            SetEventBits(kCommandError);
        else if (*item != 153 || *address < 1 || *address > 30
                 || std::find(config_.others.begin(), config_.others.end(), *address) != config_.others.end())
            SetEventBits(kExecutionError);
        else
            pendingAddress_ = static_cast<int>(*address);
    } else if (h == "PROGRAM") {
        if (c.args.size() != 2 || Upper(c.args[0]) != "STORE")
            SetEventBits(kCommandError);
        else if (pendingAddress_ != 0) {
            config_.address = pendingAddress_;
            pendingAddress_ = 0;
        }
    } else if (!ExecuteSetting(c) && !ExecuteFamily(c)) {
        return false;
    }
    return true;
}

bool Instrument1960::ExecuteSetting(const Command& c)
{
    const std::string& h = c.header;
    const std::size_t n = c.args.size();
    auto number = [&](double low, double high, double& target) {
        const auto v = n == 1 ? NumberArgument(c.args[0]) : std::nullopt;
        if (!v)
            SetEventBits(kCommandError);
        else if (*v < low || *v > high)
            SetEventBits(kExecutionError);
        else
            target = *v;
    };
    auto integer = [&](long low, long high, int& target) {
        const auto v = n == 1 ? IntegerArgument(c.args[0], 10) : std::nullopt;
        if (!v)
            SetEventBits(kCommandError);
        else if (*v < low || *v > high)
            SetEventBits(kExecutionError);
        else
            target = static_cast<int>(*v);
    };
    auto keyword = [&](std::size_t index) { return index < n ? Upper(c.args[index]) : std::string(); };

    if (h == "MODE") {
        if (keyword(0) != "GAINPH")
            SetEventBits(kExecutionError);
    } else if (h == "AMPLIT") {
        number(0.0, 10.0, amplitude_);
    } else if (h == "OFFSET") {
        number(-10.0, 10.0, offset_);
    } else if (h == "COUPLI") {
        const std::string channel = keyword(0);
        if (n != 2 || (channel != "CH1" && channel != "CH2"))
            SetEventBits(kCommandError);
        else if (!CouplingKnown(keyword(1)))
            SetEventBits(kExecutionError);
        else
            dcCoupled_ = keyword(1) == "AC+DC";
    } else if (h == "DELAY") {
        integer(0, 60, delay_);
    } else if (h == "SPEED") {
        const std::string v = keyword(0);
        if (v == "FAST" || v == "MEDIUM" || v == "SLOW" || v == "VSLOW")
            speed_ = v;
        else
            SetEventBits(kExecutionError);
    } else if (h == "CYCLES") {
        integer(0, 100, cycles_);
    } else if (h == "OUTPUT") {
        const std::string v = keyword(0);
        if (v == "ON" || v == "OFF")
            output_ = v == "ON";
        else if (v != "SIGNAL")
            SetEventBits(kExecutionError);
    } else if (h == "WAVEFO") {
        if (WaveformKnown(keyword(0)))
            waveform_ = keyword(0);
        else
            SetEventBits(kExecutionError);
    } else if (h == "BANDWI") {
        if (BandKnown(keyword(0)))
            band_ = keyword(0);
        else
            SetEventBits(kExecutionError);
    } else if (h == "FREQUE") {
        number(MinimumFrequency(), MaximumFrequency(), frequency_);
    } else {
        return false;
    }
    return true;
}

const char* Instrument1960::BandFor(double frequency) const
{
    if (frequency < 4e3)
        return "LOW";
    return frequency < 25e3 ? "MEDIUM" : "HIGH";
}

void Instrument1960::StartMeasurement(Clock::time_point now)
{
    constexpr double kSlack = 1e-9;
    if (output_ && amplitude_ + std::fabs(offset_) > 10.0 + kSlack)
        Breach("AC + |DC| above 10 V");
    if (band_ != BandFor(frequency_))
        Breach("BANDWI," + band_ + " outside its band (" + BandFor(frequency_) + " here)");
    if (amplitude_ > AmplitudeCeiling(frequency_) + kSlack) {
        // The analyzer refuses the measurement: no reading, no service request.
        Refuse(kExecutionError, "amplitude above the ceiling of the frequency's band");
        return;
    }
    Measured(amplitude_);
    const double seconds = IntegrationSeconds(speed_, cycles_, frequency_) + delay_;
    const double scaled = std::min(seconds * config_.timeFactor, kMaxDurationSeconds);
    due_ = now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(scaled));
    measuring_ = true;
    resultReady_ = false;
}

std::string Instrument1960::FormatReading()
{
    // Peak amplitudes from the circuit, reported as rms; the phase of CH2 relative to CH1.
    GeneratorState generator;
    generator.frequency = frequency_;
    const double fundamental = waveform_ == "SQUARE" ? 4.0 / kPi : waveform_ == "TRIANG" ? 8.0 / (kPi * kPi) : 1.0;
    generator.amplitude = output_ ? amplitude_ * fundamental : 0.0;
    generator.sourceImpedance = config_.rsource;
    const auto channels = MeasureChannels(config_, generator, rng_);
    const double ch1 = channels[0].amplitude / std::sqrt(2.0);
    const double ch2 = channels[1].amplitude / std::sqrt(2.0);
    double phase = channels[1].phase - channels[0].phase;
    if (phase > 180.0)
        phase -= 360.0;
    else if (phase <= -180.0)
        phase += 360.0;
    const double gain = ch1 > 0.0 && ch2 > 0.0 ? 20.0 * std::log10(ch2 / ch1) : -999.0;
    char text[160];
    if (config_.faults.truncated)
        std::snprintf(text, sizeof text, "%.6E,%.5E\n", frequency_, ch1);
    else
        std::snprintf(text, sizeof text, "%.6E,%.5E,%.5E,%.3f,%.3f\n", frequency_, ch1, ch2, gain, phase);
    std::string reply = text;
    if (config_.faults.garbled) {
        static constexpr char kJunk[] = "#%&*!?@$";
        std::uniform_int_distribution<int> pick(0, 7);
        for (std::size_t i = reply.find(',') + 1; i < reply.size(); ++i)
            if (std::isdigit(static_cast<unsigned char>(reply[i])))
                reply[i] = kJunk[pick(rng_)];
    }
    return reply;
}

} // namespace talsim
