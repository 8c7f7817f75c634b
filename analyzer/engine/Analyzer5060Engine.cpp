// Construction, the family's read-outs, the preference block and the reaction to a status error.

#include "analyzer/engine/Analyzer5060Engine.h"

#include <algorithm>

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/family5060/Commands.h"
#include "analyzer/family5060/ParameterDump.h"
#include "analyzer/family5060/Texts.h"
#include "analyzer/sweep/StatusReport.h"
#include "instrument/gpib/Gpib.h"

using namespace analyzer;
using namespace analyzer::family5060;

namespace {

constexpr std::size_t kReplyBytes = 511;
constexpr int kErrorBit = 0x10;

} // namespace

Analyzer5060Engine::Analyzer5060Engine(AnalyzerHost& host, QObject* parent) : AnalyzerEngine(host, parent)
{
    m_relay = ServiceRequestRelay::Create(this, [this](int) {
        HandleServiceRequest([&] { OnMsg5060Sweep(); });
    });
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
    CloseConnection();
}

const char* Analyzer5060Engine::Title() const
{
    return kDialogTitle;
}

const FamilyTexts& Analyzer5060Engine::Family() const
{
    return Texts();
}

// --- What the dialog shows ----------------------------------------------------------------------

std::string Analyzer5060Engine::AcquisitionLine() const
{
    return kAcquisitionLine;
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

// --- Errors ------------------------------------------------------------------------------------------

void Analyzer5060Engine::On5060Error(const std::string& context, int statusByte)
{
    std::string report = UnexpectedStatusReport(Texts(), context, statusByte);
    if (statusByte & kErrorBit) {
        if (const std::optional<std::string> reply = QueryErrorRegister(kErrorQuery, kReplyBytes, "On5060Error", false))
            report += ErrorByteReport(*reply);
    }
    FinishStatusError(report, "Error in CAnalyzer5060Dlg::On5060Error");
}

double Analyzer5060Engine::SecondsPerPoint() const
{
    using analyzer::family5060::IntegrationMode;
    const double frequency = std::max(PointFrequency(), 1e-6);
    switch (m_fields.integrationMode) {
    case IntegrationMode::Time: return m_fields.integrationTime + m_fields.delayTime;
    case IntegrationMode::Cycles: return (m_fields.integrationCycles + m_fields.delayCycles) / frequency;
    default: return 10.0 + 10.0 / frequency;  // automatic: the analyzer decides; generous
    }
}
