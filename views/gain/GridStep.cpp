#include "views/gain/GridStep.h"

#include <cmath>
#include <string>

#include "data/CLocaleNumbers.h"

double GainGridStep(double minimum, double maximum)
{
    // A tenth of the span to one digit; the digit is rounded down to 1, 2 or 5.
    std::string text = FormatC("%.0E", std::fabs(maximum - minimum) / 10);
    const char digit = text.empty() ? '0' : text[0];
    if (digit < '1' || digit > '9')
        return 0;
    text[0] = digit >= '5' ? '5' : digit >= '2' ? '2' : '1';
    return StrtodC(text.c_str(), nullptr);
}

double PhaseGridStep(double minimum, double maximum)
{
    const double span = std::fabs(maximum - minimum) / 10;
    if (span >= 30)
        return 30;
    if (span >= 20)
        return 20;
    if (span >= 15)
        return 15;
    return GainGridStep(minimum, maximum);
}
