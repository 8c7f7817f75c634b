#pragma once
// The Measurement page's logic (RLCDialogTabMeasurement without its widgets): calibration with
// an open- and a closed-circuit sweep, the component sweep with the fixture's parasitics
// removed, calibration files, channel pairs, input range and frequency validation. Prompts go
// through the Prompter; sweeps through MeasurementAnalyzer, whose end calls OnSweepComplete.
#include <string>

#include "rlc/workflow/AnalyzerLimits.h"
#include "rlc/workflow/MeasurementAnalyzer.h"

class Prompter;

// Calibration roles of data sets.
enum CalibrationRole : int {
    ROLE_ORDINARY = 0,
    ROLE_OPEN_CIRCUIT = 1,
    ROLE_CLOSED_CIRCUIT = 2,
    ROLE_WITH_PARASITICS = 3,
    ROLE_INTERMEDIATE = 4,
    ROLE_WITHOUT_PARASITICS = 5,
};

// What the page knows of the analyzer in use.
struct MeasurementSetup {
    int analyzerType = RLC2600;
    int channelCount = 2;
    FrequencyLimits limits{0.01, 4e7};
};

// The outcome of a frequency validation for the fields and the status bar.
struct FrequencyCheck {
    std::string status;  // status-bar text ("" clears it)
    bool beep = false;
    double startShown = 0;
    double stopShown = 0;
    bool rangeSet = false;  // SetSweepRange was called
};

class MeasurementWorkflow : public SweepListener {
public:
    MeasurementWorkflow(const MeasurementSetup& setup, MeasurementAnalyzer& analyzer,
                        MeasurementWorkspace& workspace, Prompter& prompter);
    MeasurementWorkflow(const MeasurementWorkflow&) = delete;
    MeasurementWorkflow& operator=(const MeasurementWorkflow&) = delete;

    // Page start: calibration reset, frequency validation, the channel pair of the default
    // nodes (1/2 with two channels), "< 10 V", and the pair applied. Returns the validation.
    FrequencyCheck StartPage(double startField, double stopField, bool singlePoint);

    // True while m_openIndex names a role-1 and m_closedIndex a role-2 set of the active document.
    bool IsCalibrated();
    // Deletes this calibration's sets (found by role at their indexes) and disables the buttons.
    void ResetCalibration();

    void OnCalibrate();
    void OnTestComponent();
    void OnSweepComplete(int code) override;

    // Applies a "Channel Select:" choice and returns the pair in force.
    int ApplyChannelPair(int pair);
    // Forwards m_inputRange ("< 10 V", "< 100 V", "< 500 V") to a 2600-series dialog.
    void ApplyInputRange();

    bool SaveCalibration();
    bool LoadCalibration();

    FrequencyCheck ValidateFrequencies(double startField, double stopField, bool singlePoint);

    // The page's state, named as the page names it.
    int m_measuredIndex = -1;
    int m_openIndex = -1;
    int m_closedIndex = -1;
    int m_calibrationStep = 0;
    bool m_calibrating = false;
    bool m_measuring = false;
    bool m_calibrationLoaded = false;
    double m_savedMaxAcVolts = 0;
    double m_startFrequency = 1;
    double m_stopFrequency = 1000;
    double m_acVoltage = 1;  // the "A/C voltage out:" field
    int m_channelPair = 0;   // "Channel Select:" position
    int m_inputRange = 0;    // "Peak Voltage Select:" position

    // Control states.
    bool m_testComponentEnabled = false;
    bool m_saveCalibrationEnabled = false;
    bool m_peakVoltageEnabled = true;

private:
    void StartSweep();
    bool IsNewSweepSet(CTalDocument& document, int index) const;
    void DeleteSet(CTalDocument& document, int& index);
    void CompleteOpenCircuit(CTalDocument& document, int index);
    void CompleteClosedCircuit(CTalDocument& document, int index);
    void CompleteMeasurement(CTalDocument& document, int index);
    void EnableCalibratedButtons(bool enabled);
    void Error(const char* text);

    MeasurementSetup m_setup;
    MeasurementAnalyzer& m_analyzer;
    MeasurementWorkspace& m_workspace;
    Prompter& m_prompter;
    // The document a running sweep writes into and the first number its set can carry.
    const CTalDocument* m_sweepDocument = nullptr;
    int m_sweepFirstNumber = 0;
};
