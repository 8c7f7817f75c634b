#include "views/base/ViewFields.h"

#include <algorithm>
#include <cmath>


ViewFields::ViewFields()
{
    legend.obj.shown = 0;
}

namespace {

// Replaces values that are no numbers and pins both ends into [floor, ceiling]; an inverted or
// empty range is kept, the drawing copes with both.
void Limit(double& lo, double& hi, double floor, double ceiling, double loDefault, double hiDefault)
{
    if (!std::isfinite(lo))
        lo = loDefault;
    if (!std::isfinite(hi))
        hi = hiDefault;
    lo = std::clamp(lo, floor, ceiling);
    hi = std::clamp(hi, floor, ceiling);
}

}  // namespace

void SanitizeRanges(ViewFields& f)
{
    Limit(f.frequencyMin, f.frequencyMax, 1e-6, 1e15, 1.0, 1e6);
    Limit(f.gainMin, f.gainMax, -10000, 10000, -60, 60);
    Limit(f.impedanceMin, f.impedanceMax, 1e-99, 1e99, 1.0, 10000.0);
    Limit(f.phaseMin, f.phaseMax, -10000, 10000, -180, 180);
}
