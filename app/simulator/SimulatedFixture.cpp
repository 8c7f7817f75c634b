#include "app/simulator/SimulatedFixture.h"

#include "data/CLocaleNumbers.h"
#include "rlc/model/CircuitKind.h"

#include <string_view>

namespace {

bool IsPlainValue(const std::string& text)
{
    if (text.empty() || text.size() > 24)
        return false;
    for (const char ch : text)
        if (!((ch >= '0' && ch <= '9') || ch == '.' || ch == '+' || ch == '-' || ch == 'e' || ch == 'E' ||
              std::string_view("afpnumkMGT").find(ch) != std::string_view::npos))
            return false;
    return true;
}

}  // namespace

const std::vector<std::string>& SimulatorFaultNames()
{
    static const std::vector<std::string> names = {"no_listener", "timeout", "truncated",
                                                   "garbled", "stb_error", "esr_error"};
    return names;
}

std::optional<std::string> SimulatorConfigText(const SimulatedFixture& fixture)
{
    std::string text = "fixture=";
    switch (fixture.content) {
    case SimulatedFixture::Content::Open: text += "open"; break;
    case SimulatedFixture::Content::Short: text += "short"; break;
    case SimulatedFixture::Content::Component: text += "dut"; break;
    }
    if (fixture.content == SimulatedFixture::Content::Component && IsCircuitKind(fixture.kind)) {
        // The simulator names a kind by its list text without blanks.
        std::string kind;
        for (const char ch : CircuitKindText(fixture.kind))
            if (ch != ' ')
                kind += ch;
        const UsedValues used = ValuesUsedBy(fixture.kind);
        std::vector<std::string> values;
        if ((used.r && !IsPlainValue(fixture.r)) || (used.second && !IsPlainValue(fixture.second)) ||
            (used.c && !IsPlainValue(fixture.c)))
            return std::nullopt;
        if (used.r)
            values.push_back("R=" + fixture.r);
        if (used.second)
            values.push_back((fixture.kind == KIND_R_PLUS_R_PAR_C ? "Rp=" : "L=") + fixture.second);
        if (used.c)
            values.push_back("C=" + fixture.c);
        text += ";dut=" + kind + ":";
        for (size_t i = 0; i < values.size(); ++i)
            text += (i ? "," : "") + values[i];
    }
    text += ";noise=" + FormatC("%g", fixture.noise);
    text += ";fault=";
    if (fixture.faults.empty())
        text += "none";
    for (size_t i = 0; i < fixture.faults.size(); ++i)
        text += (i ? "," : "") + fixture.faults[i];
    return text;
}
