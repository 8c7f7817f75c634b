// The behaviour every family engine shares, instantiated for the three settings structs below.

#include "analyzer/engine/AnalyzerEngine.h"

#include <cmath>

#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/SweepWatchdog.h"
#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/ReadingJudgement.h"
#include "data/Prompter.h"
#include "instrument/gpib/Gpib.h"

using namespace analyzer;

template <class F, class C>
AnalyzerEngine<F, C>::AnalyzerEngine(AnalyzerHost& host, QObject* parent) : AnalyzerDialog(parent), m_host(host)
{
    m_watchdog = new SweepWatchdog(
        this, [this] { return SecondsPerPoint(); }, [this](double bound) { OnNoAnswer(bound); });
}

// --- Buttons --------------------------------------------------------------------------------------

template <class F, class C>
void AnalyzerEngine<F, C>::OnButtonRunSweep()
{
    if (m_sweeping) {
        StopSweep();
        return;
    }
    SweepTarget* display = m_host.ActiveDisplay();
    if (!display)
        return;
    m_target = display;
    display->OnNewSweep(*this);
    MarkDcButtonMeasuring(true);
    m_controls.runSweepText = "Stop &Sweep";
    m_controls.takeDataText = "&Take Data at Start Freq";
    m_controls.takeDataEnabled = false;
    m_sweeping = true;
    EmitControlsChanged();
    if (m_startFrequencyMode) {
        m_startFrequencyMode = false;
        return;
    }
    // Flags left by an error outside a measurement would make every service request be ignored.
    ClearErrorFlags();
    StartAnalyzer();
    if (IsMeasuring())
        m_watchdog->Start();
}

template <class F, class C>
void AnalyzerEngine<F, C>::OnButtonTakeData()
{
    if (m_sweeping)
        return;
    if (m_startFrequencyMode) {
        StopStartFrequencyMode();
        return;
    }
    m_startFrequencyMode = true;
    m_controls.takeDataText = "Stop &Taking Data";
    MarkDcButtonMeasuring(false);
    EmitControlsChanged();
    ClearErrorFlags();
    StartAnalyzer();
    if (IsMeasuring())
        m_watchdog->Start();
}

template <class F, class C>
void AnalyzerEngine<F, C>::OnCheckDc()
{
    if (IsMeasuring())
        return;
    if (m_dcOn) {
        SwitchDcOff();
        return;
    }
    if (m_busError || m_analyzerError) {
        ShutDownAnalyzerOnError();
        ClearErrorFlags();
        return;
    }
    if (!ConnectForDcOutput())
        return;
    m_dcOn = true;
    m_controls.dcText = "Turn Off DC Voltage";
    EmitControlsChanged();
    WriteDcOutputOn();
}

template <class F, class C>
void AnalyzerEngine<F, C>::OnAnalyzerAddressChanged()
{
    if (IsMeasuring())
        return;
    if (m_dcOn)
        SwitchDcOff();
    CloseConnection();
    m_initialized = false;
}

template <class F, class C>
void AnalyzerEngine<F, C>::MarkDcButtonMeasuring(bool)
{
    m_controls.dcEnabled = false;
    m_controls.dcText = "DC Voltage is On";
}

// --- Fields every family has ------------------------------------------------------------------------

template <class F, class C>
void AnalyzerEngine<F, C>::SetLogSweep(bool logarithmic)
{
    m_fields.logSweep = logarithmic;
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::SetServoOn(bool on)
{
    m_fields.servoOn = on;
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::SetServoAcVoltsIn(double volts)
{
    if (std::isfinite(volts) && volts > 0.0)
        m_fields.servoAcVoltsIn = RoundToSignificant(volts, 4);
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::SetServoStepDb(double decibels)
{
    if (std::isfinite(decibels) && decibels >= 0.0)
        m_fields.servoStepDb = RoundToSignificant(decibels, 4);
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::SetMaxChangeGain(bool on, double decibels)
{
    m_fields.maxChangeGainOn = on;
    if (std::isfinite(decibels) && decibels >= 0.0)
        m_fields.maxChangeGain = RoundToSignificant(decibels, 4);
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::SetMaxChangePhase(bool on, double degrees)
{
    m_fields.maxChangePhaseOn = on;
    if (std::isfinite(degrees) && degrees >= 0.0)
        m_fields.maxChangePhase = RoundToSignificant(degrees, 4);
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::ApplyFrequencyLimits()
{
    const FrequencyLimitResult result = CheckFrequencyLimits(m_fields.startFrequency, m_fields.stopFrequency, m_limits);
    for (const std::string& line : result.logLines)
        LogText(line);
    m_fields.startFrequency = RoundToSignificant(m_fields.startFrequency, 4);
    m_fields.stopFrequency = RoundToSignificant(m_fields.stopFrequency, 4);
    m_sweep.startFrequency = m_fields.startFrequency;
    m_sweep.stopFrequency = m_fields.stopFrequency;
    m_sweep.ascending = m_fields.stopFrequency > m_fields.startFrequency;
    FrequencyLimitsApplied();
    EmitFieldsChanged();
}

// --- What the dialog shows ----------------------------------------------------------------------

template <class F, class C>
std::vector<std::string> AnalyzerEngine<F, C>::ChannelRatioEntries() const
{
    return analyzer::ChannelRatioEntries(ListedChannels());
}

template <class F, class C>
std::vector<std::string> AnalyzerEngine<F, C>::ServoChannelEntries() const
{
    return analyzer::ServoChannelEntries(ListedChannels(), ChannelChoice());
}

template <class F, class C>
std::string AnalyzerEngine<F, C>::ChannelRatioText() const
{
    return RatioEntryText(ChannelChoice());
}

template <class F, class C>
std::string AnalyzerEngine<F, C>::ServoChannelText() const
{
    return ServoEntryText(m_fields.servoChannel, ChannelChoice());
}

template <class F, class C>
std::string AnalyzerEngine<F, C>::GainText() const
{
    const double numerator = m_shown.amplitude[m_fields.numeratorChannel - 1];
    const double denominator = m_shown.amplitude[m_fields.denominatorChannel - 1];
    return FormatNumberText("%G", 20.0 * std::log10(numerator / denominator));
}

template <class F, class C>
std::string AnalyzerEngine<F, C>::PhaseText() const
{
    return FormatNumberText("%G", m_shown.phase[m_fields.numeratorChannel - 1]
                                      - m_shown.phase[m_fields.denominatorChannel - 1]);
}

template <class F, class C>
ChannelPair AnalyzerEngine<F, C>::ChannelChoice() const
{
    return {m_fields.numeratorChannel, m_fields.denominatorChannel};
}

template <class F, class C>
void AnalyzerEngine<F, C>::StoreParametersAndHide()
{
    DumpParameters(m_host.PreferenceBlock());
    emit HideRequested();
}

template <class F, class C>
void AnalyzerEngine<F, C>::ShowSweepRange(double start, double stop)
{
    m_fields.startFrequency = RoundToSignificant(start, 4);
    m_fields.stopFrequency = RoundToSignificant(stop, 4);
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::ShowAcVoltsOut(double amplitude, double ceiling)
{
    m_fields.acVoltsOut = RoundToSignificant(amplitude, 4);
    m_fields.maxAcVoltsOut = RoundToSignificant(ceiling, 4);
    EmitFieldsChanged();
}

template <class F, class C>
void AnalyzerEngine<F, C>::ShowFrequency(double frequency)
{
    m_shownFrequency = frequency;
    emit ReadingShown();
}

template <class F, class C>
void AnalyzerEngine<F, C>::ClearErrorFlags()
{
    m_busError = false;
    m_analyzerError = false;
    m_noAnswer = false;
}

template <class F, class C>
void AnalyzerEngine<F, C>::ShowAcceptedReading()
{
    m_shown = m_sweep.reading;
    m_shownFrequency = m_sweep.reading.frequency;
    emit ReadingShown();
}

// --- Log and messages ----------------------------------------------------------------------------

template <class F, class C>
void AnalyzerEngine<F, C>::LogText(std::string_view text)
{
    if (m_log.Suppressed())
        return;
    m_log.AddToCommLog(text);
    emit CommLogAppended(std::string(text), false);
}

template <class F, class C>
void AnalyzerEngine<F, C>::ReplaceLog(std::string_view text)
{
    m_log.AddToCommLog(text, true);
    emit CommLogAppended(std::string(text), true);
}

template <class F, class C>
void AnalyzerEngine<F, C>::ShowMessage(const std::string& text, const char* caption)
{
    prompter().Message(text, caption, PromptButtons::Ok, PromptIcon::Warning);
}

template <class F, class C>
bool AnalyzerEngine<F, C>::WriteAtOnce(const std::string& command, const char* operation)
{
    if (!m_bus.Write(command)) {
        OnGpibError(CommandContext(operation, m_bus.WriteCall()));
        return false;
    }
    LogText(SentLine(command));
    return true;
}

// --- Errors ------------------------------------------------------------------------------------------

template <class F, class C>
void AnalyzerEngine<F, C>::OnGpibError(const std::string& context)
{
    const std::string report = m_bus.FailureReport(context);
    LogText(report);
    m_busError = true;
    ReportAndStop(report, "Error in " + Family().dialogClass + "::OnGpibError" + (m_bus.UsesUsb() ? "  " : ""));
}

template <class F, class C>
void AnalyzerEngine<F, C>::OnCannotOpen(const std::string& text)
{
    LogText(text);
    m_busError = true;
    ReportAndStop(text, "");
}

template <class F, class C>
void AnalyzerEngine<F, C>::ReportAndStop(const std::string& report, const std::string& lastBox)
{
    const bool sweeping = m_sweeping;
    const bool startFrequencyMode = m_startFrequencyMode;
    const bool dcOn = m_dcOn;
    ShowMessage(report, "");
    // Inside a stop the stop under way finishes the job.
    if (m_stopping)
        return;
    if (sweeping || startFrequencyMode || dcOn) {
        if (sweeping && m_sweeping)
            StopSweep();
        else if (startFrequencyMode && m_startFrequencyMode)
            StopStartFrequencyMode();
        else if (!sweeping && !startFrequencyMode && dcOn && m_dcOn)
            SwitchDcOff();
    } else if (!lastBox.empty()) {
        ShowMessage(lastBox, "");
    }
}

template <class F, class C>
std::optional<std::string> AnalyzerEngine<F, C>::QueryErrorRegister(const char* query, std::size_t maxBytes,
                                                                    const char* handler, bool logSent)
{
    // A failed query is reported; the status error's own stop follows it.
    const bool stopping = m_stopping;
    m_stopping = true;
    std::optional<std::string> reply;
    if (!m_bus.Write(query)) {
        OnGpibError(CommandContext(handler, m_bus.WriteCall()));
    } else {
        if (logSent)
            LogText(SentLine(query));
        reply = m_bus.Read(maxBytes);
        if (!reply)
            OnGpibError(CommandContext(handler, m_bus.ReadCall()));
    }
    m_stopping = stopping;
    return reply;
}

template <class F, class C>
void AnalyzerEngine<F, C>::FinishStatusError(const std::string& report, const std::string& lastBox)
{
    LogText(report);
    m_analyzerError = true;
    ReportAndStop(report, lastBox);
}

template <class F, class C>
void AnalyzerEngine<F, C>::OnNoAnswer(double bound)
{
    if (!IsMeasuring() || m_busError || m_analyzerError || m_stopping)
        return;
    const std::string report = FormatNumberText(
        "No answer from the analyzer within %.0f s; the measurement is stopped and the readings taken are kept.\r\n",
        bound);
    // The flag first: whatever runs while the box is open sees the measurement ended.
    m_noAnswer = true;
    LogText(report);
    StopWhatRuns("");
    ShowMessage(report, "");
}

template <class F, class C>
void AnalyzerEngine<F, C>::HandleServiceRequest(const std::function<void()>& handler)
{
    m_watchdog->Handle(handler);
}

template <class F, class C>
void AnalyzerEngine<F, C>::StopWhatRuns(const std::string& lastBox)
{
    if (m_sweeping)
        StopSweep();
    else if (m_startFrequencyMode)
        StopStartFrequencyMode();
    else if (m_dcOn)
        SwitchDcOff();
    else if (!lastBox.empty())
        ShowMessage(lastBox, "");
}

// --- Stopping ---------------------------------------------------------------------------------------

template <class F, class C>
void AnalyzerEngine<F, C>::StopAnalyzerForStop()
{
    m_watchdog->Stop();
    m_stopping = true;
    if (m_busError || m_analyzerError || m_noAnswer)
        ShutDownAnalyzerOnError();
    else
        StopAnalyzer();
    m_stopping = false;
    DropQueuedCommands();
}

template <class F, class C>
void AnalyzerEngine<F, C>::StopSweep()
{
    StopAnalyzerForStop();
    m_controls.runSweepText = "Run &Sweep";
    m_controls.takeDataEnabled = true;
    RestoreDcButton();
    m_sweeping = false;
    m_target = nullptr;
    EmitFieldsChanged();  // Steps/Decade and Frequency Step show the user's values again
    EmitControlsChanged();
    OnDataPointTaken(m_sweep.reading.frequency);
}

template <class F, class C>
void AnalyzerEngine<F, C>::StopStartFrequencyMode()
{
    StopAnalyzerForStop();
    m_controls.takeDataText = "&Take Data At Start Freq";
    m_startFrequencyMode = false;
    RestoreDcButton();
    EmitFieldsChanged();
    EmitControlsChanged();
    AbandonSettling();
}

template <class F, class C>
void AnalyzerEngine<F, C>::SwitchDcOff()
{
    m_dcOn = false;
    StopAnalyzerForStop();
    m_controls.dcText = "Turn On DC Voltage";
    EmitControlsChanged();
    ClearErrorFlags();
}

template <class F, class C>
void AnalyzerEngine<F, C>::RestoreDcButton()
{
    if (!DcButtonAllowed())
        return;
    m_controls.dcEnabled = true;
    m_controls.dcText = m_dcOn ? "Turn Off DC Voltage" : "Turn On DC Voltage";
}

template <class F, class C>
void AnalyzerEngine<F, C>::PostSweepFinished()
{
    QPointer<AnalyzerEngine> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            // Posted more than once (an error after the last reading) it stops the sweep once.
            if (self && self->m_sweeping)
                self->StopSweep();
        },
        Qt::QueuedConnection);
}

template <class F, class C>
void AnalyzerEngine<F, C>::PostStartFrequencyStop()
{
    QPointer<AnalyzerEngine> self(this);
    QMetaObject::invokeMethod(
        this,
        [self] {
            if (self && self->m_startFrequencyMode)
                self->StopStartFrequencyMode();
        },
        Qt::QueuedConnection);
}

template <class F, class C>
void AnalyzerEngine<F, C>::PostStopOfMeasurement()
{
    if (m_sweeping)
        PostSweepFinished();
    else if (m_startFrequencyMode)
        PostStartFrequencyStop();
}

template <class F, class C>
bool AnalyzerEngine<F, C>::PostAcquisitionEnded()
{
    SweepTarget* display = m_host.ActiveDisplay();
    if (!display)
        return false;
    QPointer<SweepTarget> target(display);
    QPointer<AnalyzerEngine> self(this);
    QMetaObject::invokeMethod(
        display,
        [target, self] {
            if (target && self)
                target->OnAcquisitionEnded(*self);
        },
        Qt::QueuedConnection);
    return true;
}

template <class F, class C>
void AnalyzerEngine<F, C>::ShutDownGpib(const std::vector<std::string>& commands, const char* operation,
                                        const char* closedLine)
{
    const std::string in = std::string("In ") + operation + "(), command ";
    if (gpib::ibnotify(m_bus.device, 0, nullptr, nullptr) & gpib::ERR)
        LogText(in + "ibnotify has an Error\r\n");
    if (!m_busError) {
        gpib::ibtmo(m_bus.device, gpib::T1s);
        for (const std::string& command : commands) {
            if (!m_bus.Write(command)) {
                LogText(in + "WriteToGPIB has an Error\r\n");
                break;
            }
            LogText(SentLine(command));
        }
    }
    gpib::ibonl(m_bus.device, 0);
    m_bus.device = -1;
    LogText(closedLine);
    m_initialized = false;
}

// --- A sweep's points ---------------------------------------------------------------------------------

template <class F, class C>
void AnalyzerEngine<F, C>::ResetReadings()
{
    m_sweep.reading.frequency = 0.0;
    m_sweep.previous.frequency = 0.0;
    m_acceptedStepOrigin = 0.0;
}

template <class F, class C>
void AnalyzerEngine<F, C>::TakeSweepSettings()
{
    m_sweep.logSweep = m_fields.logSweep;
    m_sweep.stepsPerDecade = m_sweep.userStepsPerDecade = m_fields.stepsPerDecade;
    m_sweep.step = m_sweep.userStep = m_fields.frequencyStep;
    m_sweep.numeratorChannel = m_fields.numeratorChannel;
    m_sweep.denominatorChannel = m_fields.denominatorChannel;
}

template <class F, class C>
std::optional<double> AnalyzerEngine<F, C>::JudgeAndDeliverReading(const FamilyTexts& texts)
{
    m_sweep.numeratorChannel = m_fields.numeratorChannel;
    m_sweep.denominatorChannel = m_fields.denominatorChannel;
    // The ceiling as the analyzer is told it, as the amplitude in effect is.
    const ServoSettings servo{m_fields.servoOn, m_fields.servoChannel, m_fields.servoAcVoltsIn, m_fields.servoStepDb,
                              AmplitudeAsSent(m_fields.maxAcVoltsOut)};
    const MaxChangeSettings maxChange{m_fields.maxChangeGainOn, m_fields.maxChangeGain, m_fields.maxChangePhaseOn,
                                      m_fields.maxChangePhase};
    const Judgement judgement = JudgeReading(m_sweep, servo, maxChange, m_sweeping, texts);
    for (const std::string& line : judgement.logLines)
        LogText(line);
    for (const std::string& message : judgement.messages)
        ShowMessage(message, kAnalyzerMenuCaption);
    if (judgement.stepChanged)
        EmitFieldsChanged();
    if (judgement.nextAmplitude)
        SetAcVoltsOutField(*judgement.nextAmplitude);

    if (!judgement.accept)
        return m_acceptedStepOrigin;
    // The reading was taken where it was asked for: step on from the exact frequency.
    const double stepOrigin =
        RoundToSignificant(m_commandedFrequency, 4) == RoundToSignificant(m_sweep.reading.frequency, 4)
            ? m_commandedFrequency
            : m_sweep.reading.frequency;
    m_acceptedStepOrigin = stepOrigin;
    ShowAcceptedReading();
    if (m_sweeping) {
        if (!m_target) {
            StopSweep();
            return std::nullopt;
        }
        m_target->OnNewReading(*this);
        ReadingDelivered();
        if (ReachedStopFrequency(m_sweep.reading.frequency, m_sweep))
            PostSweepFinished();
    }
    return stepOrigin;
}

template <class F, class C>
double AnalyzerEngine<F, C>::NextPointFrequency(double stepOrigin)
{
    // A first point that was not accepted is taken again at the start frequency rather than one step
    // past it.
    SweepState from = m_sweep;
    from.reading.frequency = stepOrigin;
    m_commandedFrequency = stepOrigin > 0.0 ? NextFrequency(from, m_startFrequencyMode) : m_sweep.startFrequency;
    return m_commandedFrequency;
}

template class AnalyzerEngine<family2600::Settings, Analyzer2600Controls>;
template class AnalyzerEngine<family1960::Settings, Analyzer1960Controls>;
template class AnalyzerEngine<family5060::Settings, Analyzer5060Controls>;
