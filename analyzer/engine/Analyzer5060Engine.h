#pragma once
// The NF 5060 / 5060A analyzer engine: everything the "880a/880b Analyzer Control Menu" does,
// without a window, over GPIB. Three input channels, the analyzer's own command language and
// status byte, integration by time, by cycles or automatic. As with the 1960, every setting of a
// measurement travels in one command text and the connection is made by the first measurement or
// by switching the DC output on.

#include <string>
#include <string_view>

#include "analyzer/engine/AnalyzerEngine.h"
#include "analyzer/engine/KeyAndSpinHandlers.h"
#include "analyzer/family5060/Settings.h"

// The NF 5060 dialog's integration controls, beyond the measurement buttons.
struct Analyzer5060Controls : MeasurementControls {
    bool secondsFieldsEnabled = true;    // "Time": the two seconds fields
    bool cyclesFieldsEnabled = false;    // "Cycles": the two cycles fields
    bool automaticListsEnabled = false;  // "Automatic": channel and mode lists
};

class Analyzer5060Engine final : public AnalyzerEngine<analyzer::family5060::Settings, Analyzer5060Controls>,
                                 public KeyAndSpinHandlers<Analyzer5060Engine> {
    Q_OBJECT
    friend class KeyAndSpinHandlers<Analyzer5060Engine>;

public:
    // Window creation: defaults, empty log; the analyzer is not contacted. The host must outlive it.
    explicit Analyzer5060Engine(AnalyzerHost& host, QObject* parent = nullptr);
    ~Analyzer5060Engine() override;
    Analyzer5060Engine(const Analyzer5060Engine&) = delete;
    Analyzer5060Engine& operator=(const Analyzer5060Engine&) = delete;

    // --- Buttons (Run Sweep, Take Data and DC: AnalyzerEngine) ------------------------------------
    // Stops what runs; acquisition ended to the active display, or the dump stored and hidden.
    void OnClose();

    // --- Fields -----------------------------------------------------------------------------------
    void SetStartFrequency(double hertz);
    void SetStopFrequency(double hertz);
    void SetStepsPerDecade(double steps);
    void SetFrequencyStep(double hertz);
    void SetAcVoltsOutField(double volts) override;
    void SetMaxAcVoltsOutField(double volts);
    void SetDcVoltsOut(double volts);
    void SetIntegrationMode(analyzer::family5060::IntegrationMode mode);
    void SetIntegrationTime(double seconds);
    void SetDelayTime(double seconds);
    void SetIntegrationCycles(double cycles);
    void SetDelayCycles(double cycles);
    void SelectWaveform(std::string_view entry);
    void SelectAutomaticChannel(std::string_view entry);  // "1", "2", "3"
    void SelectAutomaticMode(std::string_view entry);     // "Short", "Long"
    void SelectServoChannel(std::string_view entry);
    void SelectChannelRatio(std::string_view entry);

    // Keys and spin buttons: KeyAndSpinHandlers.

    // --- What the dialog shows (the rest: AnalyzerEngine) -------------------------------------------
    const char* Title() const;

    void DumpParameters(std::string& target) const override;
    void ApplyPreferences(const std::string& text);

    std::string AcquisitionLine() const override;

    // The service request (WM_USER+20).
    void OnMsg5060Sweep();

private:
    // AnalyzerEngine
    const analyzer::FamilyTexts& Family() const override;
    int ListedChannels() const override { return 3; }
    double SecondsPerPoint() const override;
    bool ConnectForDcOutput() override { return m_initialized || InitializeAnalyzer(); }
    void WriteDcOutputOn() override;
    void DropQueuedCommands() override { m_queue.clear(); }
    void CloseConnection() override;

    // Sweep and connection (Analyzer5060Sweep.cpp)
    bool InitializeAnalyzer();
    void StartAnalyzer() override;
    bool WriteQueue(const char* operation);
    void StopAnalyzer() override;
    void ShutDownAnalyzerOnError() override;

    // Errors (Analyzer5060Engine.cpp)
    void On5060Error(const std::string& context, int statusByte);

    // Settings (Analyzer5060Settings.cpp)
    void QueueIfMeasuring(const std::string& command);

    std::string m_queue;
};
