#pragma once
// The eleven equivalent circuits of the Model page ("Component:" list), in list order: the
// position is the kind. Each uses R, a second value (L, or Rp for kind 8) and C or a subset.
#include <optional>
#include <string>
#include <vector>

enum CircuitKind : int {
    KIND_R = 0,
    KIND_L = 1,
    KIND_C = 2,
    KIND_R_PLUS_L = 3,
    KIND_R_PLUS_C = 4,
    KIND_R_PLUS_L_PLUS_C = 5,
    KIND_R_PAR_L = 6,
    KIND_R_PAR_C = 7,
    KIND_R_PLUS_R_PAR_C = 8,
    KIND_R_PLUS_L_PAR_C = 9,
    KIND_R_PAR_L_PAR_C = 10,
};
constexpr int kCircuitKindCount = 11;

bool IsCircuitKind(int kind);
// The list text: "R", "R + L", "R + (R || C)", ...; empty for an unknown kind.
std::string CircuitKindText(int kind);
// A kind by its list text, with or without blanks ("R + L", "R+L"), or its position ("3").
std::optional<int> ParseCircuitKind(const std::string& text);

// Which of the three values a kind uses.
struct UsedValues {
    bool r = false;
    bool second = false;  // L, or Rp for kind 8
    bool c = false;
};
UsedValues ValuesUsedBy(int kind);

// Label and unit of the second value field: "Rp:"/"Ohm" for kind 8, "L:"/"H" otherwise.
std::string SecondValueLabel(int kind);
std::string SecondValueUnit(int kind);

// The schematic as stages in series from one terminal to the other; a stage of more than one
// part is a parallel group listed from the upper branch down.
enum class SchematicPart { Resistor, Inductor, Capacitor };
using SchematicStage = std::vector<SchematicPart>;
std::vector<SchematicStage> SchematicLayout(int kind);
