#pragma once
// The 1960 analyzer engine: everything the "1960 Analyzer Control Menu" does, without a window, over
// GPIB. It owns the connection, the field values, the command text that collects every setting of a
// measurement (one write each), the communication log and the sweep state. The connection is made
// lazily, by the first measurement or by switching the DC output on.
//
// The 1800-series engine (Analyzer1852Engine) derives from it: the protected hooks below are the
// points where that family differs (texts, coupling and input lists, bandwidths, output ceilings).

#include <QPointer>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyzer/engine/AnalyzerConnection.h"
#include "analyzer/engine/AnalyzerDialog.h"
#include "analyzer/engine/KeyAndSpinHandlers.h"
#include "analyzer/engine/MeasurementButtons.h"
#include "analyzer/family1960/Settings.h"
#include "analyzer/family1960/Texts.h"
#include "analyzer/sweep/CommLog.h"
#include "analyzer/sweep/FrequencyStepping.h"
#include "analyzer/sweep/SweepState.h"
#include "analyzer/target/SweepSource.h"
#include "analyzer/target/SweepTarget.h"

class AnalyzerHost;
class ServiceRequestRelay;

class Analyzer1960Engine : public AnalyzerDialog,
                           public SweepSource,
                           public KeyAndSpinHandlers<Analyzer1960Engine>,
                           public MeasurementButtons<Analyzer1960Engine> {
    Q_OBJECT
    friend class KeyAndSpinHandlers<Analyzer1960Engine>;
    friend class MeasurementButtons<Analyzer1960Engine>;

public:
    struct Controls {
        std::string runSweepText = "Run &Sweep";
        std::string takeDataText = "&Take Data at Start Freq";
        bool takeDataEnabled = true;
        std::string dcText = "Turn On DC Voltage";
        bool dcEnabled = true;
        bool speedListEnabled = true;   // the integration-time radio enables the list...
        bool cyclesFieldEnabled = false; // ...and disables the cycles field
    };

    // Window creation: defaults, empty log. The analyzer is not contacted. The host is not owned
    // and must outlive the engine.
    explicit Analyzer1960Engine(AnalyzerHost& host, QObject* parent = nullptr);
    ~Analyzer1960Engine() override;
    Analyzer1960Engine(const Analyzer1960Engine&) = delete;
    Analyzer1960Engine& operator=(const Analyzer1960Engine&) = delete;

    // --- Buttons (Run Sweep and Take Data: MeasurementButtons) ------------------------------------
    void OnCheckDc();
    // "&Close" and the title-bar close: stops what runs, then acquisition ended to the active
    // display or the dump stored and the window gone (the family says how).
    void OnClose();

    // --- Fields: the value committed when the field is left (before clamping) ---------------------
    void SetStartFrequency(double hertz);
    void SetStopFrequency(double hertz);
    void SetLogSweep(bool logarithmic);
    void SetStepsPerDecade(double steps);
    void SetFrequencyStep(double hertz);
    void SetAcVoltsOutField(double volts);
    void SetMaxAcVoltsOutField(double volts);
    void SetDcVoltsOut(double volts);
    void SetIntegrationByTime(bool byTime);
    void SetCycles(double cycles);
    void SetDelay(double seconds);
    void SetServoOn(bool on);
    void SetServoAcVoltsIn(double volts);
    void SetServoStepDb(double decibels);
    void SetMaxChangeGain(bool on, double decibels);
    void SetMaxChangePhase(bool on, double degrees);
    // List selections by entry text; an entry the list does not hold shows an error-parsing box.
    void SelectWaveform(std::string_view entry);
    virtual void SelectCoupling(std::string_view entry);
    void SelectSpeed(std::string_view entry);
    void SelectServoChannel(std::string_view entry);
    void SelectChannelRatio(std::string_view entry);

    // Keys and spin buttons: KeyAndSpinHandlers.

    // --- What the dialog shows ----------------------------------------------------------------------
    const analyzer::family1960::Settings& Fields() const { return m_fields; }
    double ShownStepsPerDecade() const { return IsMeasuring() ? m_sweep.stepsPerDecade : m_fields.stepsPerDecade; }
    double ShownFrequencyStep() const { return IsMeasuring() ? m_sweep.step : m_fields.frequencyStep; }
    const Controls& ControlState() const { return m_controls; }
    const analyzer::CommLog& Log() const { return m_log; }
    const analyzer::FrequencyLimits& Limits() const { return m_limits; }
    std::vector<std::string> ChannelRatioEntries() const;
    std::vector<std::string> ServoChannelEntries() const;
    std::string ChannelRatioText() const;
    std::string ServoChannelText() const;
    virtual std::string CouplingText() const;
    const analyzer::Reading& ShownReading() const { return m_shown; }
    double ShownFrequency() const { return m_shownFrequency; }
    std::string GainText() const;
    std::string PhaseText() const;
    const char* Title() const { return Texts().title; }

    bool IsSweeping() const { return m_sweeping; }
    bool InStartFrequencyMode() const { return m_startFrequencyMode; }
    bool IsMeasuring() const { return m_sweeping || m_startFrequencyMode; }
    bool DcOutputOn() const { return m_dcOn; }
    bool Initialized() const { return m_initialized; }
    bool BusErrorFlag() const { return m_busError; }
    bool AnalyzerErrorFlag() const { return m_analyzerError; }
    const AnalyzerConnection& Connection() const { return m_bus; }
    SweepTarget* TargetDisplay() const { return m_target; }

    // --- The parameter dump and the preference block ------------------------------------------------
    virtual void DumpParameters(std::string& target) const;
    virtual void ApplyPreferences(const std::string& text);

    // --- SweepSource --------------------------------------------------------------------------------
    const analyzer::Reading& CurrentReading() const override { return m_sweep.reading; }
    analyzer::ChannelPair ChannelChoice() const override;
    std::string AcquisitionLine() const override;
    void StoreParametersAndHide() override;
    QObject* SourceObject() override { return this; }

    // --- The service request (the family's +0 message), with both parameters 0 ---------------------
    void OnMsgSweep();

signals:
    void FieldsChanged();
    void ControlsChanged();
    void ReadingShown();
    void CommLogAppended(const std::string& text, bool replaced);
    void HideRequested();
    void DestroyRequested();

protected:
    // --- What the 1800 series does differently -------------------------------------------------------
    virtual const analyzer::family1960::DialogTexts& Texts() const;
    virtual double AcVoltsMinimum() const { return 0.01; }
    virtual double FrequencyStepMinimum() const { return 1e-4; }
    // The Max AC Volts Out ceiling of the hardware at the current frequency.
    virtual double HardwareCeiling() const { return 10.0; }
    // Max AC Volts Out was set by its rule: the 1800 series keeps it as its band's ceiling.
    virtual void MaxAcVoltsOutChanged() {}
    // The start's settings between the frequency limits and "OUTPUT,ON;*SRE,1;".
    virtual void QueueStartSettings();
    // The bandwidth command for frequency when it differs from the one sent last.
    virtual void QueueBandFor(double frequency);
    // The settings of the next point before its measure command.
    virtual void QueueNextPointSettings(double frequency) { QueueBandFor(frequency); }
    // The frequency limits were applied: the start frequency is the current one.
    virtual void FrequencyLimitsApplied() {}
    // Closing with no active display.
    virtual void CloseWithoutDisplay();
    // Closing takes the descriptor offline (the 1960) or keeps it open (the 1800 series).
    virtual bool CloseTakesDeviceOffline() const { return true; }

    // --- Shared with the 1800 series -----------------------------------------------------------------
    void QueueIfMeasuring(const std::string& command);
    void ApplyFrequencyLimits();
    void QueueIntegration();
    void ShowMessage(const std::string& text, const char* caption);
    void EmitFieldsChanged() { emit FieldsChanged(); }
    void LogText(std::string_view text);

    AnalyzerHost& m_host;
    analyzer::family1960::Settings m_fields;
    analyzer::FrequencyLimits m_limits;
    analyzer::SweepState m_sweep;
    std::string m_queue;
    double m_amplitudeInEffect = 1.0;
    double m_previousDc = 0.0;
    bool m_holdAmplitude = false;
    int m_bandSent = 0;  // the bandwidth last queued; 0 none yet

private:
    // Connection (Analyzer1960Connection.cpp)
    bool InitializeAnalyzer();
    bool OpenDevice(int address);
    bool ChangeAddress();
    bool WriteModeCommand();
    void CloseConnection();

    // Sweep (Analyzer1960Sweep.cpp)
    void StartAnalyzer();
    bool WriteQueue(const char* operation);
    void StopAnalyzer();
    void ShutDownAnalyzerOnError();
    void PostSweepFinished();
    void PostStartFrequencyStop();
    void PostStopOfMeasurement();
    void ShowAcceptedReading();

    // Errors (Analyzer1960Errors.cpp)
    void OnGpibError(const std::string& context);
    void OnStatusError(const std::string& context, int statusByte);
    std::string Context(const char* operation, const char* what) const;

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

    bool WriteAtOnce(const std::string& command, const char* operation);
    void ReplaceLog(std::string_view text);

    ServiceRequestRelay* m_relay;  // lives until the process ends
    analyzer::CommLog m_log;
    AnalyzerConnection m_bus;
    Controls m_controls;
    analyzer::Reading m_shown;
    double m_shownFrequency = 0.0;
    double m_commandedFrequency = 0.0;
    double m_acceptedStepOrigin = 0.0;

    QPointer<SweepTarget> m_target;
    bool m_sweeping = false;
    bool m_startFrequencyMode = false;
    bool m_busError = false;
    bool m_analyzerError = false;
    bool m_initialized = false;
    bool m_deviceOpen = false;
    bool m_addressChangePending = false;
    bool m_dcOn = false;
    bool m_stopping = false;
};
