#include "analyzer/family1960/Texts.h"

#include <vector>

#include "analyzer/family1960/Commands.h"
#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/StatusReport.h"

namespace analyzer::family1960 {

const DialogTexts& Texts()
{
    static const DialogTexts texts{
        "1960 Analyzer Control Menu",
        "Data gathered by the 1960 System\r\n",
        "Model 1960",
        "1960 Analyzer found.\r\n",
        "1960 Analyzer not found.\r\n",
        kModeCommand,
        "On1960Error",
        "1960 Error Byte = ",
        {"CAnalyzer1960Dlg",
         "OnMsg1960Sweep",
         "Unexpected Status Byte from the 1960 analyzer\r\n",
         "1960 Status Byte = ",
         {{6, " Bit6-RQS"},
          {5, " Bit5-Standard Event Summary Bit"},
          {4, " Bit4-Message Available"},
          {1, " Bit1-Sweep Data Availiable"},
          {0, " Bit0-Result Data Available"}}},
    };
    return texts;
}

std::string EventRegisterReport(std::string_view reply, const char* label)
{
    static const std::vector<StatusBitName> bits{{5, " Bit5-Command Interpretation Error"},
                                                 {4, " Bit4-Execution Error"},
                                                 {3, " Bit3-Device Dependent Error"},
                                                 {2, " Bit2-Unterminated Query Error"}};
    const int value = reply.empty() ? 0 : static_cast<unsigned char>(reply[0]);
    return std::string(label) + FormatNumberText("&H%x <", static_cast<unsigned>(value)) + SetBitNames(value, bits)
           + " >\r\n";
}

} // namespace analyzer::family1960
