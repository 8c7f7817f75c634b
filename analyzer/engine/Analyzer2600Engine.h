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

#include <optional>
#include <string>
#include <string_view>

#include "analyzer/engine/AnalyzerEngine.h"
#include "analyzer/engine/KeyAndSpinHandlers.h"
#include "analyzer/family2600/Capabilities.h"
#include "analyzer/family2600/Settings.h"
#include "analyzer/sweep/CommandQueue.h"

class SweepStepObserver;

// The 2600 dialog's controls that depend on the engine's state, beyond the measurement buttons.
struct Analyzer2600Controls : MeasurementControls {
    bool outputWarningShown = false;  // "Output 5 Vpk max!", the output labels drawn red
    bool inputWarningShown = false;   // "Input 15 Vpk max!", the input labels drawn red
    bool channel3Enabled = false;     // CH3 and CH4 read-outs
    bool channel4Enabled = false;
    bool optionListEnabled = false;
    bool impedanceListsEnabled = true;  // output and input impedance
    bool waveformListEnabled = true;
};

class Analyzer2600Engine final : public AnalyzerEngine<analyzer::family2600::Settings, Analyzer2600Controls>,
                                 public KeyAndSpinHandlers<Analyzer2600Engine> {
    Q_OBJECT
    friend class KeyAndSpinHandlers<Analyzer2600Engine>;

public:
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

    // --- Buttons (Run Sweep, Take Data and DC: AnalyzerEngine) ------------------------------------
    void OnBnClickedVersionInfo();

    // --- Fields: the value committed when the field is left (before clamping) ---------------------
    void SetStartFrequency(double hertz);
    void SetStopFrequency(double hertz);
    void SetStepsPerDecade(double steps);
    void SetFrequencyStep(double hertz);
    void SetAcVoltsOutField(double volts) override;
    void SetMaxAcVoltsOutField(double volts);
    void SetDcVoltsOut(double volts);
    void SetIntegrationByTime(bool byTime);
    void SetIntegrationTime(double seconds);
    void SetDelayTime(double seconds);
    void SetCycles(double cycles);
    void SetDelayCycles(double cycles);
    // List selections by entry text; an entry the list does not hold shows an error-parsing box.
    void SelectWaveform(std::string_view entry);
    void SelectOutputImpedance(std::string_view entry);
    void SelectInputImpedance(std::string_view entry);
    void SelectIntegrationOption(std::string_view entry);
    void SelectInputRange(std::string_view entry);
    void SelectServoChannel(std::string_view entry);
    void SelectChannelRatio(std::string_view entry);

    // Keys and spin buttons: KeyAndSpinHandlers.

    // --- What the dialog shows (the rest: AnalyzerEngine) -------------------------------------------
    const analyzer::family2600::Capabilities& Caps() const { return m_caps; }
    int ChannelCount() const { return m_caps.channelCount; }
    bool BoardPrepared() const { return m_boardPrepared; }
    int FirmwareCode() const { return m_firmwareCode; }

    // --- The parameter dump and the preference block ------------------------------------------------
    void DumpParameters(std::string& target) const override;
    void ApplyPreferences(const std::string& text);

    std::string AcquisitionLine() const override;

    // The benchmark's and soak run's probe (not owned; null to remove).
    void SetStepObserver(SweepStepObserver* observer);

    // --- Handlers of the family's messages ----------------------------------------------------------
    // Service request (WM_USER+110): statusByte from the USB handler, 0 from GPIB.
    void OnMsg2600Sweep(int statusByte);

private:
    // AnalyzerEngine
    const analyzer::FamilyTexts& Family() const override;
    int ListedChannels() const override { return m_caps.channelCount; }
    double SecondsPerPoint() const override;
    bool ConnectForDcOutput() override;
    void WriteDcOutputOn() override;
    void DropQueuedCommands() override { m_queue.Clear(); }
    void CloseConnection() override;
    void MarkDcButtonMeasuring(bool sweep) override;
    bool DcButtonAllowed() const override;
    void ReadingDelivered() override;

    // Connection (Analyzer2600Connection.cpp)
    void PrepareBoard();
    bool InitializeAnalyzer(bool showErrors);
    bool OpenGpibDevice(bool showErrors);
    bool OpenUsbSession();
    bool ClearDevice();
    bool IdentifyAnalyzer();
    bool QueryCapabilities();
    void ReadMessages(int statusByte);
    // Reads and logs the messages the analyzer queued while the message bit stays set; false after
    // a bus failure (reported).
    bool TakeMessages(int& statusByte);
    void CloseAsDialog();

    // Sweep (Analyzer2600Sweep.cpp)
    void StartAnalyzer() override;
    void ReadData(int statusByte);
    std::optional<std::string> ReadReply(int& statusByte, bool& failed);
    void SendNextMeasurement(double stepOrigin);
    void StopAnalyzer() override;
    void ShutDownAnalyzerOnError() override;

    // Errors (Analyzer2600Errors.cpp)
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
    void FillChannelLists();
    void QueueIfMeasuring(const std::string& command);
    // Queues a command that must go out (a measure, read or start command), writing the queue
    // first when edits during the measurement have filled it; false when that write failed.
    bool QueueWritingFirst(const std::string& command);
    void QueueSettingOnce(unsigned settingBit, const std::string& command);

    bool SendQueue();

    SweepStepObserver* m_observer = nullptr;
    analyzer::family2600::Capabilities m_caps;
    analyzer::CommandQueue m_queue;

    bool m_boardPrepared = false;
    bool m_awaitingMessages = false;  // the version query armed a service request while idle
    bool m_modePending = false;       // the mode command goes out with the next measurement
    int m_firmwareCode;
};
