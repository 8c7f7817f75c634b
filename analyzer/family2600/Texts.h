#pragma once
// The 2600-series dialog's own texts: its names in reports, its status and event-register
// decoding and its fixed log lines.

#include <string>
#include <string_view>

#include "analyzer/sweep/FamilyTexts.h"

namespace analyzer::family2600 {

inline constexpr const char* kDialogTitle = "Series 2xxx-9xxx/880c Analyzer Control Menu";
inline constexpr const char* kAnalyzerFound = "Talvern Analyzer found.\r\n";
inline constexpr const char* kAnalyzerNotFound = "Talvern Analyzer not found.\r\n";

// CAnalyzer2600Dlg, OnMsg2600Sweep and the status bits 6, 5, 4, 1, 0.
const FamilyTexts& Texts();

// The decoding of the reply to "*ESR?;": with firmware 1.x the reply's first byte is the register
// ("Analyzer Error Byte = &H%x <"), later firmware answers in decimal text, ended by a line feed
// among its first five characters ("Analyzer Error Byte = %s <"); then the names of the set bits
// 5, 4, 3, 2 and " >\r\n".
std::string EventRegisterReport(std::string_view reply, int firmwareCode);

// "Sent:'%s' Received:'%s'\r\n" of a message read by ReadMessages.
std::string MessageLogLine(std::string_view sent, std::string_view received);
// "'%s'\r\n" of the reply to "UPDATE?;".
std::string UpdateReplyLogLine(std::string_view reply);

} // namespace analyzer::family2600
