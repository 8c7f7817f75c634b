#include "rlc/model/CircuitKind.h"

namespace {

constexpr const char* kKindTexts[kCircuitKindCount] = {
    "R", "L", "C", "R + L", "R + C", "R + L + C", "R || L", "R || C", "R + (R || C)",
    "R + (L || C)", "R || L || C",
};

}  // namespace

bool IsCircuitKind(int kind)
{
    return kind >= 0 && kind < kCircuitKindCount;
}

std::string CircuitKindText(int kind)
{
    return IsCircuitKind(kind) ? kKindTexts[kind] : "";
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
