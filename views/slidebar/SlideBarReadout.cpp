#include "views/slidebar/SlideBarReadout.h"

#include <cmath>
#include <numbers>

#include "data/CLocaleNumbers.h"
#include "data/EngineeringNotation.h"
#include "data/TalDocument.h"
#include "views/slidebar/SlideBarMath.h"

namespace {

constexpr double kNoValue = 9e99;

bool Missing(double value)
{
    return !(std::fabs(value) < kNoValue);
}

double ZeroNearZero(double value)
{
    return std::fabs(value) < 1e-6 ? 0 : value;
}

bool ValidSet(const CTalDocument& doc, int dataSet)
{
    return dataSet >= 0 && dataSet < doc.GetDataSetCount();
}

}  // namespace

std::string SlideBarValueText(double value)
{
    return Missing(value) ? "- - -" : FormatEngineering(value, 4);
}

std::string SlideBarSlopeText(double slope)
{
    return Missing(slope) ? "- - -" : FormatC("%.3g", slope);
}

std::string SlideBarNyqPhaseText(double phase)
{
    return Missing(phase) ? "- - -" : FormatC("%.1f", phase);
}

GainReadout ReadGainAt(const CTalDocument& doc, int dataSet, double frequency, double phaseMin, double phaseMax)
{
    GainReadout r;
    if (!ValidSet(doc, dataSet))
        return r;
    r.gain = ZeroNearZero(doc.GetGainAtDB(dataSet, frequency));
    r.phase = WrapPhaseToWindow(ZeroNearZero(doc.GetPhaseAt(dataSet, frequency)), phaseMin, phaseMax);
    r.slope = ZeroNearZero(doc.GetSlopeAt(dataSet, frequency));
    return r;
}

ImpReadout ReadImpedanceAt(const CTalDocument& doc, int dataSet, double frequency, double phaseMin,
                           double phaseMax)
{
    ImpReadout r;
    if (!ValidSet(doc, dataSet))
        return r;
    r.magnitude = ZeroNearZero(doc.GetGainAt(dataSet, frequency));
    r.phase = WrapPhaseToWindow(ZeroNearZero(doc.GetPhaseAt(dataSet, frequency)), phaseMin, phaseMax);
    return r;
}

NyqReadout ReadNyquistAt(const CTalDocument& doc, int dataSet, double frequency, double phase)
{
    NyqReadout r;
    if (!ValidSet(doc, dataSet))
        return r;
    r.magnitude = doc.GetGainAt(dataSet, frequency);
    r.phase = phase;
    if (Missing(r.magnitude) || Missing(phase))
        return r;
    const double p = phase * std::numbers::pi / 180;
    r.real = r.magnitude * std::cos(p);
    r.imag = r.magnitude * std::sin(p);
    return r;
}

double SlideBarValueAt(const CTalDocument& doc, int dataSet, double frequency, bool phaseFlip)
{
    if (!ValidSet(doc, dataSet))
        return kNoValue;
    const double phase = doc.GetPhaseAt(dataSet, frequency);
    if (!phaseFlip || Missing(phase))
        return phase;
    return phase > 0 ? phase - 180 : phase + 180;
}
