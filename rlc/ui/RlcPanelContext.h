#pragma once
// What the RLC control panel is given by the application that creates it: the program-wide
// values and the settings store, the analyzer dialog of the current type, and the windows it
// works with (the active display, documents, the main window's status bar). Functions left
// empty answer "none" or do nothing.
#include <functional>
#include <string>

#include "rlc/ui/RlcPanelHost.h"

class AnalyzerDialog;
class CTalDocument;
class CTalView;
class QWidget;

struct RlcPanelContext {
    RlcProgramValues values;
    RlcSettingsSection& store;            // "RLC Settings"
    QWidget* owner = nullptr;             // the main window
    AnalyzerDialog* analyzer = nullptr;   // the current type's analyzer dialog (not owned)
    std::function<CTalView*()> activeDisplay;
    // Closes every window of the document without the save question.
    std::function<void(CTalDocument*)> closeDocument;
    // A new empty document in an impedance display, which becomes the active one.
    std::function<CTalView*()> openImpedanceDocument;
    // Shows or hides the 2600-series analyzer dialog's window.
    std::function<void(bool visible)> showAnalyzerDialog;
    // The main window's status-bar message ("" clears it).
    std::function<void(const std::string&)> statusMessage;
};
