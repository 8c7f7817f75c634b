#include "analyzer/family5060/Settings.h"
#include "analyzer/sweep/NumberText.h"

#include <algorithm>
#include <cmath>

namespace analyzer::family5060 {

namespace {

constexpr const char* kWaveformTexts[] = {"Sine", "Square", "Triangle"};

double Clamp(double value, double low, double high)
{
    return std::isnan(value) ? low : std::clamp(value, low, high);
}

int ClampInteger(double value, int low, int high)
{
    if (!(value >= low))
        return low;
    return value > high ? high : static_cast<int>(value);
}

} // namespace

const char* WaveformText(Waveform waveform) { return kWaveformTexts[static_cast<int>(waveform)]; }

bool WaveformFromText(std::string_view text, Waveform& waveform)
{
    for (int i = 0; i < 3; ++i)
        if (text == kWaveformTexts[i]) {
            waveform = static_cast<Waveform>(i);
            return true;
        }
    return false;
}

const char* AutomaticModeText(int position) { return position == 1 ? "Long" : "Short"; }

double ClampAcVolts(double volts) { return Clamp(volts, 0.001, 10.0); }

double ClampDcVoltsOut(double volts)
{
    if (std::isnan(volts) || std::fabs(volts) < 0.01)
        return 0.0;
    // Three digits, as "ODB %.3G;" sends it.
    return RoundToSignificant(std::clamp(volts, -10.0, 10.0), 3);
}

double ClampIntegrationTime(double seconds) { return Clamp(seconds, 0.0256, 10000.0); }
double ClampDelayTime(double seconds) { return Clamp(seconds, 0.0, 10000.0); }
int ClampIntegrationCycles(double cycles) { return ClampInteger(cycles, 1, 9999); }
int ClampDelayCycles(double cycles) { return ClampInteger(cycles, 0, 9999); }

void RatioFromEntry(std::string_view entry, int& numerator, int& denominator)
{
    const char third = entry.size() > 2 ? entry[2] : '\0';
    const char seventh = entry.size() > 6 ? entry[6] : '\0';
    numerator = third == '1' ? 1 : third == '3' ? 3 : 2;
    if (numerator == 1)
        denominator = seventh == '3' ? 3 : 2;
    else if (numerator == 3)
        denominator = seventh == '1' ? 1 : 2;
    else
        denominator = seventh == '3' ? 3 : 1;
}

} // namespace analyzer::family5060
