#pragma once
// The 2600-series analyzer engine: everything the "Series 2xxx-9xxx/880c Analyzer Control Menu"
// does, without a window. It owns the connection (GPIB or USB), the field values, the command
// queue, the communication log and the sweep state, and runs every step of a sweep on its own
// thread; service requests arrive from the instrument library's thread and are handed over
// synchronously. The dialog (CAnalyzer2600Dlg) shows its fields and forwards the user's edits; the
// command-line tool drives it with no window.
//
// Messages keep their order: the new-sweep and new-reading events reach the target display at
// once (sent); sweep finished, start-frequency stop and acquisition ended go through the event
// loop (posted), so they run after the step that raised them.

#include <QPointer>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyzer/engine/AnalyzerConnection.h"
#include "analyzer/engine/AnalyzerDialog.h"
#include "analyzer/engine/KeyAndSpinHandlers.h"
#include "analyzer/family2600/Capabilities.h"
#include "analyzer/family2600/Settings.h"
#include "analyzer/sweep/CommLog.h"
#include "analyzer/sweep/CommandQueue.h"
#include "analyzer/sweep/SweepState.h"
#include "analyzer/target/SweepSource.h"
#include "analyzer/target/SweepTarget.h"

class AnalyzerHost;
class ServiceRequestRelay;
class SweepStepObserver;

class Analyzer2600Engine final : public AnalyzerDialog,
                                 public SweepSource,
                                 public KeyAndSpinHandlers<Analyzer2600Engine> {
    Q_OBJECT
    friend class KeyAndSpinHandlers<Analyzer2600Engine>;

public:
    // Button texts and the enabling of the controls that depend on the engine's state.
    struct Controls {
        std::string runSweepText = "Run &Sweep";
        std::string takeDataText = "&Take Data at Start Freq";
        bool takeDataEnabled = true;
        std::string dcText = "Turn On DC Voltage";
        bool dcEnabled = true;
        bool outputWarningShown = false;  // "Output 5 Vpk max!", the output labels drawn red
        bool inputWarningShown = false;   // "Input 15 Vpk max!", the input labels drawn red
        bool channel3Enabled = false;     // CH3 and CH4 read-outs
        bool channel4Enabled = false;
        bool optionListEnabled = false;
        bool impedanceListsEnabled = true;  // output and input impedance
        bool waveformListEnabled = true;
    };

    // Window creation (OnInitDialog): defaults, voltage limits off, channel lists, and the GPIB
    // board prepared unless USB is selected. The host is not owned and must outlive the engine.
    explicit Analyzer2600Engine(AnalyzerHost& host, QObject* parent = nullptr);
    ~Analyzer2600Engine() override;
    Analyzer2600Engine(const Analyzer2600Engine&) = delete;
    Analyzer2600Engine& operator=(const Analyzer2600Engine&) = delete;

    // --- Life cycle -------------------------------------------------------------------------------
    // The application's channel count (0 until the analyzer reports it), before InitDialogStage2.
    void SetChannelCount(int count);
    // Initialization, capability query, preference block and idle commands; false on failure.
    bool InitDialogStage2(const std::string& preferenceBlock);
    // Stops what runs, resets the analyzer's outputs and inputs, closes the connection and closes
    // the dialog (acquisition ended to the active display, or the dump stored and the window gone).
    void ShutDownAnalyzer();
    // The title-bar close: acquisition ended to the active display, or the dump stored and
    // DestroyRequested. Stops nothing.
    void OnClose();

    // --- Buttons ----------------------------------------------------------------------------------
    void OnButtonRunSweep();
    void OnButtonTakeData();
    void OnCheckDc();
    void OnBnClickedVersionInfo();

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
    void SetIntegrationTime(double seconds);
    void SetDelayTime(double seconds);
    void SetCycles(double cycles);
    void SetDelayCycles(double cycles);
    void SetServoOn(bool on);
    void SetServoAcVoltsIn(double volts);
    void SetServoStepDb(double decibels);
    void SetMaxChangeGain(bool on, double decibels);
    void SetMaxChangePhase(bool on, double degrees);
    // List selections by entry text; an entry the list does not hold shows an error-parsing box.
    void SelectWaveform(std::string_view entry);
    void SelectOutputImpedance(std::string_view entry);
    void SelectInputImpedance(std::string_view entry);
    void SelectIntegrationOption(std::string_view entry);
    void SelectInputRange(std::string_view entry);
    void SelectServoChannel(std::string_view entry);
    void SelectChannelRatio(std::string_view entry);

    // Keys and spin buttons: KeyAndSpinHandlers.

    // --- What the dialog shows ----------------------------------------------------------------------
    const analyzer::family2600::Settings& Fields() const { return m_fields; }
    // Steps/Decade and Frequency Step as shown: the values in use while measuring.
    double ShownStepsPerDecade() const;
    double ShownFrequencyStep() const;
    const Controls& ControlState() const { return m_controls; }
    const analyzer::CommLog& Log() const { return m_log; }
    const analyzer::family2600::Capabilities& Caps() const { return m_caps; }
    int ChannelCount() const { return m_caps.channelCount; }
    std::vector<std::string> ChannelRatioEntries() const;
    std::vector<std::string> ServoChannelEntries() const;
    std::string ChannelRatioText() const;
    std::string ServoChannelText() const;
    // The last accepted reading, and its ratio as "%G" texts (gain in dB, phase in degrees).
    const analyzer::Reading& ShownReading() const { return m_shown; }
    double ShownFrequency() const { return m_shownFrequency; }
    std::string GainText() const;
    std::string PhaseText() const;

    bool IsSweeping() const { return m_sweeping; }
    bool InStartFrequencyMode() const { return m_startFrequencyMode; }
    bool IsMeasuring() const { return m_sweeping || m_startFrequencyMode; }
    bool DcOutputOn() const { return m_dcOn; }
    bool Initialized() const { return m_initialized; }
    bool BusErrorFlag() const { return m_busError; }
    bool AnalyzerErrorFlag() const { return m_analyzerError; }
    bool BoardPrepared() const { return m_boardPrepared; }
    int FirmwareCode() const { return m_firmwareCode; }
    const AnalyzerConnection& Connection() const { return m_bus; }
    SweepTarget* TargetDisplay() const { return m_target; }

    // --- The parameter dump and the preference block ------------------------------------------------
    void DumpParameters(std::string& target) const;
    void ApplyPreferences(const std::string& text);

    // --- SweepSource --------------------------------------------------------------------------------
    const analyzer::Reading& CurrentReading() const override { return m_sweep.reading; }
    analyzer::ChannelPair ChannelChoice() const override;
    std::string AcquisitionLine() const override;
    void StoreParametersAndHide() override;
    QObject* SourceObject() override { return this; }

    // The benchmark's and soak run's probe (not owned; null to remove).
    void SetStepObserver(SweepStepObserver* observer);

    // --- Handlers of the family's messages ----------------------------------------------------------
    // Service request (WM_USER+110): statusByte from the USB handler, 0 from GPIB.
    void OnMsg2600Sweep(int statusByte);

signals:
    void FieldsChanged();
    void ControlsChanged();
    void ReadingShown();
    // Text appended to the communication log (or, with replaced, the log's new text).
    void CommLogAppended(const std::string& text, bool replaced);
    void HideRequested();
    void DestroyRequested();

protected:
    // AnalyzerDialog
    void ShowSweepRange(double start, double stop) override;
    double MaxAcVoltsOutField() const override { return m_fields.maxAcVoltsOut; }
    void ShowAcVoltsOut(double amplitude, double ceiling) override;
    void ShowFrequency(double frequency) override;
    void PressRunSweep() override { OnButtonRunSweep(); }
    void PressTakeData() override { OnButtonTakeData(); }
    bool Sweeping() const override { return m_sweeping; }
    int CompletionCode() const override;
    void ClearErrorFlags() override;

private:
    // Connection (Analyzer2600Connection.cpp)
    void PrepareBoard();
    bool InitializeAnalyzer(bool showErrors);
    bool OpenGpibDevice(bool showErrors);
    bool OpenUsbSession();
    bool ClearDevice();
    bool IdentifyAnalyzer();
    bool QueryCapabilities();
    void ReadMessages(int statusByte);
    void CloseConnection();
    void CloseAsDialog();

    // Sweep (Analyzer2600Sweep.cpp)
    void StartAnalyzer();
    void ReadData(int statusByte);
    std::optional<std::string> ReadReply(int& statusByte, bool& failed);
    void SendNextMeasurement(double stepOrigin);
    void StopAnalyzer();
    void ShutDownAnalyzerOnError();
    void StopSweep();
    void StopStartFrequencyMode();
    void SwitchDcOff();
    void OnMsgSweepFinished();
    void OnMsgStartFrequencyStop();
    void PostSweepFinished();
    void PostStartFrequencyStop();
    void PostStopOfMeasurement();
    void RestoreDcButton();
    void ShowAcceptedReading();

    // Errors (Analyzer2600Errors.cpp)
    void OnGpibError(const std::string& context);
    void On2600Error(const std::string& context, int statusByte);

    // Settings handlers (Analyzer2600Settings.cpp)
    // The amplitude limits at frequency (Hz; 0 for none); true when AC Volts Out changed.
    bool ApplyAcVoltsOut(double volts, double frequency);
    void ApplyMaxAcVoltsOut(double volts, double frequency);
    void QueueAmplitude();
    void ApplyWaveform();
    void ApplyOutputImpedance();
    void ApplyInputImpedance();
    void ApplyIntegration();
    void ApplyFrequencyLimits();
    void FillChannelLists();
    void QueueIfMeasuring(const std::string& command);
    void QueueSettingOnce(unsigned settingBit, const std::string& command);

    // Communication and messages
    void Log(std::string_view text);
    void ReplaceLog(std::string_view text);
    bool WriteAtOnce(const std::string& command, const char* operation);
    bool SendQueue();
    void ShowMessage(const std::string& text, const char* caption);
    void EmitFieldsChanged() { emit FieldsChanged(); }
    void EmitControlsChanged() { emit ControlsChanged(); }

    AnalyzerHost& m_host;
    ServiceRequestRelay* m_relay;  // lives until the process ends
    SweepStepObserver* m_observer = nullptr;

    analyzer::family2600::Settings m_fields;
    analyzer::family2600::Capabilities m_caps;
    analyzer::FrequencyLimits m_limits;
    analyzer::SweepState m_sweep;
    analyzer::CommLog m_log;
    analyzer::CommandQueue m_queue;
    AnalyzerConnection m_bus;
    Controls m_controls;

    analyzer::Reading m_shown;   // the last accepted reading, as the read-outs show it
    double m_shownFrequency = 0.0;
    double m_amplitudeInEffect = 1.0;
    // The next point is one step from the frequency last commanded, not from its four-digit echo
    // in the reply, so rounding does not add up over a sweep (0: from the start frequency).
    double m_commandedFrequency = 0.0;
    double m_acceptedStepOrigin = 0.0;

    QPointer<SweepTarget> m_target;
    bool m_sweeping = false;
    bool m_startFrequencyMode = false;
    bool m_busError = false;
    bool m_analyzerError = false;
    bool m_initialized = false;
    bool m_addressChangePending = false;
    bool m_dcOn = false;
    bool m_boardPrepared = false;
    bool m_awaitingMessages = false;  // the version query armed a service request while idle
    bool m_stopping = false;          // a stop is under way: errors report but stop nothing more
    int m_firmwareCode;
};
