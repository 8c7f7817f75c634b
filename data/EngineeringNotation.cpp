#include "data/EngineeringNotation.h"

#include <algorithm>
#include <cmath>

#include "data/CLocaleNumbers.h"

namespace {

// Prefix bands indexed by q + 5 for q = -5 .. 6 (q = 0 is split on |x| < 1 below).
struct Band {
    const char* suffix;
    double unit;
};
constexpr Band kBands[] = {
    {" a", 1e-18}, {" f", 1e-15}, {" p", 1e-12}, {" n", 1e-9}, {" u", 1e-6}, {"", 1.0},
    {" k", 1e3},   {" M", 1e6},   {" G", 1e9},   {" T", 1e12}, {" P", 1e15}, {" E", 1e18},
};

double PrefixFactor(char c)
{
    switch (c) {
    case 'a': case 'A': return 1e-18;
    case 'f': case 'F': return 1e-15;
    case 'p': return 1e-12;
    case 'n': case 'N': return 1e-9;
    case 'u': case 'U': return 1e-6;
    case 'm': return 1e-3;
    case 'k': case 'K': return 1e3;
    case 'M': return 1e6;
    case 'g': case 'G': return 1e9;
    case 't': case 'T': return 1e12;
    case 'P': return 1e15;
    case 'e': case 'E': return 1e18;
    default: return 1.0;
    }
}

}  // namespace

std::string FormatEngineering(double value, int precision)
{
    // %g treats 0 as 1; more than 17 digits carry no information for a double.
    precision = std::clamp(precision, 1, 17);
    const double magnitude = std::fabs(value);
    if (std::isnan(value))
        return FormatC("%.*g", precision, value);
    if (magnitude < 1e-20)
        return "0";
    if (magnitude >= 1e21)
        return "1E21 (Big)";

    const int n = static_cast<int>(std::trunc(std::log10(magnitude) + 1e-12));
    const int q = n / 3;  // truncates towards zero
    if (q == 0 && magnitude < 1.0)
        return FormatC("%.*g m", precision, value / 1e-3);
    if (q < -5 || q > 6)
        return FormatC("%.*g", precision, value);
    const Band& band = kBands[q + 5];
    return FormatC("%.*g%s", precision, value / band.unit, band.suffix);
}

double ParseEngineering(const std::string& text)
{
    const char* start = text.c_str();
    char* end = nullptr;
    const double number = StrtodC(start, &end);
    if (end == start)
        return 0.0;
    while (*end == ' ')
        ++end;
    // "nan", "inf" and overflowing values would poison every later comparison and clamp.
    const double value = number * PrefixFactor(*end);
    return std::isfinite(value) ? value : 0.0;
}
