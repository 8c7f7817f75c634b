#pragma once
// Reading the numbers of an analyzer reply: tokens separated by blanks, commas, tabs, line ends
// and the capital letters other than "E", so that exponents survive and labels fall away.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "analyzer/sweep/FamilyTexts.h"

namespace analyzer {

inline constexpr std::string_view kReadingDelimiters = " ,\t\n\rABCDFGHIJKLMNOPQRSTUVWXYZ";

class ReplyTokenizer {
public:
    explicit ReplyTokenizer(std::string_view text) : m_text(text) {}

    // The next token, or the one after it when it begins with "E" (the remains of a label such as
    // "FREQ"), read as a floating-point number. None at the end of the text, for a token that is
    // not wholly a number (a garbled value) and for a value that is not finite (a reply never
    // carries one); the token is used up either way.
    std::optional<double> NextValue();

private:
    std::optional<std::string_view> NextToken();

    std::string_view m_text;
    std::size_t m_position = 0;
};

// The text of a reply: its first count bytes, ended early by a NUL byte.
std::string_view TextOfReply(const char* data, std::size_t count);

// "In <handler>(), data shows an error - <valueName>".
std::string MissingValueContext(const FamilyTexts& texts, std::string_view valueName);

} // namespace analyzer
