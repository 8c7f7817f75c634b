#pragma once
// The seams of the measurement workflow: the analyzer dialog of the current type as the page
// drives it (its StartCallbackSweep reports the end of the sweep to a SweepListener), and the
// application's active display and documents.

#include <string>

class CTalDocument;

class SweepListener {
public:
    virtual ~SweepListener() = default;
    // 0 the sweep ended normally, 1 bus error, 2 analyzer error.
    virtual void OnSweepComplete(int code) = 0;
};

class MeasurementAnalyzer {
public:
    virtual ~MeasurementAnalyzer() = default;
    virtual void SetSweepRange(double start, double stop) = 0;
    virtual double GetMaxAcVoltsOut() = 0;  // 0 when the dialog has no such field
    virtual void SetAcVoltsOut(double amplitude, double ceiling) = 0;
    virtual void SetFrequencyDisplay(double frequency) = 0;
    // Settling readings at the start frequency, then a sweep into the active display; the
    // listener hears of its end.
    virtual void StartCallbackSweep(SweepListener& listener) = 0;
    // The "Chann&el Ratio:" entry of a channel pair, applied as if the user had chosen it.
    virtual void SelectChannelRatio(int pair) = 0;
    // The 2600 series' input range list entry 0, 1 or 2, applied as if chosen.
    virtual void SelectInputRange(int entry) = 0;
    // The 1800 series' "Input Type Ch. 1:" entry, selected without its command.
    virtual void SelectInputTypeChannel1(int entry) = 0;

    // The controls the panel's value fields are forwarded to (PanelForwarding.h), each applied
    // as if the user had changed it there; a dialog without the control ignores the call.
    // Integration time field [1024] (seconds as text), followed by its focus-lost command.
    virtual void SetIntegrationTimeText(const std::string& /*seconds*/) {}
    // The "Time" integration radio [1363] checked and its command handled.
    virtual void SelectIntegrationByTime() {}
    // The "&Integration Time:" list [1335] entry.
    virtual void SelectIntegrationTimeEntry(int /*entry*/) {}
    // "&AC Volts Out:" [1130] and "&DC Volts Out:" [1131], volts.
    virtual void SetAcVoltsOutField(double /*volts*/) {}
    virtual void SetDcVoltsOutField(double /*volts*/) {}
    // "Input Co&upling:" list [1336] entry (0 AC, 1 DC).
    virtual void SelectInputCoupling(int /*entry*/) {}
    // The "P&hase:" maximum-change check box [1069] (state copied, click command sent) and its
    // limit field [1072] in degrees.
    virtual void SetMaxPhaseChangeCheck(bool /*checked*/) {}
    virtual void SetMaxPhaseChangeLimit(double /*degrees*/) {}
};

class MeasurementWorkspace {
public:
    virtual ~MeasurementWorkspace() = default;
    virtual bool HasActiveDisplay() const = 0;
    // The active display's document, or nullptr.
    virtual CTalDocument* ActiveDocument() = 0;
    // Hides a data set in the active display (its ApplyDataSetProperties, visible false).
    virtual void HideDataSet(int index) = 0;
    // Closes the active display's document without a save prompt.
    virtual void CloseActiveDocument() = 0;
    // A new empty document with an impedance display, which becomes the active one.
    virtual CTalDocument* OpenImpedanceDocument() = 0;
};
