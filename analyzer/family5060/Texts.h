#pragma once
// The NF 5060 dialog's own texts: its names in reports, its status byte and the decoding of the
// error byte that "?ERR;" returns.

#include <string>
#include <string_view>

#include "analyzer/sweep/FamilyTexts.h"

namespace analyzer::family5060 {

inline constexpr const char* kDialogTitle = "880a/880b Analyzer Control Menu";
inline constexpr const char* kAcquisitionLine = "Data gathered by the Talvern 880 System\r\n";

// CAnalyzer5060Dlg, OnMsg5060Sweep and the status bits 7 to 0.
const FamilyTexts& Texts();

// The first token of the reply (separators blank, comma, tab, line ends and the capital letters)
// read as a binary number, most significant digit first; 0 for a reply without a token.
int ErrorByteOf(std::string_view reply);
// "5060 Error Byte = &H%x <", the names of the set bits 3 to 0 and " >\r\n".
std::string ErrorByteReport(std::string_view reply);

} // namespace analyzer::family5060
