// Construction, what the dialog shows, the preference block, the log and the two error reactions.

#include "analyzer/engine/Analyzer5060Engine.h"

#include <cmath>

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/family5060/Commands.h"
#include "analyzer/family5060/ParameterDump.h"
#include "analyzer/family5060/Texts.h"
#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/NumberText.h"
#include "analyzer/sweep/StatusReport.h"
#include "data/Prompter.h"
#include "instrument/gpib/Gpib.h"

using namespace analyzer;
using namespace analyzer::family5060;

namespace {

constexpr std::size_t kReplyBytes = 511;
constexpr int kErrorBit = 0x10;

} // namespace

Analyzer5060Engine::Analyzer5060Engine(AnalyzerHost& host, QObject* parent) : AnalyzerDialog(parent), m_host(host)
{
    m_relay = ServiceRequestRelay::Create(this, [this](int) { OnMsg5060Sweep(); });
    m_limits.minimum = 1e-4;
    m_limits.maximum = 2.2e6;
    m_limits.maximumForSettings = 2.2e6;
    m_limits.maximumMessage = "Freq limited to %g for current waveform\r\n";
    m_bus.Choose(false, std::clamp(m_host.InterfaceIndex(), 0, 3));
    m_log.AddToCommLog("", true);
    SetIntegrationMode(m_fields.integrationMode);
}

Analyzer5060Engine::~Analyzer5060Engine()
{
    m_relay->Detach();
    if (m_bus.device >= 0) {
        gpib::ibnotify(m_bus.device, 0, nullptr, nullptr);
        gpib::ibonl(m_bus.device, 0);
    }
}

const char* Analyzer5060Engine::Title() const
{
    return kDialogTitle;
}

// --- What the dialog shows ----------------------------------------------------------------------

std::vector<std::string> Analyzer5060Engine::ChannelRatioEntries() const
{
    return analyzer::ChannelRatioEntries(3);
}

std::vector<std::string> Analyzer5060Engine::ServoChannelEntries() const
{
    return analyzer::ServoChannelEntries(3, ChannelChoice());
}

std::string Analyzer5060Engine::ChannelRatioText() const
{
    return RatioEntryText(ChannelChoice());
}

std::string Analyzer5060Engine::ServoChannelText() const
{
    return ServoEntryText(m_fields.servoChannel, ChannelChoice());
}

std::string Analyzer5060Engine::GainText() const
{
    return FormatNumberText("%G", 20.0 * std::log10(m_shown.amplitude[m_fields.numeratorChannel - 1]
                                                    / m_shown.amplitude[m_fields.denominatorChannel - 1]));
}

std::string Analyzer5060Engine::PhaseText() const
{
    return FormatNumberText("%G", m_shown.phase[m_fields.numeratorChannel - 1]
                                      - m_shown.phase[m_fields.denominatorChannel - 1]);
}

ChannelPair Analyzer5060Engine::ChannelChoice() const
{
    return {m_fields.numeratorChannel, m_fields.denominatorChannel};
}

std::string Analyzer5060Engine::AcquisitionLine() const
{
    return kAcquisitionLine;
}

void Analyzer5060Engine::ShowSweepRange(double start, double stop)
{
    m_fields.startFrequency = RoundToSignificant(start, 4);
    m_fields.stopFrequency = RoundToSignificant(stop, 4);
    EmitFieldsChanged();
}

void Analyzer5060Engine::ShowAcVoltsOut(double amplitude, double ceiling)
{
    m_fields.acVoltsOut = RoundToSignificant(amplitude, 4);
    m_fields.maxAcVoltsOut = RoundToSignificant(ceiling, 4);
    EmitFieldsChanged();
}

void Analyzer5060Engine::ShowFrequency(double frequency)
{
    m_shownFrequency = frequency;
    emit ReadingShown();
}

void Analyzer5060Engine::ClearErrorFlags()
{
    m_busError = false;
    m_analyzerError = false;
}

// --- Parameter dump and preference block -------------------------------------------------------

void Analyzer5060Engine::DumpParameters(std::string& target) const
{
    family5060::DumpParameters(m_fields, target);
}

void Analyzer5060Engine::ApplyPreferences(const std::string& text)
{
    family5060::ApplyPreferences(text, m_fields);
    m_limits.maximumForSettings = m_fields.waveform == Waveform::Sine ? m_limits.maximum : 1e5;
    // The handlers of the stored integration mode and of the automatic part.
    SetIntegrationMode(m_fields.integrationMode);
    EmitFieldsChanged();
}

void Analyzer5060Engine::StoreParametersAndHide()
{
    DumpParameters(m_host.PreferenceBlock());
    emit HideRequested();
}

// --- Log and messages ----------------------------------------------------------------------------

void Analyzer5060Engine::LogText(std::string_view text)
{
    m_log.AddToCommLog(text);
    emit CommLogAppended(std::string(text), false);
}

void Analyzer5060Engine::ShowMessage(const std::string& text, const char* caption)
{
    prompter().Message(text, caption, PromptButtons::Ok, PromptIcon::Warning);
}

bool Analyzer5060Engine::WriteAtOnce(const std::string& command, const char* operation)
{
    if (!m_bus.Write(command)) {
        OnGpibError(CommandContext(operation, m_bus.WriteCall()));
        return false;
    }
    LogText(SentLine(command));
    return true;
}

// --- Errors ------------------------------------------------------------------------------------------

void Analyzer5060Engine::UndoWhatRuns(const char* lastBox)
{
    if (m_sweeping)
        StopSweep();
    else if (m_startFrequencyMode)
        StopStartFrequencyMode();
    else if (m_dcOn)
        SwitchDcOff();
    else if (lastBox)
        ShowMessage(lastBox, "");
}

void Analyzer5060Engine::OnGpibError(const std::string& context)
{
    const std::string report = m_bus.FailureReport(context);
    LogText(report);
    ShowMessage(report, "");
    m_busError = true;
    if (!m_stopping)
        UndoWhatRuns("Error in CAnalyzer5060Dlg::OnGpibError");
}

void Analyzer5060Engine::On5060Error(const std::string& context, int statusByte)
{
    std::string report = UnexpectedStatusReport(Texts(), context, statusByte);
    if (statusByte & kErrorBit) {
        const bool stopping = m_stopping;
        m_stopping = true;
        if (!m_bus.Write(kErrorQuery))
            OnGpibError("In On5060Error(), command WriteToGPIB has an Error");
        else if (const std::optional<std::string> reply = m_bus.Read(kReplyBytes))
            report += ErrorByteReport(*reply);
        else
            OnGpibError("In On5060Error(), command ReadFromGPIB has an Error");
        m_stopping = stopping;
    }
    LogText(report);
    ShowMessage(report, "");
    m_analyzerError = true;
    if (!m_stopping)
        UndoWhatRuns("Error in CAnalyzer5060Dlg::On5060Error");
}
