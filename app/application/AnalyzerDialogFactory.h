#pragma once
// The one place that creates the analyzer control dialogs, one family at a time.
#include <memory>
#include <string>

#include "app/application/AnalyzerControl.h"
#include "app/core/AnalyzerTypes.h"

// The family's dialog, or nullptr while this build has none for the family.
std::unique_ptr<AnalyzerControl> CreateAnalyzerDialog(AnalyzerFamily family,
                                                      const AnalyzerDialogContext& context);

// The text shown when a family's dialog is not part of this build.
std::string AnalyzerDialogNotAvailableText(AnalyzerFamily family);
