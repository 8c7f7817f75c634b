#include "tests/campaign/SweepPlan.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>

namespace campaign {

namespace {

class Draw {
public:
    explicit Draw(std::uint64_t seed) : rng_(seed) {}
    double Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng_); }
    double LogUniform(double low, double high) { return std::pow(10.0, Uniform(std::log10(low), std::log10(high))); }
    int Integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Chance(double p) { return Uniform(0.0, 1.0) < p; }
    template <class T, std::size_t N>
    const T& Pick(const T (&items)[N]) { return items[Integer(0, static_cast<int>(N) - 1)]; }

private:
    std::mt19937_64 rng_;
};

// A value near one of the ceilings that matter (the output rating, the band ceilings, the
// product rule's 4 V at 20 MHz), or anywhere in the field's range.
double NearCeiling(Draw& d)
{
    static constexpr double kCeilings[] = {10.0, 6.0, 3.0, 2.0, 1.5, 1.2, 1.0, 0.75, 4.0, 5.0};
    if (d.Chance(0.5))
        return d.Pick(kCeilings) * (1.0 + d.Uniform(-0.02, 0.05));
    return d.LogUniform(0.001, 12.0);
}

// Band edges and frequency limits where rounding to four digits and the step pattern matter.
double EdgeFrequency(Draw& d)
{
    static constexpr double kEdges[] = {4e3, 25e3, 10e3, 100e3, 1e6, 5e6, 10e6, 15e6, 20e6, 25e6, 30e6,
                                        2.2e6, 1e5, 1e-5, 1e-4, 0.01, 1.0, 40e6, 35e6, 19.95e6};
    return d.Pick(kEdges) * (1.0 + d.Uniform(-0.01, 0.01));
}

const char* KindName(UserAction::Kind kind)
{
    static constexpr const char* kNames[] = {"PageUp", "PageDown", "KeyUp", "KeyDown", "EditAc", "EditDc",
                                             "EditMaxAc", "Stop", "TakeData", "Dc", "FindAddress",
                                             "AddressChange", "Close", "Destroy"};
    return kNames[kind];
}

} // namespace

SweepPlan DrawPlan(std::uint64_t seed)
{
    Draw d(seed);
    SweepPlan p;
    p.seed = seed;
    static constexpr int kTypes[] = {0, 6, 7, 8, 9, 10, 11};
    p.analyzerType = d.Pick(kTypes);
    p.address = d.Integer(1, 30);

    std::ostringstream sim;
    sim << "time_factor=0;tmo_factor=0;address=" << p.address << ";seed=" << (seed & 0xffffffff)
        << ";noise=" << (d.Chance(0.5) ? 0.0 : d.Uniform(0.0, 0.05)) << ';';
    switch (p.analyzerType) {
    case 0: sim << "family=5060;" << (d.Chance(0.3) ? "idn=NF 5060;" : ""); break;
    case 6: sim << "family=1960;"; break;
    case 7: sim << "family=1800;model=1842;max_frequency=15M;"; break;
    case 8: sim << "family=1800;model=1852;max_frequency=25M;"; break;
    case 9: sim << "family=1800;model=1862;max_frequency=35M;"; break;
    default: {
        p.usb = p.analyzerType == 10 && d.Chance(0.3);
        static constexpr const char* kModels[] = {"2162", "3231", "5120", "9201"};
        sim << "family=2600;model=" << (p.analyzerType == 11 ? "1370" : d.Pick(kModels))
            << ";channels=" << d.Integer(2, 4) << ";hwclass=" << d.Integer(0, 13)
            << ";firmware=" << (d.Chance(0.3) ? "1.40" : "2.05") << ";max_frequency="
            << 100e3 * d.Integer(10, 400) << ';';
    }
    }
    static constexpr const char* kDuts[] = {"dut=R:R=100", "dut=L:L=1m", "dut=C:C=1u", "dut=R+L:R=10,L=10u",
                                            "dut=R||C:R=1k,C=10n", "dut=lowpass:fc=1k"};
    if (d.Chance(0.5))
        sim << d.Pick(kDuts) << ';';
    if (d.Chance(0.25)) {
        static constexpr const char* kFaults[] = {"fault=timeout", "fault=truncated", "fault=garbled",
                                                  "fault=stb_error", "fault=esr_error", "fault=no_listener",
                                                  "fault=vanish_after:3", "fault=vanish_after:0",
                                                  "fault=vanish_after:11"};
        sim << d.Pick(kFaults) << ';';
        p.faulty = true;
    }
    // Bus libraries other than ours: callbacks inline or on threads of their own, waiting disarms.
    if (d.Chance(0.3)) {
        static constexpr const char* kCallbacks[] = {"callbacks=inline;", "callbacks=thread;"};
        sim << d.Pick(kCallbacks) << (d.Chance(0.5) ? "disarm=wait;" : "");
    }
    p.simConfig = sim.str();

    // The range: within the limits, beyond them, across band edges, in either direction.
    const double a = d.Chance(0.4) ? EdgeFrequency(d) : d.LogUniform(1e-5, 5e7);
    const double span = std::pow(10.0, d.Uniform(-2.0, 2.0));
    double b = d.Chance(0.5) ? a * span : a / span;
    if (d.Chance(0.2))
        b = EdgeFrequency(d);
    p.start = a;
    p.stop = b;
    p.logSweep = d.Chance(0.65);
    const double decades = std::fabs(std::log10(std::max(p.stop, 1e-9) / std::max(p.start, 1e-9)));
    p.stepsPerDecade = d.Chance(0.2) ? d.Uniform(0.1, 2.0) : d.Uniform(1.0, std::min(200.0, 40.0 / std::max(decades, 0.05)));
    const double width = std::fabs(p.stop - p.start);
    if (d.Chance(0.3)) {
        // Steps finer than four significant digits of the frequency.
        p.linearStep = std::max(1e-5, std::max(p.start, p.stop) * d.Uniform(1e-6, 2e-4));
        p.stop = p.start + (p.stop >= p.start ? 1.0 : -1.0) * p.linearStep * d.Integer(1, 30);
    } else {
        p.linearStep = std::max(1e-5, width / d.Integer(1, 40));
    }

    p.ac = NearCeiling(d);
    p.maxAc = d.Chance(0.6) ? 10.0 : NearCeiling(d);
    p.dc = d.Chance(0.5) ? 0.0 : d.Uniform(-10.5, 10.5);
    if (d.Chance(0.3)) {
        static constexpr const char* kWaves[] = {"Sine", "Square", "Triangle"};
        p.waveform = d.Pick(kWaves);
    }
    if (d.Chance(0.3))
        p.outputImpedance = d.Chance(0.5) ? "2" : "50";
    if (d.Chance(0.3)) {
        static constexpr const char* kInputs[] = {"AC < 55V", "AC < 500V", "DC", "AC", "50", "1 Meg"};
        p.inputChoice = d.Pick(kInputs);
    }
    p.integrationSeconds = d.Uniform(0.02, 0.2);
    p.servo = d.Chance(0.2);
    static constexpr const char* kServoChannels[] = {"CH 1", "CH 2", "Larger of CH1, 2", "Smaller of CH1, 2"};
    p.servoChannel = d.Pick(kServoChannels);
    p.servoTarget = d.LogUniform(0.001, 5.0);
    p.servoStepDb = d.Uniform(1.0, 20.0);
    p.maxGain = d.Chance(0.15);
    p.maxGainDb = d.Uniform(0.5, 20.0);
    p.maxPhase = d.Chance(0.15);
    p.maxPhaseDegrees = d.Uniform(1.0, 45.0);

    const int actions = d.Chance(0.5) ? d.Integer(1, 6) : 0;
    for (int i = 0; i < actions; ++i) {
        UserAction action;
        action.afterReadings = d.Integer(0, 12);
        action.kind = static_cast<UserAction::Kind>(d.Integer(0, UserAction::Destroy));
        switch (action.kind) {
        case UserAction::EditAc:
        case UserAction::EditMaxAc: action.value = NearCeiling(d); break;
        case UserAction::EditDc: action.value = d.Uniform(-10.5, 10.5); break;
        case UserAction::AddressChange: action.value = d.Integer(1, 30); break;
        default: break;
        }
        p.actions.push_back(action);
    }
    return p;
}

std::string SweepPlan::Describe() const
{
    std::ostringstream out;
    out.precision(10);
    out << "type " << analyzerType << (usb ? " (USB)" : "") << ", simulator '" << simConfig << "'\n"
        << "  range " << start << " .. " << stop << (logSweep ? " log " : " linear ")
        << (logSweep ? stepsPerDecade : linearStep) << (logSweep ? " steps/decade" : " Hz") << ", AC " << ac
        << ", max AC " << maxAc << ", DC " << dc << ", waveform '" << waveform << "', output '"
        << outputImpedance << "', input '" << inputChoice << "', integration " << integrationSeconds << " s\n"
        << "  servo " << servo << " (" << servoChannel << ", " << servoTarget << " V, " << servoStepDb
        << " dB), max gain " << maxGain << " (" << maxGainDb << " dB), max phase " << maxPhase << " ("
        << maxPhaseDegrees << " deg)\n  actions:";
    for (const UserAction& a : actions)
        out << ' ' << KindName(a.kind) << '@' << a.afterReadings << (a.value != 0.0 ? "=" + std::to_string(a.value) : "");
    out << '\n';
    return out.str();
}

} // namespace campaign
