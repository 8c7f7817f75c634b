#include "rlc/adapters/HeadlessEngine.h"

#include "analyzer/engine/Analyzer1852Engine.h"
#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "rlc/workflow/AnalyzerLimits.h"

std::unique_ptr<AnalyzerDialog> OpenHeadlessEngine(int analyzerType, AnalyzerHost& host)
{
    switch (analyzerType) {
    case RLC880:
        return std::make_unique<Analyzer5060Engine>(host);
    case RLC1960:
        return std::make_unique<Analyzer1960Engine>(host);
    case RLC1842:
    case RLC1852:
    case RLC1862:
        return std::make_unique<Analyzer1852Engine>(host);
    default:
        break;
    }
    auto engine = std::make_unique<Analyzer2600Engine>(host);
    if (!engine->InitDialogStage2(""))
        return nullptr;
    return engine;
}

int FixedModelCode(int analyzerType)
{
    switch (analyzerType) {
    case RLC880: return 0x880;
    case RLC1960: return 0x1960;
    case RLC1842: return 0x1842;
    case RLC1852: return 0x1852;
    case RLC1862: return 0x1862;
    case RLC1370: return 0x1370;
    default: return 0;
    }
}

const char* SimulatorFamily(int analyzerType)
{
    switch (analyzerType) {
    case RLC880: return "5060";
    case RLC1960: return "1960";
    case RLC1842:
    case RLC1852:
    case RLC1862: return "1800";
    default: return "2600";
    }
}

int StartChannelCount(int analyzerType)
{
    switch (analyzerType) {
    case RLC2600: return 0;
    case RLC880: return 3;
    default: return 2;
    }
}
