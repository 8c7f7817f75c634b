#include "analyzer/family2600/Texts.h"

#include <vector>

#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/StatusReport.h"

namespace analyzer::family2600 {

const FamilyTexts& Texts()
{
    static const FamilyTexts texts{
        "CAnalyzer2600Dlg",
        "OnMsg2600Sweep",
        "Unexpected Status Byte from the Talvern analyzer\r\n",
        "Analyzer Status Byte = ",
        {{6, " Bit6-RQS"},
         {5, " Bit5-Standard Event Summary Bit"},
         {4, " Bit4-Message Available"},
         {1, " Bit1-Sweep Data Availiable"},
         {0, " Bit0-Result Data Available"}},
    };
    return texts;
}

std::string EventRegisterReport(std::string_view reply, int firmwareCode)
{
    static const std::vector<StatusBitName> bits{{5, " Bit5-Command Interpretation Error"},
                                                 {4, " Bit4-Execution Error"},
                                                 {3, " Bit3-Device Dependent Error"},
                                                 {2, " Bit2-Unterminated Query Error"}};
    std::string report;
    int value;
    if (firmwareCode < 0x200) {
        value = reply.empty() ? 0 : static_cast<unsigned char>(reply[0]);
        report = FormatNumberText("Analyzer Error Byte = &H%x <", static_cast<unsigned>(value));
    } else {
        const std::size_t lineFeed = reply.substr(0, 5).find('\n');
        const std::string_view text = reply.substr(0, lineFeed);
        value = ParseLeadingInt(text);
        report = "Analyzer Error Byte = ";
        report.append(text);
        report += " <";
    }
    report += SetBitNames(value, bits);
    report += " >\r\n";
    return report;
}

std::string MessageLogLine(std::string_view sent, std::string_view received)
{
    std::string line = "Sent:'";
    line.append(sent);
    line += "' Received:'";
    line.append(received);
    line += "'\r\n";
    return line;
}

std::string UpdateReplyLogLine(std::string_view reply)
{
    std::string line = "'";
    line.append(reply);
    line += "'\r\n";
    return line;
}

} // namespace analyzer::family2600
