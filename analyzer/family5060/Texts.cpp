#include "analyzer/family5060/Texts.h"

#include <vector>

#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/StatusReport.h"

namespace analyzer::family5060 {

const FamilyTexts& Texts()
{
    static const FamilyTexts texts{
        "CAnalyzer5060Dlg",
        "OnMsg5060Sweep",
        "Unexpected Status Byte from the NF5060 or NF5060A analyzer\r\n",
        "5060 Status Byte = ",
        {{7, " Bit7-Unknown Command"},
         {6, " Bit6-RQS"},
         {5, " Bit5-Overload"},
         {4, " Bit4-Error"},
         {3, " Bit3-On Sweeping"},
         {2, " Bit2-On Measuring or Calibrating"},
         {1, " Bit1-Output of OSC Availiable"},
         {0, " Bit0-Ready for Output"}},
    };
    return texts;
}

int ErrorByteOf(std::string_view reply)
{
    auto separator = [](char ch) {
        return ch == ' ' || ch == ',' || ch == '\t' || ch == '\n' || ch == '\r' || (ch >= 'A' && ch <= 'Z');
    };
    std::size_t at = 0;
    while (at < reply.size() && separator(reply[at]))
        ++at;
    // Each character adds its digit value; eight digits fill the byte, so longer tokens are cut.
    int value = 0;
    for (int digits = 0; at < reply.size() && !separator(reply[at]) && digits < 8; ++at, ++digits)
        value = value * 2 + (reply[at] - '0');
    return value & 0xFF;
}

std::string ErrorByteReport(std::string_view reply)
{
    static const std::vector<StatusBitName> bits{{3, " Bit3-Calibration Error"},
                                                 {2, " Bit2-Auto Integration Error"},
                                                 {1, " Bit1-Parameter Error"},
                                                 {0, " Bit0-Header Error"}};
    const int value = ErrorByteOf(reply);
    return FormatNumberText("5060 Error Byte = &H%x <", static_cast<unsigned>(value)) + SetBitNames(value, bits)
           + " >\r\n";
}

} // namespace analyzer::family5060
