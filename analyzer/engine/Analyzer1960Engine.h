#pragma once
// The 1960 analyzer engine: everything the "1960 Analyzer Control Menu" does, without a window, over
// GPIB. It owns the connection, the field values, the command text that collects every setting of a
// measurement (one write each), the communication log and the sweep state. The connection is made
// lazily, by the first measurement or by switching the DC output on.
//
// The 1800-series engine (Analyzer1852Engine) derives from it: the protected hooks below are the
// points where that family differs (texts, coupling and input lists, bandwidths, output ceilings).

#include <string>
#include <string_view>

#include "analyzer/engine/AnalyzerEngine.h"
#include "analyzer/engine/KeyAndSpinHandlers.h"
#include "analyzer/family1960/Settings.h"
#include "analyzer/family1960/Texts.h"

// The 1960 and 1800-series dialogs' integration controls, beyond the measurement buttons.
struct Analyzer1960Controls : MeasurementControls {
    bool speedListEnabled = true;     // the integration-time radio enables the list...
    bool cyclesFieldEnabled = false;  // ...and disables the cycles field
};

class Analyzer1960Engine : public AnalyzerEngine<analyzer::family1960::Settings, Analyzer1960Controls>,
                           public KeyAndSpinHandlers<Analyzer1960Engine> {
    Q_OBJECT
    friend class KeyAndSpinHandlers<Analyzer1960Engine>;

public:
    // Window creation: defaults, empty log. The analyzer is not contacted. The host is not owned
    // and must outlive the engine.
    explicit Analyzer1960Engine(AnalyzerHost& host, QObject* parent = nullptr);
    ~Analyzer1960Engine() override;
    Analyzer1960Engine(const Analyzer1960Engine&) = delete;
    Analyzer1960Engine& operator=(const Analyzer1960Engine&) = delete;

    // --- Buttons (Run Sweep, Take Data and DC: AnalyzerEngine) ------------------------------------
    // "&Close" and the title-bar close: stops what runs, then acquisition ended to the active
    // display or the dump stored and the window gone (the family says how).
    void OnClose();

    // --- Fields: the value committed when the field is left (before clamping) ---------------------
    void SetStartFrequency(double hertz);
    void SetStopFrequency(double hertz);
    void SetStepsPerDecade(double steps);
    void SetFrequencyStep(double hertz);
    void SetAcVoltsOutField(double volts) override;
    void SetMaxAcVoltsOutField(double volts);
    void SetDcVoltsOut(double volts);
    void SetIntegrationByTime(bool byTime);
    void SetCycles(double cycles);
    void SetDelay(double seconds);
    // List selections by entry text; an entry the list does not hold shows an error-parsing box.
    void SelectWaveform(std::string_view entry);
    virtual void SelectCoupling(std::string_view entry);
    void SelectSpeed(std::string_view entry);
    void SelectServoChannel(std::string_view entry);
    void SelectChannelRatio(std::string_view entry);

    // Keys and spin buttons: KeyAndSpinHandlers.

    // --- What the dialog shows (the rest: AnalyzerEngine) -------------------------------------------
    virtual std::string CouplingText() const;
    const char* Title() const { return Texts().title; }

    // --- The parameter dump and the preference block ------------------------------------------------
    void DumpParameters(std::string& target) const override;
    virtual void ApplyPreferences(const std::string& text);

    std::string AcquisitionLine() const override;

    // --- The service request (the family's +0 message), with both parameters 0 ---------------------
    void OnMsgSweep();

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
    // Closing with no active display.
    virtual void CloseWithoutDisplay();
    // Closing takes the descriptor offline (the 1960) or keeps it open (the 1800 series).
    virtual bool CloseTakesDeviceOffline() const { return true; }

    // --- Shared with the 1800 series -----------------------------------------------------------------
    void QueueIfMeasuring(const std::string& command);
    void QueueIntegration();

    std::string m_queue;
    double m_previousDc = 0.0;
    bool m_holdAmplitude = false;
    int m_bandSent = 0;  // the bandwidth last queued; 0 none yet

private:
    // AnalyzerEngine
    const analyzer::FamilyTexts& Family() const override { return Texts().family; }
    int ListedChannels() const override { return 2; }
    double SecondsPerPoint() const override;
    bool ConnectForDcOutput() override;
    void WriteDcOutputOn() override;
    void DropQueuedCommands() override { m_queue.clear(); }
    void CloseConnection() override;

    // Connection (Analyzer1960Connection.cpp)
    bool InitializeAnalyzer();
    bool OpenDevice(int address);
    bool ChangeAddress();
    bool WriteModeCommand();

    // Sweep (Analyzer1960Sweep.cpp)
    void StartAnalyzer() override;
    bool WriteQueue(const char* operation);
    void StopAnalyzer() override;
    void ShutDownAnalyzerOnError() override;

    // Errors (Analyzer1960Errors.cpp)
    void OnStatusError(const std::string& context, int statusByte);
    std::string Context(const char* operation, const char* what) const;

    bool m_deviceOpen = false;
};
