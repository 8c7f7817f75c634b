#pragma once
// The state and behaviour every family engine shares (2600 series, 1960, 1800 series, NF 5060): the
// connection, fields, log and sweep state; the read-outs; Run Sweep, Take Data, the DC button and
// the ways a measurement stops; the bus-error and status-error reactions; the servo and
// maximum-change fields; the judgement of a reading and the step to the next point. A family
// derives from it with its settings and controls structs and gives the steps that talk to its
// analyzer (StartAnalyzer, StopAnalyzer, ShutDownAnalyzerOnError, ...) and its texts.

#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyzer/engine/AnalyzerConnection.h"
#include "analyzer/engine/AnalyzerDialog.h"
#include "analyzer/sweep/CommLog.h"
#include "analyzer/sweep/FamilyTexts.h"
#include "analyzer/sweep/FrequencyStepping.h"
#include "analyzer/sweep/SweepState.h"
#include "analyzer/target/SweepSource.h"
#include "analyzer/target/SweepTarget.h"

class AnalyzerHost;
class ServiceRequestRelay;
class SweepWatchdog;

// The button texts and the enabling every family dialog shows; a family's Controls add its own.
struct MeasurementControls {
    std::string runSweepText = "Run &Sweep";
    std::string takeDataText = "&Take Data at Start Freq";
    bool takeDataEnabled = true;
    std::string dcText = "Turn On DC Voltage";
    bool dcEnabled = true;
};

template <class FieldSet, class ControlSet>
class AnalyzerEngine : public AnalyzerDialog, public SweepSource {
public:
    using Controls = ControlSet;

    // --- Buttons ----------------------------------------------------------------------------------
    // Starts a sweep into the active display (nothing without one), or stops the running sweep.
    // Start-frequency readings in progress go on as the sweep: the next one is its first point.
    void OnButtonRunSweep();
    // Starts or stops the readings at the start frequency; ignored while sweeping.
    void OnButtonTakeData();
    // Switches the DC output off, or connects and switches it on; ignored while measuring. After an
    // error it only shuts the analyzer down and clears the flags.
    void OnCheckDc();

    void OnAnalyzerAddressChanged() override;

    // --- Fields every family has ------------------------------------------------------------------
    // AC Volts Out as committed by the field, the keys or the servo: limited, and queued while measuring.
    virtual void SetAcVoltsOutField(double volts) = 0;
    void SetLogSweep(bool logarithmic);
    void SetServoOn(bool on);
    void SetServoAcVoltsIn(double volts);   // kept when not a positive number
    void SetServoStepDb(double decibels);   // kept when not a number >= 0
    void SetMaxChangeGain(bool on, double decibels);
    void SetMaxChangePhase(bool on, double degrees);

    // --- What the dialog shows ----------------------------------------------------------------------
    const FieldSet& Fields() const { return m_fields; }
    // Steps/Decade and Frequency Step as shown: the values in use while measuring.
    double ShownStepsPerDecade() const { return IsMeasuring() ? m_sweep.stepsPerDecade : m_fields.stepsPerDecade; }
    double ShownFrequencyStep() const { return IsMeasuring() ? m_sweep.step : m_fields.frequencyStep; }
    const Controls& ControlState() const { return m_controls; }
    const analyzer::CommLog& Log() const { return m_log; }
    const analyzer::FrequencyLimits& Limits() const { return m_limits; }
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
    const AnalyzerConnection& Connection() const { return m_bus; }
    SweepTarget* TargetDisplay() const { return m_target; }

    // The family's preference block, replacing target.
    virtual void DumpParameters(std::string& target) const = 0;

    // --- SweepSource --------------------------------------------------------------------------------
    const analyzer::Reading& CurrentReading() const override { return m_sweep.reading; }
    analyzer::ChannelPair ChannelChoice() const override;
    void StoreParametersAndHide() override;
    QObject* SourceObject() override { return this; }

protected:
    explicit AnalyzerEngine(AnalyzerHost& host, QObject* parent);

    // --- What each family gives ---------------------------------------------------------------------
    virtual const analyzer::FamilyTexts& Family() const = 0;
    virtual int ListedChannels() const = 0;  // the channels the ratio and servo lists offer
    virtual void StartAnalyzer() = 0;
    virtual void StopAnalyzer() = 0;
    virtual void ShutDownAnalyzerOnError() = 0;
    // The connection the DC output needs; false when it could not be made (reported).
    virtual bool ConnectForDcOutput() = 0;
    // The commands that switch the DC output on at the DC Volts Out value.
    virtual void WriteDcOutputOn() = 0;
    // A stop empties what the family collected for the next write.
    virtual void DropQueuedCommands() = 0;
    // Takes the device offline and forgets it: the next measurement connects afresh.
    virtual void CloseConnection() = 0;
    // The DC button while a measurement starts: disabled, "DC Voltage is On" whatever its state.
    virtual void MarkDcButtonMeasuring(bool sweep);
    // Whether the DC button may be enabled again after a stop.
    virtual bool DcButtonAllowed() const { return true; }
    // The frequency of the point being measured (the start frequency before the first command).
    double PointFrequency() const { return m_commandedFrequency > 0.0 ? m_commandedFrequency : m_fields.startFrequency; }
    // The frequency limits were applied to the fields.
    virtual void FrequencyLimitsApplied() {}
    // An accepted reading of a sweep reached the target display.
    virtual void ReadingDelivered() {}
    // The time (s) one reading at the frequency being measured is expected to take, integration
    // and delay included, for the watchdog.
    virtual double SecondsPerPoint() const = 0;

    // --- Shared steps -------------------------------------------------------------------------------
    void LogText(std::string_view text);
    void ReplaceLog(std::string_view text);
    void ShowMessage(const std::string& text, const char* caption);
    bool WriteAtOnce(const std::string& command, const char* operation);
    void EmitFieldsChanged() { emit FieldsChanged(); }
    void EmitControlsChanged() { emit ControlsChanged(); }

    // A failed bus step: the report logged and shown, the bus-error flag set, and what runs stopped
    // (outside a stop); with nothing running, "Error in <dialog class>::OnGpibError".
    void OnGpibError(const std::string& context);
    // A device that could not be opened: text logged and shown, the bus-error flag set and what
    // runs stopped, so that a measurement waiting for the connection ends as after a bus failure.
    void OnCannotOpen(const std::string& text);
    // Inside a status error: writes query and reads at most maxBytes of its reply (the write logged
    // when logSent). A failure goes to OnGpibError named after handler, stopping nothing.
    std::optional<std::string> QueryErrorRegister(const char* query, std::size_t maxBytes, const char* handler,
                                                  bool logSent);
    // The end of a status error: the report logged and shown, the analyzer-error flag set, and what
    // runs stopped (outside a stop); with nothing running, lastBox when given.
    void FinishStatusError(const std::string& report, const std::string& lastBox = {});
    // Stops the sweep, the start-frequency readings or the DC output, whichever runs; with none,
    // shows lastBox unless it is empty.
    void StopWhatRuns(const std::string& lastBox);
    // Shows the report of an error whose flag is already set, then stops what ran when it began
    // (outside a stop); with nothing running, lastBox unless it is empty. The flag comes first
    // because the box's event loop may run a stop posted before the error: that stop must be the
    // shutdown and report nothing more, and what it stopped is not stopped or reported again.
    void ReportAndStop(const std::string& report, const std::string& lastBox);

    // The watchdog found the analyzer silent for longer than bound (s): the measurement ends as a
    // bus error ends it (one report, readings kept, the analyzer stopped, the callback told 1).
    void OnNoAnswer(double bound);
    // Runs the engine's handling of a service request under the watchdog.
    void HandleServiceRequest(const std::function<void()>& handler);

    void StopSweep();
    void StopStartFrequencyMode();
    void SwitchDcOff();
    void RestoreDcButton();
    void PostSweepFinished();
    void PostStartFrequencyStop();
    void PostStopOfMeasurement();
    // The title-bar close with an active display: acquisition ended posted to it; false without one.
    bool PostAcquisitionEnded();

    // The GPIB shutdown after an error: disarm, unless the bus failed the commands at a 1 s time-out
    // (failures logged as "In <operation>(), ..."), the device offline and closedLine logged.
    void ShutDownGpib(const std::vector<std::string>& commands, const char* operation, const char* closedLine);

    // Start and stop checked against the limits (log lines for each change), shown with four
    // digits and taken as the sweep's range.
    void ApplyFrequencyLimits();
    // A measurement starts: no reading yet, the next point from the start frequency.
    void ResetReadings();
    // The sweep type, steps and channel ratio of the fields become the sweep's.
    void TakeSweepSettings();
    // The reading in m_sweep is judged (servo, maximum change); an accepted one is shown and, while
    // sweeping, delivered to the target display, with the sweep-finished message posted at the stop
    // frequency. The frequency the next point steps from; none when the sweep stopped for want of a
    // display.
    std::optional<double> JudgeAndDeliverReading(const analyzer::FamilyTexts& texts);
    // The next point's frequency from stepOrigin (the start frequency when no point was accepted yet),
    // remembered as the one commanded.
    double NextPointFrequency(double stepOrigin);
    void ShowAcceptedReading();
    void ClearErrorFlags() override;

    AnalyzerHost& m_host;
    ServiceRequestRelay* m_relay = nullptr;  // lives until the process ends
    FieldSet m_fields;
    Controls m_controls;
    analyzer::FrequencyLimits m_limits;
    analyzer::SweepState m_sweep;
    analyzer::CommLog m_log;
    AnalyzerConnection m_bus;

    analyzer::Reading m_shown;  // the last accepted reading, as the read-outs show it
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
    bool m_stopping = false;  // a stop is under way: errors report but stop nothing more
    bool m_noAnswer = false;  // the watchdog ended the measurement (reported as a bus error)
    SweepWatchdog* m_watchdog = nullptr;

private:
    // AnalyzerDialog
    void ShowSweepRange(double start, double stop) override;
    double MaxAcVoltsOutField() const override { return m_fields.maxAcVoltsOut; }
    void ShowAcVoltsOut(double amplitude, double ceiling) override;
    void ShowFrequency(double frequency) override;
    void PressRunSweep() override { OnButtonRunSweep(); }
    void PressTakeData() override { OnButtonTakeData(); }
    bool Sweeping() const override { return m_sweeping; }
    int CompletionCode() const override { return m_busError || m_noAnswer ? 1 : (m_analyzerError ? 2 : 0); }
    // The shutdown after an error, else the orderly stop.
    void StopAnalyzerForStop();
};
