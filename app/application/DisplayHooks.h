#pragma once
// The displays' requests that the application answers: a further display window on a document
// (the math dialog's transfer-function window) and the page setup that printing reads.
#include <functional>

#include "data/DocumentView.h"

class CDocManager;
class CDocTemplate;
struct PageSetup;

// Installs both answers; the manager, the templates and the page setup outlive the installation.
void InstallDisplayHooks(CDocManager& docs, std::function<CDocTemplate*(DisplayKind)> extraTemplate,
                         const PageSetup& page);
void RemoveDisplayHooks();
