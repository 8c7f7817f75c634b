#include "analyzer/sweep/NumberText.h"

#include <cmath>

#include "data/CLocaleNumbers.h"

#include <climits>
#include <cstdarg>
#include <cstdlib>

namespace analyzer {

constexpr std::size_t kMaxNumberChars = 128;

std::string FormatNumberText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = VFormatC(format, args);
    va_end(args);
    return text;
}

double ParseLeadingDouble(std::string_view text)
{
    const std::string bounded(text.substr(0, kMaxNumberChars));
    return StrtodC(bounded.c_str(), nullptr);
}

std::optional<double> ParseWholeDouble(std::string_view text)
{
    if (text.empty() || text.size() > kMaxNumberChars)
        return std::nullopt;
    const std::string bounded(text);
    char* end = nullptr;
    const double value = StrtodC(bounded.c_str(), &end);
    if (end != bounded.c_str() + bounded.size())
        return std::nullopt;
    return value;
}

int ParseLeadingInt(std::string_view text)
{
    const std::string bounded(text.substr(0, kMaxNumberChars));
    const long long value = std::strtoll(bounded.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double RoundToSignificant(double value, int digits)
{
    return ParseLeadingDouble(FormatNumberText("%.*G", digits, value));
}

// Differences below this part of a value are the arithmetic's (10 - 9.99 is 0.00999999999999979).
constexpr double kRelativeSlack = 1e-9;

double FloorToSignificant(double value, int digits)
{
    const double rounded = RoundToSignificant(value, digits);
    if (!(value > 0.0) || rounded <= value * (1.0 + kRelativeSlack))
        return rounded;
    // One unit of the last digit below, at value's own decade (9.9996 gives 9.99, not 9.9).
    const double unit = std::pow(10.0, std::floor(std::log10(value)) - digits + 1);
    return RoundToSignificant(rounded - unit, digits);
}

double VoltsAsSent(double volts, double ceiling)
{
    const double sent = RoundToSignificant(volts, 3);
    return sent <= ceiling * (1.0 + kRelativeSlack) ? sent : FloorToSignificant(ceiling, 3);
}

} // namespace analyzer
