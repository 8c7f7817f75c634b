// A sweep and the start-frequency readings: the buttons, the start of a measurement, each service
// request with its reading, judgement and next point, and the ways a measurement stops.

#include "analyzer/engine/Analyzer2600Engine.h"

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/engine/SweepStepObserver.h"
#include "analyzer/family2600/Commands.h"
#include "analyzer/family2600/Identification.h"
#include "analyzer/family2600/ReadingReply.h"
#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/FrequencyStepping.h"
#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/ReadingJudgement.h"
#include "analyzer/sweep/ReplyTokenizer.h"
#include "data/Prompter.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Tal2600Driver.h"

using namespace analyzer;
using namespace analyzer::family2600;

namespace {

constexpr int kReadyBit = 0x01;
constexpr int kMessageBit = 0x10;
constexpr int kEventSummaryBit = 0x20;
constexpr int kMaxChunks = 4;
constexpr std::size_t kChunkInterval = 64;

} // namespace

// --- Buttons --------------------------------------------------------------------------------------

void Analyzer2600Engine::OnButtonRunSweep()
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
    m_controls.dcEnabled = false;
    if (m_dcOn)
        m_controls.dcText = "DC Voltage is On";
    m_controls.runSweepText = "Stop &Sweep";
    m_controls.takeDataText = "&Take Data at Start Freq";
    m_controls.takeDataEnabled = false;
    m_sweeping = true;
    EmitControlsChanged();
    if (m_startFrequencyMode) {
        // The readings at the start frequency go on as the sweep: the next one is its first point.
        m_startFrequencyMode = false;
        return;
    }
    // Flags left by an error outside a measurement would make every service request be ignored.
    ClearErrorFlags();
    StartAnalyzer();
}

void Analyzer2600Engine::OnButtonTakeData()
{
    if (m_sweeping)
        return;
    if (m_startFrequencyMode) {
        StopStartFrequencyMode();
        return;
    }
    m_startFrequencyMode = true;
    m_controls.takeDataText = "Stop &Taking Data";
    m_controls.dcEnabled = false;
    EmitControlsChanged();
    ClearErrorFlags();
    StartAnalyzer();
}

void Analyzer2600Engine::OnCheckDc()
{
    if (m_dcOn) {
        SwitchDcOff();
        return;
    }
    if (m_busError || m_analyzerError) {
        ShutDownAnalyzerOnError();
        ClearErrorFlags();
        return;
    }
    const bool ready = (m_addressChangePending || !m_initialized) ? InitializeAnalyzer(true) : ClearDevice();
    if (!ready)
        return;
    m_dcOn = true;
    m_controls.dcText = "Turn Off DC Voltage";
    EmitControlsChanged();
    for (const std::string& command : DcOutputOnCommands(m_fields.dcVoltsOut))
        if (!WriteAtOnce(command, "OnCheckDc"))
            return;
}

// --- Start of a measurement ---------------------------------------------------------------------

void Analyzer2600Engine::StartAnalyzer()
{
    if (!IsMeasuring())
        return;
    m_sweep.reading.frequency = 0.0;
    m_sweep.previous.frequency = 0.0;
    m_sweep.servoRetried = false;
    m_acceptedStepOrigin = 0.0;
    const bool ready = (m_addressChangePending || !m_initialized) ? InitializeAnalyzer(true) : ClearDevice();
    if (!ready || !IsMeasuring())
        return;

    ApplyFrequencyLimits();
    if (m_fields.servoOn)
        m_fields.acVoltsOut = 0.01;
    ApplyMaxAcVoltsOut(m_fields.maxAcVoltsOut, 0.0);
    ApplyAcVoltsOut(m_fields.acVoltsOut, 0.0);
    QueueAmplitude();
    m_amplitudeInEffect = m_fields.acVoltsOut;

    // Every setting, each queueing its command.
    QueueIfMeasuring(DcOffsetCommand(m_fields.dcVoltsOut));
    QueueIfMeasuring(InputImpedanceCommand(m_fields.inputImpedance, m_caps));
    QueueIfMeasuring(OutputImpedanceCommand(m_fields.outputImpedance));
    ApplyIntegration();
    m_fields.stepsPerDecade = ClampStepsPerDecade(m_fields.stepsPerDecade);
    m_fields.frequencyStep = ClampFrequencyStep(m_fields.frequencyStep);
    m_sweep.logSweep = m_fields.logSweep;
    m_sweep.stepsPerDecade = m_sweep.userStepsPerDecade = m_fields.stepsPerDecade;
    m_sweep.step = m_sweep.userStep = m_fields.frequencyStep;
    m_sweep.numeratorChannel = m_fields.numeratorChannel;
    m_sweep.denominatorChannel = m_fields.denominatorChannel;
    QueueSettingOnce(kQueuedWaveform, WaveformCommand(m_fields.waveform));
    EmitFieldsChanged();

    if (!SendQueue())
        return;
    if (m_bus.UsesGpib() && m_firmwareCode < 0x200)
        instrument::SleepMilliseconds(400);
    for (const std::string& command : StartCommands(m_sweep.startFrequency))
        m_queue.QueueCommand(command);
    m_commandedFrequency = m_sweep.startFrequency;
    if (!SendQueue())
        return;
    if (!m_bus.ArmServiceRequest(m_relay))
        OnGpibError(m_bus.UsesGpib() ? "In StartAnalyzer(), command ibnotify has an Error"
                                     : "In StartAnalyzer(), command tal2600_EnableEvent has an Error");
}

// --- Service request and reading ----------------------------------------------------------------

void Analyzer2600Engine::OnMsg2600Sweep(int statusByte)
{
    if (m_busError || m_analyzerError)
        return;
    // A request that arrives after its measurement was stopped (the analyzer finishing the point it
    // was measuring when the sweep ended) belongs to nothing and is dropped unpolled.
    if (!IsMeasuring() && !m_awaitingMessages)
        return;
    if (m_bus.UsesGpib()) {
        const std::optional<int> polled = m_bus.SerialPoll();
        if (!polled) {
            OnGpibError("In OnMsg2600Sweep(), command ReadSerialPoll has an Error");
            return;
        }
        statusByte = *polled;
    }
    if (statusByte & kEventSummaryBit) {
        On2600Error("In OnMsg2600Sweep(), serial poll shows an error", statusByte);
        return;
    }
    if (!(statusByte & (kReadyBit | kMessageBit))) {
        On2600Error("In OnMsg2600Sweep(), no data ready", statusByte);
        return;
    }
    if ((statusByte & kReadyBit) && !(statusByte & kMessageBit)) {
        if (IsMeasuring())
            ReadData(statusByte);
        return;
    }
    if ((statusByte & kMessageBit) && !IsMeasuring() && HasMessages(m_firmwareCode))
        ReadMessages(statusByte);
}

// Up to four chunks while the reading-ready bit stays set, each followed by a serial poll. Chunks
// follow each other at 64-byte intervals; with firmware 1.x each read replaces the last.
std::optional<std::string> Analyzer2600Engine::ReadReply(int& statusByte, bool& failed)
{
    failed = false;
    const std::size_t chunkBytes = ReadingChunkBytes(m_firmwareCode);
    const bool replacing = chunkBytes > kChunkInterval;
    std::string buffer;
    for (int chunk = 0; chunk < kMaxChunks && (statusByte & kReadyBit); ++chunk) {
        m_queue.QueueCommand(kReadCommand);
        if (!SendQueue()) {
            failed = true;
            return std::nullopt;
        }
        std::optional<std::string> part = m_bus.Read(chunkBytes);
        if (!part && m_bus.UsesUsb()) {
            instrument::SleepMilliseconds(200);
            if (m_bus.Write(kReadCommand))
                Log(SentLine(kReadCommand));
            instrument::SleepMilliseconds(300);
            part = m_bus.Read(chunkBytes);
        }
        if (!part) {
            OnGpibError(CommandContext("ReadData", m_bus.ReadCall()));
            failed = true;
            return std::nullopt;
        }
        if (replacing)
            buffer = std::move(*part);
        else {
            buffer.resize(chunk * kChunkInterval, '\0');
            buffer += *part;
        }
        const std::optional<int> polled = m_bus.SerialPoll();
        if (!polled) {
            OnGpibError("In ReadData(), failed to serial poll");
            failed = true;
            return std::nullopt;
        }
        statusByte = *polled;
        Log(ReceivedLine(TextOfReply(buffer.data(), buffer.size())));
    }
    return std::string(TextOfReply(buffer.data(), buffer.size()));
}

void Analyzer2600Engine::ReadData(int statusByte)
{
    m_sweep.previous = m_sweep.reading;
    m_sweep.reading.outputAmplitude = m_amplitudeInEffect;

    bool failed = false;
    const std::optional<std::string> text = ReadReply(statusByte, failed);
    if (failed) {
        PostStopOfMeasurement();
        return;
    }
    if (const std::optional<std::string> missing = ParseReadingReply(*text, m_caps.channelCount, m_sweep.reading)) {
        On2600Error(*missing, statusByte);
        return;
    }

    m_sweep.numeratorChannel = m_fields.numeratorChannel;
    m_sweep.denominatorChannel = m_fields.denominatorChannel;
    const Judgement judgement = JudgeReading(m_sweep, ServoOf(m_fields), MaxChangeOf(m_fields), m_sweeping, Texts());
    for (const std::string& line : judgement.logLines)
        Log(line);
    for (const std::string& message : judgement.messages)
        ShowMessage(message, kAnalyzerMenuCaption);
    if (judgement.stepChanged)
        EmitFieldsChanged();
    if (judgement.nextAmplitude)
        SetAcVoltsOutField(*judgement.nextAmplitude);
    m_amplitudeInEffect = m_fields.acVoltsOut;

    double stepOrigin = m_acceptedStepOrigin;
    if (judgement.accept) {
        // The reading was taken where it was asked for: step on from the exact frequency.
        stepOrigin = RoundToSignificant(m_commandedFrequency, 4) == RoundToSignificant(m_sweep.reading.frequency, 4)
                         ? m_commandedFrequency
                         : m_sweep.reading.frequency;
        m_acceptedStepOrigin = stepOrigin;
        ShowAcceptedReading();
        if (m_sweeping) {
            if (!m_target) {
                StopSweep();
                return;
            }
            m_target->OnNewReading(*this);
            if (m_observer)
                m_observer->OnReadingAccepted(m_sweep.reading.frequency);
            if (ReachedStopFrequency(m_sweep.reading.frequency, m_sweep))
                PostSweepFinished();
        }
    }
    if (!IsMeasuring())
        return;
    SendNextMeasurement(stepOrigin);
}

void Analyzer2600Engine::ShowAcceptedReading()
{
    m_shown = m_sweep.reading;
    m_shownFrequency = m_sweep.reading.frequency;
    emit ReadingShown();
}

void Analyzer2600Engine::SendNextMeasurement(double stepOrigin)
{
    // A first point that was not accepted is taken again at the start frequency rather than one
    // step past it.
    SweepState from = m_sweep;
    from.reading.frequency = stepOrigin;
    const double next = stepOrigin > 0.0 ? NextFrequency(from, m_startFrequencyMode) : m_sweep.startFrequency;
    m_commandedFrequency = next;
    // The amplitude limits for the point about to be measured; a lowered amplitude is queued.
    ApplyMaxAcVoltsOut(m_fields.maxAcVoltsOut, next);
    if (ApplyAcVoltsOut(m_fields.acVoltsOut, next)) {
        QueueAmplitude();
        EmitFieldsChanged();
    }
    m_amplitudeInEffect = m_fields.acVoltsOut;
    m_queue.QueueCommand(MeasureAtCommand(next));
    if (!SendQueue()) {
        PostStopOfMeasurement();
        return;
    }
    if (m_observer)
        m_observer->OnMeasureCommandWritten();
    if (m_bus.UsesGpib() && !m_bus.ArmServiceRequest(m_relay)) {
        OnGpibError("In ReadData(), command ibnotify has an Error");
        return;
    }
    OnDataPointTaken(m_sweep.reading.frequency);
}

// --- Stopping ---------------------------------------------------------------------------------------

void Analyzer2600Engine::PostSweepFinished()
{
    QMetaObject::invokeMethod(this, &Analyzer2600Engine::OnMsgSweepFinished, Qt::QueuedConnection);
}

void Analyzer2600Engine::PostStartFrequencyStop()
{
    QMetaObject::invokeMethod(this, &Analyzer2600Engine::OnMsgStartFrequencyStop, Qt::QueuedConnection);
}

void Analyzer2600Engine::PostStopOfMeasurement()
{
    if (m_sweeping)
        PostSweepFinished();
    else if (m_startFrequencyMode)
        PostStartFrequencyStop();
}

void Analyzer2600Engine::OnMsgSweepFinished()
{
    // Posted more than once (an error after the last reading) it stops the sweep once.
    if (m_sweeping)
        StopSweep();
}

void Analyzer2600Engine::OnMsgStartFrequencyStop()
{
    if (m_startFrequencyMode)
        StopStartFrequencyMode();
}

void Analyzer2600Engine::StopSweep()
{
    m_stopping = true;
    if (m_busError || m_analyzerError)
        ShutDownAnalyzerOnError();
    else
        StopAnalyzer();
    m_stopping = false;
    m_controls.runSweepText = "Run &Sweep";
    m_controls.takeDataEnabled = true;
    RestoreDcButton();
    m_sweeping = false;
    m_target = nullptr;
    EmitFieldsChanged();  // Steps/Decade and Frequency Step show the user's values again
    EmitControlsChanged();
    OnDataPointTaken(m_sweep.reading.frequency);
}

void Analyzer2600Engine::StopStartFrequencyMode()
{
    m_stopping = true;
    if (m_busError || m_analyzerError)
        ShutDownAnalyzerOnError();
    else
        StopAnalyzer();
    m_stopping = false;
    m_controls.takeDataText = "&Take Data At Start Freq";
    m_startFrequencyMode = false;
    RestoreDcButton();
    EmitFieldsChanged();
    EmitControlsChanged();
    AbandonSettling();
}

void Analyzer2600Engine::SwitchDcOff()
{
    m_dcOn = false;
    m_stopping = true;
    if (m_busError || m_analyzerError)
        ShutDownAnalyzerOnError();
    else
        StopAnalyzer();
    m_stopping = false;
    m_controls.dcText = "Turn On DC Voltage";
    EmitControlsChanged();
    ClearErrorFlags();
}

void Analyzer2600Engine::RestoreDcButton()
{
    if (m_fields.outputImpedance != OutputImpedance::Ohms50)
        return;
    m_controls.dcEnabled = true;
    m_controls.dcText = m_dcOn ? "Turn Off DC Voltage" : "Turn On DC Voltage";
}

void Analyzer2600Engine::StopAnalyzer()
{
    if (m_bus.UsesGpib()) {
        if (gpib::ibnotify(m_bus.device, 0, nullptr, nullptr) & gpib::ERR)
            OnGpibError("In StopAnalyzer(), command ibnotify has an Error");
        gpib::ibclr(m_bus.device);
    }
    for (const std::string& command : StopCommands(m_dcOn)) {
        if (!m_bus.Write(command)) {
            OnGpibError(CommandContext("StopAnalyzer", m_bus.WriteCall()));
            break;
        }
        Log(SentLine(command));
    }
    if (m_bus.UsesGpib() && !m_dcOn) {
        gpib::ibonl(m_bus.device, 1);
        Log("GPIB connection is closed.");
        m_initialized = false;
    }
}

void Analyzer2600Engine::ShutDownAnalyzerOnError()
{
    if (m_bus.UsesGpib()) {
        if (gpib::ibnotify(m_bus.device, 0, nullptr, nullptr) & gpib::ERR)
            Log("In ShutDownAnalyzerOnError(), command ibnotify has an Error\r\n");
        if (!m_busError) {
            gpib::ibtmo(m_bus.device, gpib::T1s);
            for (const std::string& command : ErrorStopCommands()) {
                if (!m_bus.Write(command)) {
                    Log("In ShutDownAnalyzerOnError(), command WriteToGPIB has an Error\r\n");
                    break;
                }
                Log(SentLine(command));
            }
        }
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
        Log("GPIB connection is closed.");
        m_initialized = false;
        return;
    }
    m_bus.lastUsbStatus = tal2600_DisableEvent(m_bus.vi, visa::VI_EVENT_SERVICE_REQ, visa::VI_HNDLR);
    if (m_bus.lastUsbStatus < visa::VI_SUCCESS)
        OnGpibError("In ShutDownAnalyzerOnError(), command tal2600_DisableEvent has an Error");
    if (!m_busError) {
        for (const std::string& command : ErrorStopCommands()) {
            if (!m_bus.Write(command)) {
                Log("In ShutDownAnalyzerOnError(), command tal2600_WriteInstrData has an Error");
                break;
            }
            Log(SentLine(command));
        }
    }
}
