#pragma once
// printf and strtod in the "C" locale, whatever locale the process runs in, so that stored
// and exchanged numbers always use a decimal point.

#include <cstdarg>
#include <string>

// vsnprintf of the arguments in the "C" locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same for an argument list.
std::string VFormatC(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
// strtod in the "C" locale.
double StrtodC(const char* text, char** end);
