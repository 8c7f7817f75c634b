#pragma once
// Numbers in command, log and preference texts: printf conversions and strtod-style reading in
// the "C" locale, so that a decimal point is written and read whatever the process locale is.

#include <optional>
#include <string>
#include <string_view>

namespace analyzer {

// snprintf of the arguments in the "C" locale.
std::string FormatNumberText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The floating-point number at the start of text as strtod reads it (leading blanks skipped);
// 0 when text does not start with a number. Reads at most the first 128 characters.
double ParseLeadingDouble(std::string_view text);

// The floating-point number that is the whole of text (at most 128 characters); none for a text
// that holds anything else.
std::optional<double> ParseWholeDouble(std::string_view text);

// The decimal integer at the start of text (leading blanks and a sign allowed), saturated to the
// int range; 0 when text does not start with one.
int ParseLeadingInt(std::string_view text);

// value rounded to the given number of significant digits, as "%.*G" shows it.
double RoundToSignificant(double value, int digits);
// The largest number of the given significant digits not above value (value >= 0): a limit
// written with "%.*G" then never exceeds what it limits.
double FloorToSignificant(double value, int digits);

// Output voltages go to the analyzer with three significant digits ("%.3G"); a field keeps them
// so, and a rating is never exceeded by the rounding: the value rounded to three digits, or, when
// that is above ceiling, ceiling rounded down to three digits.
double VoltsAsSent(double volts, double ceiling);

// An output amplitude (V) as every family's command tells it to the analyzer ("%.3G").
inline double AmplitudeAsSent(double volts)
{
    return RoundToSignificant(volts, 3);
}

} // namespace analyzer
