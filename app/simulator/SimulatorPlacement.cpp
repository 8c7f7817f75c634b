#include "app/simulator/SimulatorPlacement.h"

#include <cstdio>

#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationValues.h"

namespace {

const char* FamilyKey(AnalyzerFamily family)
{
    switch (family) {
    case AnalyzerFamily::NF5060: return "5060";
    case AnalyzerFamily::A1960: return "1960";
    case AnalyzerFamily::S1800: return "1800";
    case AnalyzerFamily::A2600: break;
    }
    return "2600";
}

}  // namespace

std::vector<std::string> SimulatorPlacementItems(const ApplicationValues& values)
{
    const AnalyzerTypeInfo* type = FindAnalyzerType(values.analyzerType);
    const AnalyzerFamily family = type ? type->family : AnalyzerFamily::A2600;
    char model[16];
    std::snprintf(model, sizeof model, "%x", static_cast<unsigned>(values.modelCode));
    // USB (index 4) has no board; the simulator's USB resource does not need one.
    const int board = values.interfaceIndex >= 0 && values.interfaceIndex <= 3 ? values.interfaceIndex : 0;
    return {std::string("family=") + FamilyKey(family), "board=" + std::to_string(board),
            "address=" + std::to_string(values.gpibAddressAnalyzer), std::string("model=") + model,
            "serial=" + std::to_string(values.serialNumber)};
}
