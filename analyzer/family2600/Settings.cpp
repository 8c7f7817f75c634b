#include "analyzer/family2600/Settings.h"
#include "analyzer/sweep/NumberText.h"

#include <algorithm>
#include <cmath>

#include "analyzer/sweep/NumberText.h"

namespace analyzer::family2600 {

namespace {

constexpr double kMaxVoltHertz = 80000000.0;

double ClampOr(double value, double low, double high, double fallback)
{
    return std::isnan(value) ? fallback : std::clamp(value, low, high);
}

int ClampInteger(double value, int low, int high, int fallback)
{
    if (std::isnan(value))
        return fallback;
    return static_cast<int>(std::clamp(std::trunc(value), double(low), double(high)));
}

// The highest amplitude the output allows: 10 V less the DC offset, 2 V on the 2 Ohm output, and
// while measuring 80,000,000 V Hz at the frequency as "%.4G" sends it.
double OutputCeiling(OutputImpedance impedance, bool measuring, double frequency, double dc)
{
    double ceiling = 10.0 - std::fabs(RoundToSignificant(dc, 3));
    if (impedance == OutputImpedance::Ohms2)
        ceiling = std::min(ceiling, 2.0);
    if (measuring && frequency > 0.0 && std::isfinite(frequency))
        ceiling = std::min(ceiling, kMaxVoltHertz / RoundToSignificant(frequency, 4));
    return ceiling;
}

} // namespace

const char* WaveformText(Waveform waveform)
{
    return waveform == Waveform::Square ? "Square" : "Sine";
}

const char* OutputImpedanceText(OutputImpedance impedance)
{
    return impedance == OutputImpedance::Ohms2 ? "2" : "50";
}

const char* InputImpedanceText(InputImpedance impedance)
{
    return impedance == InputImpedance::Ohms50 ? "50" : "1 Meg";
}

const char* IntegrationOptionText(IntegrationOption option)
{
    return option == IntegrationOption::HighNoise ? "High Noise Algorithm" : "Off";
}

const char* InputRangeText(InputRange range)
{
    switch (range) {
    case InputRange::Below100V: return "< 100 V";
    case InputRange::Below500V: return "< 500 V";
    default: return "< 10 V";
    }
}

double ClampStepsPerDecade(double value) { return ClampOr(value, 0.1, 2000.0, 10.0); }
double ClampFrequencyStep(double value) { return ClampOr(value, 1e-05, 40000000.0, 1000.0); }
double ClampIntegrationTime(double value) { return ClampOr(value, 0.02, 100000.0, 1.0); }
double ClampDelayTime(double value) { return ClampOr(value, 0.0, 100000.0, 0.0); }
int ClampCycles(double value) { return ClampInteger(value, 1, 9999, 1); }
int ClampDelayCycles(double value) { return ClampInteger(value, 0, 9999, 0); }

double ClampDcVoltsOut(double value)
{
    // The smallest AC output stays within the output's 10 V: at most 9.99 V, three digits as sent.
    const double volts = ClampOr(value, -9.99, 9.99, 0.0);
    return std::fabs(volts) < 0.01 ? 0.0 : RoundToSignificant(volts, 3);
}

double LimitAcVoltsOut(double volts, double minimumAcOutput, OutputImpedance impedance,
                       bool measuring, double frequency, double dc)
{
    volts = ClampOr(volts, minimumAcOutput, 10.0, 1.0);
    return std::max(VoltsAsSent(volts, OutputCeiling(impedance, measuring, frequency, dc)), minimumAcOutput);
}

double LimitMaxAcVoltsOut(double volts, OutputImpedance impedance, bool measuring, double frequency, double dc)
{
    volts = ClampOr(volts, 0.001, 10.0, 10.0);
    return std::max(VoltsAsSent(volts, OutputCeiling(impedance, measuring, frequency, dc)), 0.001);
}

} // namespace analyzer::family2600
