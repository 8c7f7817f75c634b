// A sweep and the start-frequency readings: the buttons, the start of a measurement, each service
// request with its reading, judgement and next point, the DC output and the ways a measurement stops.

#include "analyzer/engine/Analyzer1960Engine.h"

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/family1960/Commands.h"
#include "analyzer/family1960/ReadingReply.h"
#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/ReadingJudgement.h"
#include "analyzer/sweep/ReplyTokenizer.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/gpib/GpibSrqCallback.h"

using namespace analyzer;
using namespace analyzer::family1960;

namespace {

constexpr std::size_t kReplyBytes = 511;
constexpr int kEventSummaryBit = 0x20;
constexpr int kRequestBit = 0x40;

} // namespace

// --- The DC button ------------------------------------------------------------------------------

bool Analyzer1960Engine::ConnectForDcOutput()
{
    if (m_host.GpibAddressApplication() != m_host.GpibAddressAnalyzer())
        m_addressChangePending = true;
    return !((m_addressChangePending || !m_initialized) && !InitializeAnalyzer());
}

void Analyzer1960Engine::WriteDcOutputOn()
{
    SetDcVoltsOut(m_fields.dcVoltsOut);
    if (m_dcOn && !m_busError && !m_analyzerError)
        WriteAtOnce(kDcOutputOnCommand, "OnCheckDc");
}

// --- Start of a measurement ---------------------------------------------------------------------

void Analyzer1960Engine::StartAnalyzer()
{
    if (!IsMeasuring())
        return;
    ResetReadings();
    if (m_host.GpibAddressApplication() != m_host.GpibAddressAnalyzer())
        m_addressChangePending = true;
    if ((!m_initialized || m_addressChangePending) && !InitializeAnalyzer())
        return;
    if (!IsMeasuring())
        return;

    ApplyFrequencyLimits();
    if (m_fields.servoOn)
        m_fields.acVoltsOut = 0.01;
    QueueStartSettings();
    // The step of the sweep type: the values in use start from the user's.
    m_fields.stepsPerDecade = ClampStepsPerDecade(m_fields.stepsPerDecade);
    m_fields.frequencyStep = ClampFrequencyStep(m_fields.frequencyStep, FrequencyStepMinimum(),
                                                m_limits.maximum);
    TakeSweepSettings();
    m_sweep.servoRetried = false;
    m_queue += kOutputOnCommand;
    // Bands are decided on the frequency as the command carries it (four digits).
    QueueBandFor(RoundToSignificant(m_sweep.startFrequency, 4));
    m_queue += MeasureAtCommand(m_sweep.startFrequency);
    m_commandedFrequency = m_sweep.startFrequency;
    EmitFieldsChanged();

    if (!WriteQueue("StartAnalyzer"))
        return;
    if (!m_bus.ArmServiceRequest(m_relay))
        OnGpibError("In StartAnalyzer(), command ibnotify has an Error");
}

void Analyzer1960Engine::QueueStartSettings()
{
    SetMaxAcVoltsOutField(m_fields.maxAcVoltsOut);
    m_amplitudeInEffect = AmplitudeAsSent(m_fields.acVoltsOut);
    SetDcVoltsOut(m_fields.dcVoltsOut);
    m_queue += CouplingCommand(m_fields.coupling);
    m_queue += DelayCommand(m_fields.delay);
    QueueIntegration();
    m_queue += WaveformCommand(m_fields.waveform);
}

void Analyzer1960Engine::QueueIntegration()
{
    QueueIfMeasuring(IntegrationCommand(m_fields.integrationByTime, m_fields.speed, m_fields.cycles));
}

// One write of the whole command text, logged; the text is emptied either way.
bool Analyzer1960Engine::WriteQueue(const char* operation)
{
    const std::string text = std::move(m_queue);
    m_queue.clear();
    return WriteAtOnce(text, operation);
}

// --- Service request and reading ----------------------------------------------------------------

void Analyzer1960Engine::OnMsgSweep()
{
    if (m_busError || m_analyzerError || !IsMeasuring())
        return;
    const char* handler = Texts().family.sweepHandler.c_str();
    const std::optional<int> polled = m_bus.SerialPoll();
    if (!polled) {
        OnGpibError(Context(handler, "command ReadSerialPoll has an Error"));
        return;
    }
    const int status = *polled;
    if (status & kEventSummaryBit) {
        OnStatusError(Context(handler, "serial poll shows an error"), status);
        return;
    }
    if (!(status & kRequestBit)) {
        OnStatusError(Context(handler, "no data ready"), status);
        return;
    }
    const std::optional<std::string> reply = m_bus.Read(kReplyBytes);
    if (!reply) {
        OnGpibError(Context(handler, "command ReadFromGPIB has an Error"));
        PostStopOfMeasurement();
        return;
    }
    const std::string text(TextOfReply(reply->data(), reply->size()));
    LogText(ReceivedLine(text));

    m_sweep.previous = m_sweep.reading;
    m_sweep.reading.outputAmplitude = m_amplitudeInEffect;
    if (const std::optional<std::string> missing = ParseGainPhaseReply(text, Texts().family, m_sweep.reading)) {
        OnStatusError(*missing, status);
        return;
    }

    const std::optional<double> stepOrigin = JudgeAndDeliverReading(Texts().family);
    if (!stepOrigin || !IsMeasuring())
        return;

    const double next = NextPointFrequency(*stepOrigin);
    QueueNextPointSettings(RoundToSignificant(next, 4));
    m_amplitudeInEffect = AmplitudeAsSent(m_fields.acVoltsOut);
    m_queue += MeasureAtCommand(next);
    if (!WriteQueue(handler)) {
        PostStopOfMeasurement();
        return;
    }
    if (!m_bus.ArmServiceRequest(m_relay)) {
        OnGpibError(Context(handler, "command ibnotify has an Error"));
        return;
    }
    OnDataPointTaken(m_sweep.reading.frequency);
}

// --- Stopping ---------------------------------------------------------------------------------------

void Analyzer1960Engine::StopAnalyzer()
{
    if (m_bus.device < 0)
        return;
    if (gpib::ibnotify(m_bus.device, 0, nullptr, nullptr) & gpib::ERR) {
        OnGpibError("In StopAnalyzer(), command ibnotify has an Error");
        return;
    }
    gpib::ibclr(m_bus.device);
    const std::string command = StopCommand(m_dcOn);
    if (m_bus.Write(command))
        LogText(SentLine(command));
    else
        OnGpibError(CommandContext("StopAnalyzer", m_bus.WriteCall()));
    if (!m_dcOn && m_initialized) {
        gpib::ibonl(m_bus.device, 1);
        LogText("GPIB connection is closed.");
        m_initialized = false;
    }
}

void Analyzer1960Engine::ShutDownAnalyzerOnError()
{
    if (m_bus.device < 0) {
        m_initialized = false;
        return;
    }
    ShutDownGpib({kErrorStopCommand}, "StopAnalyzer", "GPIB connection is closed.");
    m_deviceOpen = false;
}
