#include "analyzer/sweep/NumberText.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace analyzer {

namespace {

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

// Makes the "C" locale current for this thread while it lives.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(CLocale() ? uselocale(CLocale()) : locale_t{}) {}
    ~CLocaleScope()
    {
        if (m_previous)
            uselocale(m_previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};

constexpr std::size_t kMaxNumberChars = 128;

} // namespace

std::string FormatNumberText(const char* format, ...)
{
    CLocaleScope scope;
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

double ParseLeadingDouble(std::string_view text)
{
    const std::string bounded(text.substr(0, kMaxNumberChars));
    CLocaleScope scope;
    return std::strtod(bounded.c_str(), nullptr);
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

} // namespace analyzer
