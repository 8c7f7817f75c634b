// Construction, what the dialog shows, the preference block and the engine's log and messages.

#include "analyzer/engine/Analyzer2600Engine.h"

#include <algorithm>
#include <cmath>

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/engine/SweepStepObserver.h"
#include "analyzer/family2600/Identification.h"
#include "analyzer/family2600/ParameterDump.h"
#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/NumberText.h"
#include "data/ApplicationData.h"
#include "data/Prompter.h"
#include "instrument/Sleeper.h"

using namespace analyzer;
using namespace analyzer::family2600;

namespace {

constexpr int kUsbInterface = 4;
constexpr int kAnalyzer1370 = 11;

} // namespace

Analyzer2600Engine::Analyzer2600Engine(AnalyzerHost& host, QObject* parent)
    : AnalyzerEngine(host, parent), m_firmwareCode(kUnknownFirmwareCode)
{
    m_relay = ServiceRequestRelay::Create(this, [this](int statusByte) {
        HandleServiceRequest([&] { OnMsg2600Sweep(statusByte); });
    });
    m_limits = LimitsFor(m_caps, m_fields.waveform, m_fields.outputImpedance);
    m_host.SetOutput5Vmax(false, true);
    m_host.SetInput15Vmax(false, true);
    SetChannelCount(appData().channelCount);
    if (m_host.AnalyzerType() == kAnalyzer1370)
        m_controls.impedanceListsEnabled = false;
    ReplaceLog("");
    if (m_host.InterfaceIndex() == kUsbInterface) {
        m_bus.Choose(true, 0);
        ReplaceLog("Opening USB connection...\r\n");
    } else {
        m_bus.Choose(false, m_host.InterfaceIndex());
        PrepareBoard();
    }
}

Analyzer2600Engine::~Analyzer2600Engine()
{
    m_relay->Detach();
    CloseConnection();
}

void Analyzer2600Engine::SetChannelCount(int count)
{
    m_caps.channelCount = std::clamp(count, 2, 4);
    FillChannelLists();
}

void Analyzer2600Engine::SetStepObserver(SweepStepObserver* observer)
{
    m_observer = observer;
    m_relay->SetObserver(observer);
}

// --- What the dialog shows ----------------------------------------------------------------------

std::string Analyzer2600Engine::AcquisitionLine() const
{
    const int model = m_host.ModelCode();
    if (model == 0x880C)
        return "Data gathered by the 880c System\r\n";
    if ((model >> 12) == 0x5)
        return "Data gathered by the 5xxx System\r\n";
    return "Data gathered by the 3xxx/2xxx System\r\n";
}

const FamilyTexts& Analyzer2600Engine::Family() const
{
    return Texts();
}

// --- Parameter dump and preference block -------------------------------------------------------

void Analyzer2600Engine::DumpParameters(std::string& target) const
{
    analyzer::family2600::DumpParameters(m_fields, target);
}

void Analyzer2600Engine::ApplyPreferences(const std::string& text)
{
    const PreferencesApplied applied = analyzer::family2600::ApplyPreferences(text, m_fields, m_caps);
    for (const std::string& line : applied.logLines)
        LogText(line);
    // The handlers of the lists and boxes the block sets.
    m_limits = LimitsFor(m_caps, m_fields.waveform, m_fields.outputImpedance);
    const bool twoOhms = m_fields.outputImpedance == OutputImpedance::Ohms2;
    m_host.SetOutput5Vmax(twoOhms, false);
    m_controls.outputWarningShown = twoOhms;
    if (twoOhms)
        m_controls.dcEnabled = false;
    const bool fiftyOhmInput = m_fields.inputImpedance == InputImpedance::Ohms50;
    m_host.SetInput15Vmax(fiftyOhmInput, false);
    m_controls.inputWarningShown = fiftyOhmInput;
    EmitFieldsChanged();
    EmitControlsChanged();
}

// --- The command queue ---------------------------------------------------------------------------

bool Analyzer2600Engine::SendQueue()
{
    // The lines of this write are collected apart and then logged, so that they also reach the
    // log's listeners.
    CommLog written;
    const std::optional<std::string> failure = SendQueuedCommands(
        m_queue, QueuedWriteModeFor(m_bus.Bus(), m_firmwareCode), m_bus.Bus(),
        [this](const std::string& text) { return m_bus.Write(text); },
        [](int milliseconds) { instrument::SleepMilliseconds(milliseconds); }, written);
    if (!written.Text().empty())
        LogText(written.Text());
    if (failure) {
        OnGpibError(*failure);
        return false;
    }
    return true;
}

double Analyzer2600Engine::SecondsPerPoint() const
{
    if (m_fields.integrationByTime)
        return m_fields.integrationTime + m_fields.delayTime;
    return (m_fields.cycles + m_fields.delayCycles) / std::max(PointFrequency(), 1e-6);
}
