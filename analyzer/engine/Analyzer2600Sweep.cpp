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

// --- The DC button ------------------------------------------------------------------------------

bool Analyzer2600Engine::ConnectForDcOutput()
{
    return (m_addressChangePending || !m_initialized) ? InitializeAnalyzer(true) : ClearDevice();
}

void Analyzer2600Engine::WriteDcOutputOn()
{
    for (const std::string& command : DcOutputOnCommands(m_fields.dcVoltsOut))
        if (!WriteAtOnce(command, "OnCheckDc"))
            return;
}

// Starting a measurement disables the DC button; only a sweep with the DC output on relabels it.
void Analyzer2600Engine::MarkDcButtonMeasuring(bool sweep)
{
    m_controls.dcEnabled = false;
    if (sweep && m_dcOn)
        m_controls.dcText = "DC Voltage is On";
}

// The DC output needs the 50 Ohm output.
bool Analyzer2600Engine::DcButtonAllowed() const
{
    return m_fields.outputImpedance == OutputImpedance::Ohms50;
}

// --- Start of a measurement ---------------------------------------------------------------------

void Analyzer2600Engine::StartAnalyzer()
{
    if (!IsMeasuring())
        return;
    ResetReadings();
    m_sweep.servoRetried = false;
    const bool ready = (m_addressChangePending || !m_initialized) ? InitializeAnalyzer(true) : ClearDevice();
    if (!ready || !IsMeasuring())
        return;

    if (m_modePending)
        m_queue.QueueCommand(kModeCommand);
    ApplyFrequencyLimits();
    if (m_fields.servoOn)
        m_fields.acVoltsOut = 0.01;
    // The first point is held to the amplitude limits of the start frequency like every other.
    ApplyMaxAcVoltsOut(m_fields.maxAcVoltsOut, m_sweep.startFrequency);
    ApplyAcVoltsOut(m_fields.acVoltsOut, m_sweep.startFrequency);
    QueueAmplitude();
    m_amplitudeInEffect = AmplitudeAsSent(m_fields.acVoltsOut);

    // Every setting, each queueing its command.
    QueueIfMeasuring(DcOffsetCommand(m_fields.dcVoltsOut));
    QueueIfMeasuring(InputImpedanceCommand(m_fields.inputImpedance, m_caps));
    QueueIfMeasuring(OutputImpedanceCommand(m_fields.outputImpedance));
    ApplyIntegration();
    m_fields.stepsPerDecade = ClampStepsPerDecade(m_fields.stepsPerDecade);
    m_fields.frequencyStep = ClampFrequencyStep(m_fields.frequencyStep);
    TakeSweepSettings();
    QueueSettingOnce(kQueuedWaveform, WaveformCommand(m_fields.waveform));
    EmitFieldsChanged();

    if (!SendQueue())
        return;
    m_modePending = false;
    if (m_bus.UsesGpib() && m_firmwareCode < 0x200)
        instrument::SleepMilliseconds(400);
    for (const std::string& command : StartCommands(m_sweep.startFrequency))
        if (!QueueWritingFirst(command))
            return;
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
    if (IsMeasuring()) {
        // A message is read after the reading it comes with, since the analyzer answers "READ?;"
        // with the reading while one is measured; a request for a message alone awaits the reading.
        if (statusByte & kReadyBit)
            ReadData(statusByte);
        else if (m_bus.UsesGpib() && !m_bus.ArmServiceRequest(m_relay))
            OnGpibError("In OnMsg2600Sweep(), command ibnotify has an Error");
        return;
    }
    if ((statusByte & kMessageBit) && HasMessages(m_firmwareCode))
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
        if (!QueueWritingFirst(kReadCommand) || !SendQueue()) {
            failed = true;
            return std::nullopt;
        }
        std::optional<std::string> part = m_bus.Read(chunkBytes);
        if (!part && m_bus.UsesUsb()) {
            instrument::SleepMilliseconds(200);
            if (m_bus.Write(kReadCommand))
                LogText(SentLine(kReadCommand));
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
        LogText(ReceivedLine(TextOfReply(buffer.data(), buffer.size())));
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
    if ((statusByte & kMessageBit) && !TakeMessages(statusByte))
        return;
    if (const std::optional<std::string> missing = ParseReadingReply(*text, m_caps.channelCount, m_sweep.reading)) {
        On2600Error(*missing, statusByte);
        return;
    }

    const std::optional<double> stepOrigin = JudgeAndDeliverReading(Texts());
    if (!stepOrigin || !IsMeasuring())
        return;
    SendNextMeasurement(*stepOrigin);
}

void Analyzer2600Engine::ReadingDelivered()
{
    if (m_observer)
        m_observer->OnReadingAccepted(m_sweep.reading.frequency);
}

void Analyzer2600Engine::SendNextMeasurement(double stepOrigin)
{
    const double next = NextPointFrequency(stepOrigin);
    // The amplitude limits for the point about to be measured apply last: a lowered amplitude
    // replaces one the servo or the field queued, and the reading records what was sent.
    ApplyMaxAcVoltsOut(m_fields.maxAcVoltsOut, next);
    if (ApplyAcVoltsOut(m_fields.acVoltsOut, next)) {
        QueueAmplitude();
        EmitFieldsChanged();
    }
    m_amplitudeInEffect = AmplitudeAsSent(m_fields.acVoltsOut);
    if (!QueueWritingFirst(MeasureAtCommand(next)) || !SendQueue()) {
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
        LogText(SentLine(command));
    }
    if (m_bus.UsesGpib() && !m_dcOn) {
        gpib::ibonl(m_bus.device, 1);
        LogText("GPIB connection is closed.");
        m_initialized = false;
    }
}

void Analyzer2600Engine::ShutDownAnalyzerOnError()
{
    if (m_bus.UsesGpib()) {
        ShutDownGpib(ErrorStopCommands(), "ShutDownAnalyzerOnError", "GPIB connection is closed.");
        return;
    }
    m_bus.lastUsbStatus = tal2600_DisableEvent(m_bus.vi, visa::VI_EVENT_SERVICE_REQ, visa::VI_HNDLR);
    if (m_bus.lastUsbStatus < visa::VI_SUCCESS) {
        // After a bus failure the session failing again is no news: one report per failure.
        if (m_busError)
            LogText("In ShutDownAnalyzerOnError(), command tal2600_DisableEvent has an Error\r\n");
        else
            OnGpibError("In ShutDownAnalyzerOnError(), command tal2600_DisableEvent has an Error");
    }
    if (!m_busError) {
        for (const std::string& command : ErrorStopCommands()) {
            if (!m_bus.Write(command)) {
                LogText("In ShutDownAnalyzerOnError(), command tal2600_WriteInstrData has an Error");
                break;
            }
            LogText(SentLine(command));
        }
    }
}
