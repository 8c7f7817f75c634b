#pragma once
// Text put into XML character data: the predefined entities for '&', '<' and '>', and every
// byte that XML 1.0 cannot carry (control characters other than tab, line feed and carriage
// return, malformed UTF-8) replaced by '?', so that any name keeps the file well-formed.
#include <string>
#include <string_view>

std::string EscapeXmlText(std::string_view text);
