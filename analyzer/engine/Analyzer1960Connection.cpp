// Opening and identifying the analyzer, moving it to the application's address, and closing.

#include "analyzer/engine/Analyzer1960Engine.h"

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/family1960/Commands.h"
#include "analyzer/sweep/ReplyTokenizer.h"
#include "instrument/gpib/Gpib.h"

using namespace analyzer;
using namespace analyzer::family1960;

namespace {

constexpr std::size_t kReplyBytes = 511;
constexpr const char* kCannotOpen =
    "Can't open GPIB connection.\r\nPlease ensure the National Instruments GPIB Software is installed.";
constexpr const char* kCannotClear =
    "Cannot clear GPIB bus.\r\nPlease ensure analyzer is set to address 8, connected, and turned on.";

} // namespace

// ibdev at address on the "GPIB Interface" board, then ibclr.
bool Analyzer1960Engine::OpenDevice(int address)
{
    if (m_bus.device >= 0) {
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
    }
    m_deviceOpen = false;
    m_bus.Choose(false, std::clamp(m_host.InterfaceIndex(), 0, 3));
    const int device = gpib::ibdev(m_bus.Board(), address, 0, gpib::T10s, 1, 0);
    if (device < 0) {
        OnCannotOpen(kCannotOpen);
        return false;
    }
    m_bus.device = device;
    if (gpib::ibclr(m_bus.device) & gpib::ERR) {
        OnGpibError(kCannotClear);
        return false;
    }
    m_deviceOpen = true;
    return true;
}

bool Analyzer1960Engine::InitializeAnalyzer()
{
    m_sweep.servoRetried = false;
    m_queue.clear();
    if (!m_deviceOpen) {
        const int address = m_addressChangePending ? m_host.GpibAddressAnalyzer() : m_host.GpibAddressApplication();
        if (m_bus.device >= 0) {
            gpib::ibonl(m_bus.device, 0);
            m_bus.device = -1;
        }
        const int device = gpib::ibdev(std::clamp(m_host.InterfaceIndex(), 0, 3), address, 0, gpib::T10s, 1, 0);
        // A failed ibdev also sets ERR, so the negative descriptor (no GPIB software) is looked at first.
        if (device < 0) {
            OnCannotOpen(kCannotOpen);
            return false;
        }
        if (gpib::ibsta & gpib::ERR) {
            gpib::ibonl(device, 0);
            OnGpibError("In InitializeAnalyzer(), can't initialize device");
            return false;
        }
        m_bus.device = device;
        LogText("GPIB connection opened.\r\n");
        if (gpib::ibclr(m_bus.device) & gpib::ERR) {
            OnGpibError(kCannotClear);
            return false;
        }
        m_deviceOpen = true;
    }
    m_initialized = true;

    if (!m_bus.Write(kIdentifyQuery)) {
        OnGpibError("In InitializeAnalyzer(), command WriteToGPIB has an Error");
        return false;
    }
    const std::optional<std::string> reply = m_bus.Read(kReplyBytes);
    if (!reply) {
        OnGpibError("In InitializeAnalyzer(), command ReadFromGPIB has an Error");
        return false;
    }
    if (TextOfReply(reply->data(), reply->size()).find(Texts().identification) == std::string_view::npos) {
        LogText(Texts().notFound);
        m_initialized = false;
        StopWhatRuns("Error in " + Texts().family.dialogClass + "::InitializeAnalyzer");
        return false;
    }
    LogText(Texts().found);
    if (m_addressChangePending && !ChangeAddress())
        return false;

    m_initialized = true;
    m_queue.clear();
    m_addressChangePending = false;
    if (!m_dcOn) {
        m_queue += Texts().modeCommand;
        return true;
    }
    return WriteModeCommand();
}

// Tells the analyzer the application's address, then continues there.
bool Analyzer1960Engine::ChangeAddress()
{
    const int address = m_host.GpibAddressApplication();
    m_queue += AddressCommand(address);
    if (!m_bus.Write(m_queue)) {
        m_queue.clear();
        OnGpibError("In InitializeAnalyzer(), command WriteToGPIB has an Error");
        return false;
    }
    LogText(SentLine(m_queue));
    m_queue.clear();
    m_host.SetGpibAddressAnalyzer(address);
    return OpenDevice(address);
}

// With the DC output on the analyzer is in use: the mode is set at once and checked.
bool Analyzer1960Engine::WriteModeCommand()
{
    const std::string mode = Texts().modeCommand;
    if (!m_bus.Write(mode)) {
        OnGpibError("In InitializeAnalyzer(), command WriteToGPIB has an Error");
        return false;
    }
    const std::optional<int> status = m_bus.SerialPoll();
    if (!status) {
        OnGpibError("In InitializeAnalyzer(), command ReadSerialPoll has an Error");
        return false;
    }
    if (*status & 0x20) {
        OnStatusError("In StartAnalyzer(), serial poll shows an error", *status);
        return false;
    }
    LogText(SentLine(mode));
    return true;
}

void Analyzer1960Engine::CloseConnection()
{
    if (m_bus.device >= 0) {
        gpib::ibnotify(m_bus.device, 0, nullptr, nullptr);
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
    }
    m_deviceOpen = false;
    m_initialized = false;
}

void Analyzer1960Engine::OnClose()
{
    if (m_sweeping)
        StopSweep();
    if (m_startFrequencyMode)
        StopStartFrequencyMode();
    if (CloseTakesDeviceOffline() && m_bus.device >= 0) {
        gpib::ibonl(m_bus.device, 0);
        m_bus.device = -1;
        m_deviceOpen = false;
        m_initialized = false;
    }
    if (PostAcquisitionEnded())
        return;
    CloseWithoutDisplay();
}

void Analyzer1960Engine::CloseWithoutDisplay()
{
    DumpParameters(m_host.PreferenceBlock());
    emit DestroyRequested();
}
