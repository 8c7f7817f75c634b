#pragma once
// The 1960 dialog's own texts: its names in reports, its status and event-register decoding and
// its fixed log lines. DialogTexts is the set the 1960-style engine reads; the 1800 series gives
// its own.

#include <string>
#include <string_view>

#include "analyzer/sweep/FamilyTexts.h"

namespace analyzer::family1960 {

struct DialogTexts {
    const char* title;            // "1960 Analyzer Control Menu"
    const char* acquisitionLine;  // "Data gathered by the 1960 System\r\n"
    const char* identification;   // the text the "*IDN?;" reply must contain
    const char* found;            // "1960 Analyzer found.\r\n"
    const char* notFound;
    const char* modeCommand;
    const char* errorHandler;     // "On1960Error"
    const char* errorByteLabel;   // "1960 Error Byte = "
    FamilyTexts family;           // class, handler, status heading, label and bits
};

const DialogTexts& Texts();

// "<label>&H%x <", the names of the set event-register bits 5, 4, 3, 2 and " >\r\n"; the register
// is the reply's first byte (0 for an empty reply).
std::string EventRegisterReport(std::string_view reply, const char* label);

} // namespace analyzer::family1960
