#include "analyzer/family1960/Settings.h"
#include "analyzer/sweep/NumberText.h"

#include <algorithm>
#include <cmath>

namespace analyzer::family1960 {

namespace {

constexpr double kVoltageLimit = 10.0;
// A ceiling counts as at its limit within this much of 10 V: decimal field values do not add up to
// exactly 10 in binary (7.01 + 2.99).
constexpr double kLimitTolerance = 1e-9;

template <typename Enum, std::size_t N>
bool FromText(std::string_view text, const char* const (&texts)[N], Enum& value)
{
    for (std::size_t i = 0; i < N; ++i)
        if (text == texts[i]) {
            value = static_cast<Enum>(i);
            return true;
        }
    return false;
}

constexpr const char* kWaveformTexts[] = {"Sine", "Square", "Triangle"};
constexpr const char* kCouplingTexts[] = {"AC < 500V", "AC < 55V", "DC"};
constexpr const char* kSpeedTexts[] = {"Fast", "Medium", "Slow", "VSlow"};

} // namespace

const char* WaveformText(Waveform waveform) { return kWaveformTexts[static_cast<int>(waveform)]; }
const char* CouplingText(Coupling coupling) { return kCouplingTexts[static_cast<int>(coupling)]; }
const char* SpeedText(Speed speed) { return kSpeedTexts[static_cast<int>(speed)]; }

bool WaveformFromText(std::string_view text, Waveform& waveform) { return FromText(text, kWaveformTexts, waveform); }
bool CouplingFromText(std::string_view text, Coupling& coupling) { return FromText(text, kCouplingTexts, coupling); }
bool SpeedFromText(std::string_view text, Speed& speed) { return FromText(text, kSpeedTexts, speed); }

double ClampStepsPerDecade(double value)
{
    if (std::isnan(value))
        return 10.0;
    return std::clamp(value, 0.1, 2000.0);
}

double ClampFrequencyStep(double value, double minimum, double maximum)
{
    if (std::isnan(value))
        return 1000.0;
    return std::clamp(value, minimum, maximum);
}

double ClampDcVoltsOut(double value)
{
    if (std::isnan(value) || std::fabs(value) < 0.01)
        return 0.0;
    // Three digits, as "OFFSET,%.3G;" sends it.
    return RoundToSignificant(std::clamp(value, -9.99, 9.99), 3);
}

int ClampCycles(double value)
{
    if (!(value >= 1.0))
        return 1;
    return value > 100.0 ? 100 : static_cast<int>(value);
}

int ClampDelay(double value)
{
    if (!(value >= 0.0))
        return 0;
    return value > 60.0 ? 60 : static_cast<int>(value);
}

double LimitAcVoltsOut(double volts, double maxAcVoltsOut, double minimum)
{
    if (std::isnan(volts))
        volts = minimum;
    return std::max(VoltsAsSent(std::clamp(volts, minimum, kVoltageLimit), maxAcVoltsOut), minimum);
}

MaxAcResult LimitMaxAcVoltsOut(double volts, double acVoltsOut, double dc, double previousDc, double minimum,
                               double hardwareCeiling)
{
    MaxAcResult result;
    const double headroom = kVoltageLimit - std::fabs(dc);
    if (std::isnan(volts) || volts < minimum) {
        result.maxAcVoltsOut = minimum;
    } else if (volts > hardwareCeiling) {
        result.maxAcVoltsOut = hardwareCeiling;
    } else if (acVoltsOut + std::fabs(dc) > kVoltageLimit || volts + std::fabs(dc) > kVoltageLimit) {
        result.maxAcVoltsOut = headroom;
        result.releaseHold = true;
    } else if (std::fabs(volts + std::fabs(previousDc) - kVoltageLimit) < kLimitTolerance && volts < headroom) {
        result.maxAcVoltsOut = std::min(headroom, hardwareCeiling);
    } else {
        result.maxAcVoltsOut = volts;
    }
    return result;
}

void RatioFromEntry(std::string_view entry, int& numerator, int& denominator)
{
    const bool one = entry.size() > 2 && entry[2] == '1';
    numerator = one ? 1 : 2;
    denominator = one ? 2 : 1;
}

} // namespace analyzer::family1960
