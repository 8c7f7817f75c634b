#include "analyzer/sweep/StatusReport.h"

#include "analyzer/sweep/NumberText.h"

namespace analyzer {

std::string SetBitNames(int value, const std::vector<StatusBitName>& bits)
{
    std::string names;
    for (const StatusBitName& b : bits)
        if (b.bit >= 0 && b.bit < 31 && (value & (1 << b.bit)) != 0)
            names += b.text;
    return names;
}

std::string UnexpectedStatusReport(const FamilyTexts& texts, std::string_view context, int statusByte)
{
    const int value = statusByte & 0xFF;
    std::string report = texts.statusHeading;
    report.append(context);
    report.append("\r\n");
    report += texts.statusLabel;
    report += FormatNumberText("&H%x <", static_cast<unsigned>(value));
    report += SetBitNames(value, texts.statusBits);
    report += " >\r\n";
    return report;
}

} // namespace analyzer
