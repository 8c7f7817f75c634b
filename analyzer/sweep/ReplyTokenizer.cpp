#include "analyzer/sweep/ReplyTokenizer.h"

#include <cmath>
#include <cstring>

#include "analyzer/sweep/NumberText.h"

namespace analyzer {

std::optional<std::string_view> ReplyTokenizer::NextToken()
{
    const std::size_t begin = m_text.find_first_not_of(kReadingDelimiters, m_position);
    if (begin == std::string_view::npos) {
        m_position = m_text.size();
        return std::nullopt;
    }
    std::size_t end = m_text.find_first_of(kReadingDelimiters, begin);
    if (end == std::string_view::npos)
        end = m_text.size();
    m_position = end;
    return m_text.substr(begin, end - begin);
}

std::optional<double> ReplyTokenizer::NextValue()
{
    std::optional<std::string_view> token = NextToken();
    if (token && token->front() == 'E')
        token = NextToken();
    if (!token)
        return std::nullopt;
    const std::optional<double> value = ParseWholeDouble(*token);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::string_view TextOfReply(const char* data, std::size_t count)
{
    if (!data)
        return {};
    const void* nul = std::memchr(data, '\0', count);
    return std::string_view(data, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data)
                                      : count);
}

std::string MissingValueContext(const FamilyTexts& texts, std::string_view valueName)
{
    std::string context = "In " + texts.sweepHandler + "(), data shows an error - ";
    context.append(valueName);
    return context;
}

} // namespace analyzer
