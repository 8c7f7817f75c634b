#include "data/CLocaleNumbers.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

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

}  // namespace

std::string FormatC(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = VFormatC(format, args);
    va_end(args);
    return text;
}

std::string VFormatC(const char* format, va_list args)
{
    CLocaleScope scope;
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    return text;
}

double StrtodC(const char* text, char** end)
{
    if (const locale_t locale = CLocale())
        return strtod_l(text, end, locale);
    return std::strtod(text, end);
}
