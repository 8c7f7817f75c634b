#include "views/nyq/NyqScale.h"

#include <cmath>
#include <cstdio>

double RoundNyqRangeUp(double range)
{
    if (range >= 1e6)
        return std::ceil(range * 1e-6) * 1e6;
    if (range >= 1000)
        return std::ceil(range * 1e-3) * 1e3;
    if (range >= 1)
        return std::ceil(range);
    // Below one ohm the steps are decimal fractions: divide rather than multiply by 1e3, 1e6
    // so a range that is already a whole number of them stays put.
    if (range >= 0.001)
        return std::ceil(range * 1e3 - 1e-9) / 1e3;
    return std::ceil(range * 1e6 - 1e-9) / 1e6;
}

NyqRange AutomaticNyqRange(double largestReal, double largestImag)
{
    largestReal = std::max(largestReal, 0.0001);
    largestImag = std::max(largestImag, 0.0001);
    NyqRange result;
    if (largestImag > largestReal) {
        result.axis = NyqRangeAxis::Y;
        result.range = largestImag;
    } else {
        result.range = largestReal;
    }
    result.range = RoundNyqRangeUp(result.range);
    return result;
}

NyqScale NyqScale::For(int left, int top, int right, int bottom, const NyqRange& range, bool onlyPositiveX,
                       bool invertY)
{
    const bool yAxis = range.axis == NyqRangeAxis::Y;
    const double span = yAxis ? bottom - top : right - left;
    const double factor = (yAxis || !onlyPositiveX) ? 0.5 : 1.0;
    NyqScale scale;
    scale.pixelsPerOhm = range.range > 0 ? factor * span / range.range : 0;
    scale.x0 = onlyPositiveX ? left : (left + right) / 2;
    scale.y0 = (top + bottom) / 2;
    scale.invertY = invertY;
    return scale;
}

namespace {

// Nearest integer, halves away from zero, pinned to a drawable range.
int Nearest(double value)
{
    if (!(std::fabs(value) < 1e8))
        return value < 0 ? -100000000 : 100000000;
    return int(std::lround(value));
}

}  // namespace

int NyqScale::X(double real) const
{
    return x0 + Nearest(pixelsPerOhm * real);
}

int NyqScale::Y(double imag) const
{
    return y0 - Nearest(pixelsPerOhm * (invertY ? -imag : imag));
}

std::optional<NyqGridStep> ChooseNyqGridStep(double pixelsPerOhm)
{
    static const double kMantissas[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};
    for (int exponent : {-3, 0, 3, 6}) {
        const double unit = std::pow(10.0, exponent);
        for (double m : kMantissas) {
            if (pixelsPerOhm * m * unit >= 40)
                return NyqGridStep{m * unit, exponent};
        }
    }
    return std::nullopt;
}

std::string NyqGridLabel(double distance, int exponent)
{
    const char* prefix = exponent == -3 ? "m" : exponent == 3 ? "k" : exponent == 6 ? "M" : "";
    char text[64];
    std::snprintf(text, sizeof text, "%.0f %sOhm", std::fabs(distance) / std::pow(10.0, exponent), prefix);
    return text;
}
