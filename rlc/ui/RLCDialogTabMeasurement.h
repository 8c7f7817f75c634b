#pragma once
// RLCDialogTabMeasurement: the "Measurement" page of the RLC control panel. It shows the sweep
// and analyzer values, forwards every change to the analyzer dialog, and hands its buttons to
// MeasurementWorkflow (calibration, component test, calibration files, channel pair, input
// range); its controls follow the workflow's state. Values are read from the settings store
// when the page is created and written back when it is destroyed.
#include <QWidget>

#include "data/Prompter.h"
#include "rlc/adapters/EngineMeasurementAnalyzer.h"
#include "rlc/adapters/HookedWorkspace.h"
#include "rlc/ui/RlcPanelContext.h"
#include "rlc/workflow/MeasurementWorkflow.h"

class CEditComponent;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

class RLCDialogTabMeasurement : public QWidget {
    Q_OBJECT
public:
    RLCDialogTabMeasurement(const RlcPanelContext& context, QWidget* parent = nullptr);
    ~RLCDialogTabMeasurement() override;

    MeasurementWorkflow& Workflow() { return m_workflow; }
    EngineMeasurementAnalyzer& Analyzer() { return m_analyzer; }

    // The buttons' handlers, as pressed.
    void OnCalibrate();
    void OnTestComponent();
    void OnLoadCalibration();
    void OnSaveCalibration();

private:
    // The prompter in force when a prompt is shown (the program may replace it meanwhile).
    class CurrentPrompter final : public Prompter {
    public:
        PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                             PromptIcon icon) override;
        int ThreeButtons(const std::string& text, const std::string& caption, const std::string& b1,
                         const std::string& b2, const std::string& b3) override;
        std::optional<std::string> TextInput(const std::string& prompt, const std::string& initial) override;
        std::optional<std::string> OpenFileName(const FileRequest& request) override;
        std::optional<std::string> SaveFileName(const FileRequest& request) override;
    };

    HookedWorkspace::Hooks WorkspaceHooks();
    void BuildControls();
    void StartPage();
    void ValidateFrequencies();
    // The validation's outcome in the fields and the status bar (with a beep).
    void ShowFrequencyCheck(const FrequencyCheck& check);
    void OnIntegrationTime(int position);
    void OnAcVoltage();
    void OnDcVoltage();
    void OnInputCoupling(int position);
    void OnLimitPhaseChange(bool checked);
    void OnMaxPhaseChange();
    void OnChannelSelect(int pair);
    void OnPeakVoltageSelect(int range);
    // Buttons and lists follow the workflow's state.
    void UpdateControls();

    RlcPanelContext m_context;
    int m_analyzerType;
    CurrentPrompter m_prompter;
    EngineMeasurementAnalyzer m_analyzer;
    HookedWorkspace m_workspace;
    MeasurementWorkflow m_workflow;
    int m_storedCoupling = 1;  // kept for the analyzers whose coupling is fixed to AC

    QRadioButton* m_singlePoint;
    QRadioButton* m_sweep;
    CEditComponent* m_start;
    CEditComponent* m_stop;
    QComboBox* m_integration;
    CEditComponent* m_ac;
    CEditComponent* m_dc;
    QComboBox* m_coupling;
    QCheckBox* m_limitPhase;
    CEditComponent* m_maxPhase;
    QComboBox* m_channel;
    QLabel* m_peakLabel;
    QComboBox* m_peak;
    QPushButton* m_calibrate;
    QPushButton* m_loadCalibration;
    QPushButton* m_saveCalibration;
    QPushButton* m_testComponent;
};
