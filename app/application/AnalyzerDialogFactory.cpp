#include "app/application/AnalyzerDialogFactory.h"

#include "app/application/Analyzer2600Control.h"

std::unique_ptr<AnalyzerControl> CreateAnalyzerDialog(AnalyzerFamily family,
                                                      const AnalyzerDialogContext& context)
{
    switch (family) {
    case AnalyzerFamily::A2600:
        return std::make_unique<Analyzer2600Control>(context);
    case AnalyzerFamily::NF5060:
    case AnalyzerFamily::A1960:
    case AnalyzerFamily::S1800:
        break;
    }
    return nullptr;
}

std::string AnalyzerDialogNotAvailableText(AnalyzerFamily family)
{
    const char* name = "";
    switch (family) {
    case AnalyzerFamily::NF5060:
        name = "880 (NF 5060)";
        break;
    case AnalyzerFamily::A1960:
        name = "1960";
        break;
    case AnalyzerFamily::S1800:
        name = "1800-series";
        break;
    case AnalyzerFamily::A2600:
        name = "2600-series";
        break;
    }
    return std::string("The ") + name + " analyzer control is not available in this version.";
}
