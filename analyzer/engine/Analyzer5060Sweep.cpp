// Opening and identifying the analyzer, a sweep and the start-frequency readings, each service
// request with its reading, the DC output and the ways a measurement stops.

#include "analyzer/engine/Analyzer5060Engine.h"

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/family5060/Commands.h"
#include "analyzer/family5060/ReadingReply.h"
#include "analyzer/family5060/Texts.h"
#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/ReadingJudgement.h"
#include "analyzer/sweep/ReplyTokenizer.h"
#include "instrument/gpib/Gpib.h"

using namespace analyzer;
using namespace analyzer::family5060;

namespace {

constexpr std::size_t kReplyBytes = 511;
constexpr int kReadyBit = 0x01;
constexpr int kErrorBit = 0x10;
constexpr const char* kCannotOpen =
    "Can't open GPIB connection.\r\nPlease ensure the National Instruments GPIB Software is installed.";

} // namespace

// --- Connection ------------------------------------------------------------------------------------

bool Analyzer5060Engine::InitializeAnalyzer()
{
    m_sweep.servoRetried = false;
    m_queue.clear();
    // A descriptor left by an identification that failed is freed before a new one is opened.
    if (m_bus.device >= 0) {
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
    }
    m_bus.Choose(false, std::clamp(m_host.InterfaceIndex(), 0, 3));
    const int device = gpib::ibdev(m_bus.Board(), m_host.GpibAddressApplication(), 0, gpib::T10s, 1, 0);
    if (device < 0) {
        OnCannotOpen(kCannotOpen);
        return false;
    }
    m_bus.device = device;
    LogText("GPIB connection opened.\r\n");
    if (gpib::ibclr(m_bus.device) & gpib::ERR) {
        OnGpibError("Cannot clear GPIB bus.\r\nPlease ensure analyzer is set to address 8, connected, and turned on.");
        return false;
    }
    m_initialized = true;

    if (!m_bus.Write(kIdentifyQuery)) {
        OnGpibError("In StartAnalyzer(), command WriteToGPIB has an Error");
        return false;
    }
    const std::optional<std::string> reply = m_bus.Read(kReplyBytes);
    if (!reply) {
        OnGpibError("In StartAnalyzer(), command ReadFromGPIB has an Error");
        return false;
    }
    const std::string_view id = TextOfReply(reply->data(), reply->size());
    if (id.find("5060A") != std::string_view::npos) {
        m_limits.maximum = 2.2e6;
        LogText("5060A Analyzer found.\r\n");
    } else if (id.find("5060") != std::string_view::npos) {
        m_limits.maximum = 1e6;
        LogText("5060 Analyzer found.\r\n");
    } else {
        m_limits.maximum = 2.2e6;
        LogText("No Analyzer found.\r\n");
        m_initialized = false;
        StopWhatRuns("Error in CAnalyzer5060Dlg::StartAnalyzer");
        return false;
    }
    m_limits.maximumForSettings = m_fields.waveform == Waveform::Sine ? m_limits.maximum : 1e5;

    if (!m_dcOn) {
        m_queue += kModeCommand;
        return true;
    }
    // With the DC output on the analyzer is in use: the mode is set at once and checked.
    if (!m_bus.Write(kModeCommand)) {
        OnGpibError("In StartAnalyzer(), command WriteToGPIB has an Error");
        return false;
    }
    const std::optional<int> status = m_bus.SerialPoll();
    if (!status) {
        OnGpibError("In StartAnalyzer(), command ReadSerialPoll has an Error");
        return false;
    }
    if (*status & kErrorBit) {
        On5060Error("In StartAnalyzer(), serial poll shows an error", *status);
        return false;
    }
    LogText(SentLine(kModeCommand));
    return true;
}

// --- The DC button ------------------------------------------------------------------------------

void Analyzer5060Engine::WriteDcOutputOn()
{
    SetDcVoltsOut(m_fields.dcVoltsOut);
    if (m_dcOn && !m_busError && !m_analyzerError)
        WriteAtOnce(kDcOutputOnCommand, "OnCheckDc");
}

// --- Start of a measurement ---------------------------------------------------------------------

void Analyzer5060Engine::StartAnalyzer()
{
    if (!IsMeasuring())
        return;
    ResetReadings();
    if (!m_initialized && !InitializeAnalyzer())
        return;
    if (!IsMeasuring())
        return;
    const std::optional<int> status = m_bus.SerialPoll();
    if (!status) {
        OnGpibError("In StartAnalyzer(), command ReadSerialPoll has an Error");
        return;
    }
    if (*status & kErrorBit) {
        On5060Error("In StartAnalyzer(), serial poll shows an error", *status);
        return;
    }

    ApplyFrequencyLimits();
    if (m_fields.servoOn)
        m_fields.acVoltsOut = 0.01;
    SetMaxAcVoltsOutField(m_fields.maxAcVoltsOut);
    m_amplitudeInEffect = AmplitudeAsSent(m_fields.acVoltsOut);
    SetDcVoltsOut(m_fields.dcVoltsOut);
    m_queue += IntegrationCommands(m_fields);
    TakeSweepSettings();
    m_sweep.servoRetried = false;
    m_queue += WaveformCommand(m_fields.waveform);
    m_queue += kOutputOnCommand;
    m_queue += MeasureAtCommand(m_sweep.startFrequency);
    m_commandedFrequency = m_sweep.startFrequency;
    EmitFieldsChanged();

    if (!WriteQueue("StartAnalyzer"))
        return;
    if (!m_bus.ArmServiceRequest(m_relay))
        OnGpibError("In StartAnalyzer(), command ibnotify has an Error");
}

bool Analyzer5060Engine::WriteQueue(const char* operation)
{
    const std::string text = std::move(m_queue);
    m_queue.clear();
    return WriteAtOnce(text, operation);
}

// --- Service request and reading ----------------------------------------------------------------

void Analyzer5060Engine::OnMsg5060Sweep()
{
    if (m_busError || m_analyzerError || !IsMeasuring())
        return;
    const std::optional<int> polled = m_bus.SerialPoll();
    if (!polled) {
        OnGpibError("In OnMsg5060Sweep(), command ReadSerialPoll has an Error");
        return;
    }
    const int status = *polled;
    if (status & kErrorBit) {
        On5060Error("In OnMsg5060Sweep(), serial poll shows an error", status);
        return;
    }
    if (!(status & kReadyBit)) {
        On5060Error("In OnMsg5060Sweep(), no data ready", status);
        return;
    }
    const std::optional<std::string> reply = m_bus.Read(kReplyBytes);
    if (!reply) {
        OnGpibError("In OnMsg5060Sweep(), command ReadFromGPIB has an Error");
        PostStopOfMeasurement();
        return;
    }
    const std::string text(TextOfReply(reply->data(), reply->size()));
    LogText("Received:" + text);

    m_sweep.previous = m_sweep.reading;
    m_sweep.reading.outputAmplitude = m_amplitudeInEffect;
    if (const std::optional<std::string> missing = ParseMeasurementReply(text, m_sweep.reading)) {
        On5060Error(*missing, status);
        return;
    }

    const std::optional<double> stepOrigin = JudgeAndDeliverReading(Texts());
    m_amplitudeInEffect = AmplitudeAsSent(m_fields.acVoltsOut);
    if (!stepOrigin || !IsMeasuring())
        return;

    const double next = NextPointFrequency(*stepOrigin);
    m_queue += MeasureAtCommand(next);
    if (!WriteQueue("OnMsg5060Sweep")) {
        PostStopOfMeasurement();
        return;
    }
    if (!m_bus.ArmServiceRequest(m_relay)) {
        OnGpibError("In OnMsg5060Sweep(), command ibnotify has an Error");
        return;
    }
    OnDataPointTaken(m_sweep.reading.frequency);
}

// --- Stopping ---------------------------------------------------------------------------------------

void Analyzer5060Engine::StopAnalyzer()
{
    if (m_bus.device < 0)
        return;
    if (gpib::ibnotify(m_bus.device, 0, nullptr, nullptr) & gpib::ERR) {
        OnGpibError("In StopAnalyzer(), command ibnotify has an Error");
        return;
    }
    const std::string command = StopCommand(m_dcOn);
    if (m_bus.Write(command))
        LogText(SentLine(command));
    else
        OnGpibError("In StopAnalyzer(), command WriteToGPIB has an Error");
    if (!m_dcOn && m_initialized) {
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
        LogText("GPIB connection is closed.\r\n");
        m_initialized = false;
    }
}

void Analyzer5060Engine::ShutDownAnalyzerOnError()
{
    if (m_bus.device < 0) {
        m_initialized = false;
        return;
    }
    ShutDownGpib({kErrorStopCommand}, "StopAnalyzer", "GPIB connection is closed.\r\n");
}

void Analyzer5060Engine::CloseConnection()
{
    if (m_bus.device >= 0) {
        gpib::ibnotify(m_bus.device, 0, nullptr, nullptr);
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
    }
    m_initialized = false;
}

void Analyzer5060Engine::OnClose()
{
    if (m_sweeping)
        StopSweep();
    if (m_startFrequencyMode)
        StopStartFrequencyMode();
    if (PostAcquisitionEnded())
        return;
    StoreParametersAndHide();
}
