// Construction, what the dialog shows, the preference block and the engine's log and messages.

#include "analyzer/engine/Analyzer1960Engine.h"

#include <cmath>

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/family1960/ParameterDump.h"
#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/NumberText.h"
#include "data/Prompter.h"
#include "instrument/gpib/Gpib.h"

using namespace analyzer;
using namespace analyzer::family1960;

namespace {

constexpr double kMaximumFrequency = 2.2e6;

} // namespace

Analyzer1960Engine::Analyzer1960Engine(AnalyzerHost& host, QObject* parent) : AnalyzerDialog(parent), m_host(host)
{
    m_relay = ServiceRequestRelay::Create(this, [this](int) { OnMsgSweep(); });
    m_limits.minimum = 0.01;
    m_limits.maximum = kMaximumFrequency;
    m_limits.maximumForSettings = kMaximumFrequency;
    m_limits.maximumMessage = "Freq limited to %g for current waveform\r\n";
    m_bus.Choose(false, std::clamp(m_host.InterfaceIndex(), 0, 3));
    ReplaceLog("");
}

Analyzer1960Engine::~Analyzer1960Engine()
{
    m_relay->Detach();
    CloseConnection();
}

const DialogTexts& Analyzer1960Engine::Texts() const
{
    return family1960::Texts();
}

// --- What the dialog shows ----------------------------------------------------------------------

std::vector<std::string> Analyzer1960Engine::ChannelRatioEntries() const
{
    return analyzer::ChannelRatioEntries(2);
}

std::vector<std::string> Analyzer1960Engine::ServoChannelEntries() const
{
    return analyzer::ServoChannelEntries(2, ChannelChoice());
}

std::string Analyzer1960Engine::ChannelRatioText() const
{
    return RatioEntryText(ChannelChoice());
}

std::string Analyzer1960Engine::ServoChannelText() const
{
    return ServoEntryText(m_fields.servoChannel, ChannelChoice());
}

std::string Analyzer1960Engine::CouplingText() const
{
    return family1960::CouplingText(m_fields.coupling);
}

std::string Analyzer1960Engine::GainText() const
{
    const double numerator = m_shown.amplitude[m_fields.numeratorChannel - 1];
    const double denominator = m_shown.amplitude[m_fields.denominatorChannel - 1];
    return FormatNumberText("%G", 20.0 * std::log10(numerator / denominator));
}

std::string Analyzer1960Engine::PhaseText() const
{
    return FormatNumberText("%G", m_shown.phase[m_fields.numeratorChannel - 1]
                                      - m_shown.phase[m_fields.denominatorChannel - 1]);
}

ChannelPair Analyzer1960Engine::ChannelChoice() const
{
    return {m_fields.numeratorChannel, m_fields.denominatorChannel};
}

std::string Analyzer1960Engine::AcquisitionLine() const
{
    return Texts().acquisitionLine;
}

// --- AnalyzerDialog ----------------------------------------------------------------------------

void Analyzer1960Engine::ShowSweepRange(double start, double stop)
{
    m_fields.startFrequency = RoundToSignificant(start, 4);
    m_fields.stopFrequency = RoundToSignificant(stop, 4);
    EmitFieldsChanged();
}

void Analyzer1960Engine::ShowAcVoltsOut(double amplitude, double ceiling)
{
    m_fields.acVoltsOut = RoundToSignificant(amplitude, 4);
    m_fields.maxAcVoltsOut = RoundToSignificant(ceiling, 4);
    EmitFieldsChanged();
}

void Analyzer1960Engine::ShowFrequency(double frequency)
{
    m_shownFrequency = frequency;
    emit ReadingShown();
}

void Analyzer1960Engine::ClearErrorFlags()
{
    m_busError = false;
    m_analyzerError = false;
}

// --- Parameter dump and preference block -------------------------------------------------------

void Analyzer1960Engine::DumpParameters(std::string& target) const
{
    family1960::DumpParameters(m_fields, BlockKind::Model1960, false, target);
}

void Analyzer1960Engine::ApplyPreferences(const std::string& text)
{
    bool unusedInputType = false;
    family1960::ApplyPreferences(text, BlockKind::Model1960, m_fields, unusedInputType);
    // The handlers of the lists and boxes the block sets; nothing is sent.
    m_limits.minimum = m_fields.coupling == Coupling::Dc ? 1e-4 : 0.01;
    m_limits.maximumForSettings = m_fields.waveform == Waveform::Sine ? m_limits.maximum : 1e6;
    SetIntegrationByTime(m_fields.integrationByTime);
    EmitFieldsChanged();
}

void Analyzer1960Engine::StoreParametersAndHide()
{
    DumpParameters(m_host.PreferenceBlock());
    emit HideRequested();
}

// --- Log and messages ----------------------------------------------------------------------------

void Analyzer1960Engine::LogText(std::string_view text)
{
    m_log.AddToCommLog(text);
    emit CommLogAppended(std::string(text), false);
}

void Analyzer1960Engine::ReplaceLog(std::string_view text)
{
    m_log.AddToCommLog(text, true);
    emit CommLogAppended(std::string(text), true);
}

void Analyzer1960Engine::ShowMessage(const std::string& text, const char* caption)
{
    prompter().Message(text, caption, PromptButtons::Ok, PromptIcon::Warning);
}

bool Analyzer1960Engine::WriteAtOnce(const std::string& command, const char* operation)
{
    if (!m_bus.Write(command)) {
        OnGpibError(CommandContext(operation, m_bus.WriteCall()));
        return false;
    }
    LogText(SentLine(command));
    return true;
}
