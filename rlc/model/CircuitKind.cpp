#include "rlc/model/CircuitKind.h"

#include <algorithm>

namespace {

constexpr const char* kKindTexts[kCircuitKindCount] = {
    "R", "L", "C", "R + L", "R + C", "R + L + C", "R || L", "R || C", "R + (R || C)",
    "R + (L || C)", "R || L || C",
};

std::string WithoutBlanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

}  // namespace

bool IsCircuitKind(int kind)
{
    return kind >= 0 && kind < kCircuitKindCount;
}

std::string CircuitKindText(int kind)
{
    return IsCircuitKind(kind) ? kKindTexts[kind] : "";
}

std::optional<int> ParseCircuitKind(const std::string& text)
{
    if (text.size() <= 2 && !text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
        const int position = std::stoi(text);
        return IsCircuitKind(position) ? std::optional<int>(position) : std::nullopt;
    }
    for (int kind = 0; kind < kCircuitKindCount; ++kind)
        if (WithoutBlanks(CircuitKindText(kind)) == WithoutBlanks(text))
            return kind;
    return std::nullopt;
}

UsedValues ValuesUsedBy(int kind)
{
    switch (kind) {
    case KIND_R: return {true, false, false};
    case KIND_L: return {false, true, false};
    case KIND_C: return {false, false, true};
    case KIND_R_PLUS_L:
    case KIND_R_PAR_L: return {true, true, false};
    case KIND_R_PLUS_C:
    case KIND_R_PAR_C: return {true, false, true};
    case KIND_R_PLUS_L_PLUS_C:
    case KIND_R_PLUS_R_PAR_C:
    case KIND_R_PLUS_L_PAR_C:
    case KIND_R_PAR_L_PAR_C: return {true, true, true};
    default: return {};
    }
}

std::string SecondValueLabel(int kind)
{
    return kind == KIND_R_PLUS_R_PAR_C ? "Rp:" : "L:";
}

std::string SecondValueUnit(int kind)
{
    return kind == KIND_R_PLUS_R_PAR_C ? "Ohm" : "H";
}

std::vector<SchematicStage> SchematicLayout(int kind)
{
    using P = SchematicPart;
    switch (kind) {
    case KIND_R: return {{P::Resistor}};
    case KIND_L: return {{P::Inductor}};
    case KIND_C: return {{P::Capacitor}};
    case KIND_R_PLUS_L: return {{P::Resistor}, {P::Inductor}};
    case KIND_R_PLUS_C: return {{P::Resistor}, {P::Capacitor}};
    case KIND_R_PLUS_L_PLUS_C: return {{P::Resistor}, {P::Inductor}, {P::Capacitor}};
    case KIND_R_PAR_L: return {{P::Inductor, P::Resistor}};
    case KIND_R_PAR_C: return {{P::Capacitor, P::Resistor}};
    case KIND_R_PLUS_R_PAR_C: return {{P::Resistor}, {P::Resistor, P::Capacitor}};
    case KIND_R_PLUS_L_PAR_C: return {{P::Resistor}, {P::Inductor, P::Capacitor}};
    case KIND_R_PAR_L_PAR_C: return {{P::Resistor, P::Inductor, P::Capacitor}};
    default: return {};
    }
}
