#include "rlc/workflow/AnalyzerLimits.h"

#include <algorithm>

std::optional<FrequencyLimits> AnalyzerFrequencyLimits(int analyzerType)
{
    switch (analyzerType) {
    case RLC880: return FrequencyLimits{1e-5, 2.2e6};
    case RLC1960: return FrequencyLimits{0.01, 2.2e6};
    case RLC1842: return FrequencyLimits{0.01, 1.5e7};
    case RLC1852: return FrequencyLimits{0.01, 2.5e7};
    case RLC1862: return FrequencyLimits{0.01, 3.5e7};
    case RLC2600: return FrequencyLimits{0.01, 4e7};
    case RLC1370: return FrequencyLimits{1, 4e7};
    default: return std::nullopt;
    }
}

bool Uses2600SeriesDialog(int analyzerType)
{
    return analyzerType == RLC2600 || analyzerType == RLC1370;
}

bool Is1800Series(int analyzerType)
{
    return analyzerType == RLC1842 || analyzerType == RLC1852 || analyzerType == RLC1862;
}

double ClampAcVoltage(double volts)
{
    return std::clamp(volts, 0.01, 10.0);
}

double ClampDcVoltage(double volts)
{
    return std::clamp(volts, -9.99, 9.99);
}

double ClampPhaseLimit(double degrees)
{
    return std::clamp(degrees, 1.0, 180.0);
}
