#pragma once
// What the application asks of one family's analyzer control dialog. The family dialogs
// (analyzer/dialogs/) implement it; AnalyzerDialogFactory.cpp is the one place that creates them.
#include <functional>
#include <string>

#include "app/core/AnalyzerTypes.h"

class AnalyzerDialog;
class ApplicationValues;
class QWidget;

// What a family dialog is given when it is created.
struct AnalyzerDialogContext {
    ApplicationValues& values;
    AnalyzerFamily family;                            // whose preference block the dialog keeps
    QWidget* parent;                                  // the main window
    std::function<QWidget*()> activeDisplay;          // the display active at any later time
    std::function<void(int percent)> progress;        // the main window's progress bar, 0 to 100
    std::function<void(const std::string&)> statusMessage;  // the main window's message pane
    std::function<void(bool active, bool quiet)> setInput15Vmax;  // 2600 series
    std::function<void(bool active, bool quiet)> setOutput5Vmax;  // 2600 series
};

class AnalyzerControl {
public:
    virtual ~AnalyzerControl() = default;
    // The dialog's window; nullptr once the dialog has closed itself for good.
    virtual QWidget* Window() = 0;
    virtual bool IsSweeping() const = 0;
    // Sweeping or otherwise talking to the analyzer.
    virtual bool IsBusy() const = 0;
    // Stops a sweep or the start-frequency readings, as their buttons do.
    virtual void StopMeasurement() = 0;
    // The 2600 series learns the channel count from the analyzer; the application's is handed on.
    virtual void SetChannelCount(int count) = 0;
    // Hands the family's preference block to the dialog. False when the dialog could not start
    // from it (it has then shut the analyzer down and closed).
    virtual bool ApplyPreferenceBlock(const std::string& block) = 0;
    // Writes the dialog's parameter dump into the family's preference block (program end keeps
    // what the open dialog shows).
    virtual void StoreParameters() = 0;
    // The analyzer GPIB address was found anew by the bus search.
    virtual void OnAnalyzerAddressChanged() = 0;
    // The operations the RLC control panel drives (sweep range, fields, callback sweeps).
    virtual AnalyzerDialog* Engine() = 0;
};
