#include "sim/CommandArguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace talsim {

std::optional<double> NumberArgument(const std::string& text)
{
    if (text.empty() || text.size() > 32)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long> IntegerArgument(const std::string& text, int base)
{
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, base);
    if (end != text.c_str() + text.size() || errno == ERANGE)
        return std::nullopt;
    return value;
}

} // namespace talsim
