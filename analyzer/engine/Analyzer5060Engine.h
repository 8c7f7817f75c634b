#pragma once
// The NF 5060 / 5060A analyzer engine: everything the "880a/880b Analyzer Control Menu" does,
// without a window, over GPIB. Three input channels, the analyzer's own command language and
// status byte, integration by time, by cycles or automatic. As with the 1960, every setting of a
// measurement travels in one command text and the connection is made by the first measurement or
// by switching the DC output on.

#include <QPointer>

#include <string>
#include <string_view>
#include <vector>

#include "analyzer/engine/AnalyzerConnection.h"
#include "analyzer/engine/AnalyzerDialog.h"
#include "analyzer/engine/KeyAndSpinHandlers.h"
#include "analyzer/engine/MeasurementButtons.h"
#include "analyzer/family5060/Settings.h"
#include "analyzer/sweep/CommLog.h"
#include "analyzer/sweep/FrequencyStepping.h"
#include "analyzer/sweep/SweepState.h"
#include "analyzer/target/SweepSource.h"
#include "analyzer/target/SweepTarget.h"

class AnalyzerHost;
class ServiceRequestRelay;

class Analyzer5060Engine final : public AnalyzerDialog,
                                 public SweepSource,
                                 public KeyAndSpinHandlers<Analyzer5060Engine>,
                                 public MeasurementButtons<Analyzer5060Engine> {
    Q_OBJECT
    friend class KeyAndSpinHandlers<Analyzer5060Engine>;
    friend class MeasurementButtons<Analyzer5060Engine>;

public:
    struct Controls {
        std::string runSweepText = "Run &Sweep";
        std::string takeDataText = "&Take Data at Start Freq";
        bool takeDataEnabled = true;
        std::string dcText = "Turn On DC Voltage";
        bool dcEnabled = true;
        bool secondsFieldsEnabled = true;   // "Time": the two seconds fields
        bool cyclesFieldsEnabled = false;   // "Cycles": the two cycles fields
        bool automaticListsEnabled = false; // "Automatic": channel and mode lists
    };

    // Window creation: defaults, empty log; the analyzer is not contacted. The host must outlive it.
    explicit Analyzer5060Engine(AnalyzerHost& host, QObject* parent = nullptr);
    ~Analyzer5060Engine() override;
    Analyzer5060Engine(const Analyzer5060Engine&) = delete;
    Analyzer5060Engine& operator=(const Analyzer5060Engine&) = delete;

    // --- Buttons (Run Sweep and Take Data: MeasurementButtons) ------------------------------------
    void OnCheckDc();
    // Stops what runs; acquisition ended to the active display, or the dump stored and hidden.
    void OnClose();

    // --- Fields -----------------------------------------------------------------------------------
    void SetStartFrequency(double hertz);
    void SetStopFrequency(double hertz);
    void SetLogSweep(bool logarithmic);
    void SetStepsPerDecade(double steps);
    void SetFrequencyStep(double hertz);
    void SetAcVoltsOutField(double volts);
    void SetMaxAcVoltsOutField(double volts);
    void SetDcVoltsOut(double volts);
    void SetIntegrationMode(analyzer::family5060::IntegrationMode mode);
    void SetIntegrationTime(double seconds);
    void SetDelayTime(double seconds);
    void SetIntegrationCycles(double cycles);
    void SetDelayCycles(double cycles);
    void SetServoOn(bool on);
    void SetServoAcVoltsIn(double volts);
    void SetServoStepDb(double decibels);
    void SetMaxChangeGain(bool on, double decibels);
    void SetMaxChangePhase(bool on, double degrees);
    void SelectWaveform(std::string_view entry);
    void SelectAutomaticChannel(std::string_view entry);  // "1", "2", "3"
    void SelectAutomaticMode(std::string_view entry);     // "Short", "Long"
    void SelectServoChannel(std::string_view entry);
    void SelectChannelRatio(std::string_view entry);

    // Keys and spin buttons: KeyAndSpinHandlers.

    // --- What the dialog shows ----------------------------------------------------------------------
    const analyzer::family5060::Settings& Fields() const { return m_fields; }
    double ShownStepsPerDecade() const { return IsMeasuring() ? m_sweep.stepsPerDecade : m_fields.stepsPerDecade; }
    double ShownFrequencyStep() const { return IsMeasuring() ? m_sweep.step : m_fields.frequencyStep; }
    const Controls& ControlState() const { return m_controls; }
    const analyzer::CommLog& Log() const { return m_log; }
    const analyzer::FrequencyLimits& Limits() const { return m_limits; }
    std::vector<std::string> ChannelRatioEntries() const;
    std::vector<std::string> ServoChannelEntries() const;
    std::string ChannelRatioText() const;
    std::string ServoChannelText() const;
    const analyzer::Reading& ShownReading() const { return m_shown; }
    double ShownFrequency() const { return m_shownFrequency; }
    std::string GainText() const;
    std::string PhaseText() const;
    const char* Title() const;

    bool IsSweeping() const { return m_sweeping; }
    bool InStartFrequencyMode() const { return m_startFrequencyMode; }
    bool IsMeasuring() const { return m_sweeping || m_startFrequencyMode; }
    bool DcOutputOn() const { return m_dcOn; }
    bool Initialized() const { return m_initialized; }
    const AnalyzerConnection& Connection() const { return m_bus; }

    void DumpParameters(std::string& target) const;
    void ApplyPreferences(const std::string& text);

    // --- SweepSource --------------------------------------------------------------------------------
    const analyzer::Reading& CurrentReading() const override { return m_sweep.reading; }
    analyzer::ChannelPair ChannelChoice() const override;
    std::string AcquisitionLine() const override;
    void StoreParametersAndHide() override;
    QObject* SourceObject() override { return this; }

    // The service request (WM_USER+20).
    void OnMsg5060Sweep();

signals:
    void FieldsChanged();
    void ControlsChanged();
    void ReadingShown();
    void CommLogAppended(const std::string& text, bool replaced);
    void HideRequested();

private:
    // Sweep and connection (Analyzer5060Sweep.cpp)
    bool InitializeAnalyzer();
    void StartAnalyzer();
    bool WriteQueue(const char* operation);
    void StopAnalyzer();
    void ShutDownAnalyzerOnError();
    void PostStopOfMeasurement();
    void UndoWhatRuns(const char* lastBox);

    // Errors (Analyzer5060Engine.cpp)
    void OnGpibError(const std::string& context);
    void On5060Error(const std::string& context, int statusByte);

    // Settings (Analyzer5060Settings.cpp)
    void QueueIfMeasuring(const std::string& command);
    void ApplyFrequencyLimits();

    // AnalyzerDialog
    void ShowSweepRange(double start, double stop) override;
    double MaxAcVoltsOutField() const override { return m_fields.maxAcVoltsOut; }
    void ShowAcVoltsOut(double amplitude, double ceiling) override;
    void ShowFrequency(double frequency) override;
    void PressRunSweep() override { OnButtonRunSweep(); }
    void PressTakeData() override { OnButtonTakeData(); }
    bool Sweeping() const override { return m_sweeping; }
    int CompletionCode() const override { return m_busError ? 1 : (m_analyzerError ? 2 : 0); }
    void ClearErrorFlags() override;

    void LogText(std::string_view text);
    void ShowMessage(const std::string& text, const char* caption);
    bool WriteAtOnce(const std::string& command, const char* operation);
    void EmitFieldsChanged() { emit FieldsChanged(); }

    AnalyzerHost& m_host;
    ServiceRequestRelay* m_relay;  // lives until the process ends
    analyzer::family5060::Settings m_fields;
    analyzer::FrequencyLimits m_limits;
    analyzer::SweepState m_sweep;
    analyzer::CommLog m_log;
    std::string m_queue;
    AnalyzerConnection m_bus;
    Controls m_controls;
    analyzer::Reading m_shown;
    double m_shownFrequency = 0.0;
    double m_amplitudeInEffect = 1.0;
    double m_commandedFrequency = 0.0;
    double m_acceptedStepOrigin = 0.0;

    QPointer<SweepTarget> m_target;
    bool m_sweeping = false;
    bool m_startFrequencyMode = false;
    bool m_busError = false;
    bool m_analyzerError = false;
    bool m_initialized = false;
    bool m_dcOn = false;
    bool m_stopping = false;
};
