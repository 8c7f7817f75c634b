#pragma once
// The RLC control panel's measurement without a window, over an opened engine of any family:
// the Measurement page's start with its default values, the calibration (measured with the
// simulated user switching the fixture, or loaded from a file), the component sweep with the
// fixture's parasitics removed, and the fit and model plot of a circuit kind. The same
// workflow, adapters and sweep target as the panel; the event loop runs while sweeps do.
#include <optional>
#include <string>

#include "rlc/adapters/EngineMeasurementAnalyzer.h"
#include "rlc/adapters/HeadlessWorkspace.h"
#include "rlc/adapters/SimulatedOperator.h"
#include "rlc/model/ModelPage.h"
#include "rlc/workflow/MeasurementWorkflow.h"

class AnalyzerDialog;
class BasicAnalyzerHost;

struct HeadlessMeasurementSetup {
    int analyzerType = RLC2600;
    double start = 10;  // Hz
    double stop = 1e5;
    double stepsPerDecade = 10;
    double acVolts = 1.0;
    double referenceResistor = 100;  // the simulator's "rref"
    std::string calibrationFile;     // loaded with loadCalibration, else saved there unless empty
    bool loadCalibration = false;
    std::optional<int> kind;         // fitted and plotted when given
};

class HeadlessMeasurement {
public:
    enum class Outcome { Done, BadFrequencies, CalibrationFailed, CalibrationFileFailed, MeasurementFailed };

    // A 2600-series engine has passed InitDialogStage2 (the other families connect at their first
    // measurement); the host's active display follows the workspace.
    HeadlessMeasurement(AnalyzerDialog& engine, BasicAnalyzerHost& host, SimulatedOperator& user,
                        const HeadlessMeasurementSetup& setup);
    HeadlessMeasurement(const HeadlessMeasurement&) = delete;
    HeadlessMeasurement& operator=(const HeadlessMeasurement&) = delete;

    Outcome Run();
    // The frequency check's status text after BadFrequencies.
    const std::string& FrequencyStatus() const { return m_frequencyStatus; }
    // The measurement's document (the active one), and the Model page with the fit.
    CTalDocument* Document() { return m_workspace.ActiveDocument(); }
    const ModelPage& Model() const { return m_model; }
    MeasurementWorkflow& Workflow() { return m_workflow; }

private:
    // Runs the event loop until done() holds; false when the analyzer stays quiet too long.
    bool WaitFor(const std::function<bool()>& done);

    AnalyzerDialog& m_engine;
    SimulatedOperator& m_user;
    HeadlessMeasurementSetup m_setup;
    EngineMeasurementAnalyzer m_analyzer;
    HeadlessWorkspace m_workspace;
    MeasurementWorkflow m_workflow;
    ModelPage m_model;
    std::string m_frequencyStatus;
};
