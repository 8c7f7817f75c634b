#include "rlc/workflow/PanelForwarding.h"

#include <cmath>

#include "data/CLocaleNumbers.h"
#include "rlc/workflow/AnalyzerLimits.h"
#include "rlc/workflow/MeasurementAnalyzer.h"

namespace {

constexpr const char* kIntegrationTimes[kIntegrationTimeCount] = {"0.05", "0.33", "2.5", "10"};

bool Is1960Or1800(int analyzerType)
{
    return analyzerType == RLC1960 || Is1800Series(analyzerType);
}

}  // namespace

const char* IntegrationTimeText(int position)
{
    return position >= 0 && position < kIntegrationTimeCount ? kIntegrationTimes[position] : "";
}

double FourDigits(double value)
{
    if (!std::isfinite(value))
        return value;
    return StrtodC(FormatC("%.4g", value).c_str(), nullptr);
}

void ForwardIntegrationTime(int analyzerType, int position, MeasurementAnalyzer& analyzer)
{
    const std::string text = IntegrationTimeText(position);
    if (text.empty())
        return;
    if (analyzerType == RLC880) {
        analyzer.SetIntegrationTimeText(text);
    } else if (Is1960Or1800(analyzerType)) {
        analyzer.SelectIntegrationTimeEntry(position);
    } else if (Uses2600SeriesDialog(analyzerType)) {
        analyzer.SelectIntegrationByTime();
        analyzer.SetIntegrationTimeText(text);
    }
}

double ForwardAcVoltage(double volts, MeasurementAnalyzer& analyzer)
{
    const double value = FourDigits(ClampAcVoltage(std::isfinite(volts) ? volts : 1.0));
    analyzer.SetAcVoltsOutField(value);
    return value;
}

double ForwardDcVoltage(double volts, MeasurementAnalyzer& analyzer)
{
    const double value = FourDigits(ClampDcVoltage(std::isfinite(volts) ? volts : 0.0));
    analyzer.SetDcVoltsOutField(value);
    return value;
}

bool InputCouplingSelectable(int analyzerType)
{
    return Is1960Or1800(analyzerType);
}

int ForwardInputCoupling(int analyzerType, int position, MeasurementAnalyzer& analyzer)
{
    if (!InputCouplingSelectable(analyzerType))
        return 0;
    position = position == 1 ? 1 : 0;
    analyzer.SelectInputCoupling(position);
    return position;
}

void ForwardPhaseLimitCheck(bool checked, MeasurementAnalyzer& analyzer)
{
    analyzer.SetMaxPhaseChangeCheck(checked);
}

double ForwardPhaseLimit(double degrees, MeasurementAnalyzer& analyzer)
{
    const double value = FourDigits(ClampPhaseLimit(std::isfinite(degrees) ? degrees : 20.0));
    analyzer.SetMaxPhaseChangeLimit(value);
    return value;
}
