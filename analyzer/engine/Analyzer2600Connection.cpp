// Opening, clearing and identifying the analyzer, its capabilities, the version query and its
// messages, and closing the connection.

#include "analyzer/engine/Analyzer2600Engine.h"

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/family2600/Commands.h"
#include "analyzer/family2600/Identification.h"
#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/ReplyTokenizer.h"
#include "data/ApplicationData.h"
#include "data/Prompter.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Tal2600Driver.h"
#include "instrument/visa/UsbSrqHandler.h"

using namespace analyzer;
using namespace analyzer::family2600;

namespace {

constexpr int kUsbInterface = 4;
// Bounds the messages ReadMessages takes in one go, in case the message bit never clears.
constexpr int kMaxMessages = 32;
constexpr std::size_t kMessageBytes = 64;

const char* BoardName(int board)
{
    switch (board) {
    case 1: return "GPIB1";
    case 2: return "GPIB2";
    case 3: return "GPIB3";
    default: return "GPIB0";
    }
}

} // namespace

void Analyzer2600Engine::PrepareBoard()
{
    const int board = m_bus.Board();
    const int descriptor = gpib::ibfindA(BoardName(board));
    gpib::SendIFC(board);
    gpib::ibconfig(descriptor, gpib::IbcAUTOPOLL, 0);
    m_boardPrepared = (gpib::ibconfig(descriptor, gpib::IbcAUTOPOLL, 1) & gpib::ERR) == 0;
}

bool Analyzer2600Engine::InitializeAnalyzer(bool showErrors)
{
    const bool usb = m_host.InterfaceIndex() == kUsbInterface;
    m_bus.Choose(usb, usb ? 0 : m_host.InterfaceIndex());
    ReplaceLog("");
    if (!(usb ? OpenUsbSession() : OpenGpibDevice(showErrors)))
        return false;

    m_initialized = true;
    if (!ClearDevice()) {
        m_initialized = false;
        return false;
    }
    return IdentifyAnalyzer();
}

bool Analyzer2600Engine::OpenGpibDevice(bool showErrors)
{
    if (m_bus.device >= 0) {
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
    }
    const int board = m_bus.Board();
    if (m_host.GpibAddressApplication() != m_host.GpibAddressAnalyzer()) {
        m_addressChangePending = true;
        m_bus.device = gpib::ibdev(board, m_host.GpibAddressAnalyzer(), 0, gpib::T10s, 1, 0);
        const bool sent = QueueWritingFirst(AddressCommand(m_host.GpibAddressApplication())) && SendQueue();
        instrument::SleepMilliseconds(600);
        if (m_bus.device >= 0)
            gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
        if (!sent)
            return false;
        m_host.SetGpibAddressAnalyzer(m_host.GpibAddressApplication());
    }

    m_bus.device = gpib::ibdev(board, m_host.GpibAddressAnalyzer(), 0, gpib::T10s, 1, 0);
    // A failed ibdev also sets ERR, so the negative descriptor (no GPIB software) is looked at first.
    if (m_bus.device < 0) {
        OnCannotOpen("Can't open GPIB connection.\r\nPlease ensure the National Instruments GPIB Software is installed.");
        return false;
    }
    if (gpib::ibsta & gpib::ERR) {
        OnGpibError("In InitializeAnalyzer(), can't initialize device");
        return false;
    }
    LogText("GPIB connection opened.\r\n");
    if (gpib::ibclr(m_bus.device) & gpib::ERR) {
        if (showErrors)
            OnGpibError("Cannot clear GPIB bus.\r\nPlease ensure analyzer is connected, turned on, and the "
                        "address is set correctly.");
        else
            ShowMessage("No Analyzer Detected  ", kAnalyzerMenuCaption);
        return false;
    }
    return true;
}

bool Analyzer2600Engine::OpenUsbSession()
{
    LogText("opening USB connection...\r\n");
    EmitControlsChanged();  // lets the dialog redraw before the blocking open
    if (m_bus.vi != 0 || m_bus.rm != 0) {
        tal2600_close(m_bus.vi, m_bus.rm);
        m_bus.vi = m_bus.rm = 0;
    }
    const std::string resource = Tal2600ResourceName(static_cast<unsigned>(m_host.ModelCode()),
                                                     static_cast<unsigned>(m_host.SerialNumber()));
    m_bus.lastUsbStatus = tal2600_init(resource.c_str(), true, false, &m_bus.vi, &m_bus.rm);
    if (m_bus.lastUsbStatus < visa::VI_SUCCESS) {
        m_bus.vi = m_bus.rm = 0;
        OnGpibError("Can't open USB connection.\r\nPlease insure the Agilent Instrument Driver Software is "
                    "installed and analyzer is turned on.");
        return false;
    }
    m_bus.lastUsbStatus = tal2600_InstallHandler(m_bus.vi, visa::VI_EVENT_SERVICE_REQ, UsbSrqHandler,
                                                 static_cast<instrument::SrqSink*>(m_relay));
    if (m_bus.lastUsbStatus < visa::VI_SUCCESS) {
        OnGpibError("Can't install SRQ event handler.\r\nPlease insure the Agilent Instrument Driver Software "
                    "is installed.  ");
        tal2600_close(m_bus.vi, m_bus.rm);
        m_bus.vi = m_bus.rm = 0;
        return false;
    }
    ReplaceLog("USB connection opened.\r\n");
    return true;
}

bool Analyzer2600Engine::ClearDevice()
{
    if (!WriteAtOnce(kClearCommand, "ClearDevice"))
        return false;
    instrument::SleepMilliseconds(300);
    // A status byte that stays non-zero after eight polls is accepted.
    for (int poll = 0; poll < 8; ++poll) {
        const std::optional<int> status = m_bus.SerialPoll();
        if (!status) {
            OnGpibError("In ClearDevice(), failed to serial poll");
            return false;
        }
        if (*status == 0)
            break;
    }
    return true;
}

bool Analyzer2600Engine::IdentifyAnalyzer()
{
    if (!WriteAtOnce(kIdentifyQuery, "InitializeAnalyzer"))
        return false;
    if (m_bus.UsesGpib())
        instrument::SleepMilliseconds(300);
    const std::optional<std::string> reply = m_bus.Read(m_bus.UsesGpib() ? 511 : 64);
    if (!reply) {
        OnGpibError(CommandContext("InitializeAnalyzer", m_bus.ReadCall()));
        return false;
    }
    const Identification id = ParseIdentification(TextOfReply(reply->data(), reply->size()));
    if (!id.recognized) {
        LogText(kAnalyzerNotFound);
        m_initialized = false;
        StopWhatRuns("Error in CAnalyzer2600Dlg::InitializeAnalyzer");
        return false;
    }
    LogText(kAnalyzerFound);
    m_firmwareCode = id.firmwareCode;
    m_initialized = true;
    m_addressChangePending = false;
    if (!m_dcOn) {
        m_modePending = true;
        return true;
    }
    // With the DC output on the analyzer is in use: the mode is set at once and checked.
    if (!WriteAtOnce(kModeCommand, "InitializeAnalyzer"))
        return false;
    const std::optional<int> status = m_bus.SerialPoll();
    if (!status) {
        OnGpibError("In InitializeAnalyzer(), command ReadSerialPoll has an Error");
        return false;
    }
    if (*status & 0x20) {
        On2600Error("In InitializeAnalyzer(), serial poll shows an error", *status);
        return false;
    }
    return true;
}

bool Analyzer2600Engine::InitDialogStage2(const std::string& preferenceBlock)
{
    if (!InitializeAnalyzer(false))
        return false;
    if (!QueryCapabilities())
        return false;
    m_controls.channel3Enabled = m_caps.channelCount >= 3;
    m_controls.channel4Enabled = m_caps.channelCount >= 4;
    FillChannelLists();
    if (!preferenceBlock.empty())
        ApplyPreferences(preferenceBlock);
    m_controls.optionListEnabled = OptionListEnabled(m_caps);
    if (!WriteAtOnce(PrepareCommand(m_caps), "InitDialogStage2"))
        return false;
    if (!ImpedanceListsEnabled(m_caps)) {
        m_controls.impedanceListsEnabled = false;
        m_controls.waveformListEnabled = false;
    }
    EmitFieldsChanged();
    EmitControlsChanged();
    return true;
}

bool Analyzer2600Engine::QueryCapabilities()
{
    if (!WriteAtOnce(kCapabilityQuery, "OnInitDialog"))
        return false;
    if (m_bus.UsesGpib())
        instrument::SleepMilliseconds(300);
    const std::optional<std::string> reply = m_bus.Read(m_bus.UsesGpib() ? 11 : 64);
    if (!reply) {
        OnGpibError(CommandContext("OnInitDialog", m_bus.ReadCall()));
        return false;
    }
    m_caps = ParseCapabilityReply(TextOfReply(reply->data(), reply->size()));
    appData().channelCount = m_caps.channelCount;
    m_host.SetOptionBits(m_caps.optionBits);
    m_limits = LimitsFor(m_caps, m_fields.waveform, m_fields.outputImpedance);
    m_limits.maximumForSettings = m_caps.maximumFrequency;
    // The AC output's lower limit may have risen with the hardware class.
    m_fields.acVoltsOut = LimitAcVoltsOut(m_fields.acVoltsOut, m_caps.minimumAcOutput, m_fields.outputImpedance,
                                          false, 0.0, m_fields.dcVoltsOut);
    return true;
}

void Analyzer2600Engine::OnBnClickedVersionInfo()
{
    if (IsMeasuring())
        return;
    if ((m_addressChangePending || !m_initialized) && !InitializeAnalyzer(true))
        return;
    const std::string query = VersionQuery(m_firmwareCode);
    if (HasMessages(m_firmwareCode)) {
        if (!WriteAtOnce(query, "OnBnClickedVersionInfo"))
            return;
        if (!m_bus.ArmServiceRequest(m_relay)) {
            OnGpibError(m_bus.UsesGpib()
                            ? "In OnBnClickedVersionInfo(), command ibnotify has an Error"
                            : "In OnBnClickedVersionInfo(), command tal2600_EnableEvent has an Error");
            return;
        }
        m_awaitingMessages = true;
        return;
    }
    if (!WriteAtOnce(query, "OnBnClickedVersionInfo"))
        return;
    instrument::SleepMilliseconds(300);
    const std::optional<std::string> reply = m_bus.Read(92);
    if (!reply) {
        OnGpibError(CommandContext("OnInitDialog", m_bus.ReadCall()));
        return;
    }
    LogText(UpdateReplyLogLine(TextOfReply(reply->data(), reply->size())));
}

void Analyzer2600Engine::ReadMessages(int statusByte)
{
    m_awaitingMessages = false;
    if (TakeMessages(statusByte))
        WriteAtOnce(kServiceRequestOff, "ReadMessages");
}

bool Analyzer2600Engine::TakeMessages(int& statusByte)
{
    for (int taken = 0; (statusByte & 0x10) && taken < kMaxMessages; ++taken) {
        if (!m_bus.Write(kReadCommand)) {
            OnGpibError(CommandContext("ReadMessages", m_bus.WriteCall()));
            return false;
        }
        const std::optional<std::string> reply = m_bus.Read(kMessageBytes);
        if (!reply) {
            OnGpibError(CommandContext("ReadMessages", m_bus.ReadCall()));
            return false;
        }
        const std::optional<int> status = m_bus.SerialPoll();
        if (!status) {
            OnGpibError("In ReadMessages(), failed to serial poll");
            return false;
        }
        statusByte = *status;
        LogText(MessageLogLine(kReadCommand, TextOfReply(reply->data(), reply->size())));
    }
    return true;
}

void Analyzer2600Engine::ShutDownAnalyzer()
{
    if (m_sweeping)
        StopSweep();
    else if (m_startFrequencyMode)
        StopStartFrequencyMode();
    m_log.SetSuppressed(true);
    m_queue.Clear();
    if (m_initialized) {
        bool queued = true;
        for (const std::string& command : ShutDownCommands(m_caps))
            queued = queued && QueueWritingFirst(command);
        if (queued)
            SendQueue();
    }
    m_queue.Clear();
    CloseConnection();
    m_initialized = false;
    CloseAsDialog();
    m_log.SetSuppressed(false);
}

void Analyzer2600Engine::CloseConnection()
{
    if (m_bus.device >= 0) {
        gpib::ibnotify(m_bus.device, 0, nullptr, nullptr);
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
    }
    if (m_bus.vi != 0 || m_bus.rm != 0) {
        tal2600_close(m_bus.vi, m_bus.rm);
        m_bus.vi = m_bus.rm = 0;
    }
}

void Analyzer2600Engine::OnClose()
{
    CloseAsDialog();
}

void Analyzer2600Engine::CloseAsDialog()
{
    if (PostAcquisitionEnded())
        return;
    DumpParameters(m_host.PreferenceBlock());
    emit DestroyRequested();
}
