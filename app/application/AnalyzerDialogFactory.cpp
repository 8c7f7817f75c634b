#include "app/application/AnalyzerDialogFactory.h"

#include "analyzer/dialogs/Analyzer1852Dlg.h"
#include "analyzer/dialogs/Analyzer1960Dlg.h"
#include "analyzer/dialogs/Analyzer5060Dlg.h"
#include "app/application/Analyzer2600Control.h"
#include "app/application/FamilyAnalyzerControl.h"

std::unique_ptr<AnalyzerControl> CreateAnalyzerDialog(AnalyzerFamily family,
                                                      const AnalyzerDialogContext& context)
{
    switch (family) {
    case AnalyzerFamily::A2600:
        return std::make_unique<Analyzer2600Control>(context);
    case AnalyzerFamily::NF5060:
        return std::make_unique<FamilyAnalyzerControl<CAnalyzer5060Dlg>>(context);
    case AnalyzerFamily::A1960:
        return std::make_unique<FamilyAnalyzerControl<CAnalyzer1960Dlg>>(context);
    case AnalyzerFamily::S1800:
        return std::make_unique<FamilyAnalyzerControl<CAnalyzer1852Dlg>>(context);
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
