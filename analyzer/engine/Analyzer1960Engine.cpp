// Construction, the family's read-outs and the preference block.

#include "analyzer/engine/Analyzer1960Engine.h"

#include <algorithm>

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/engine/ServiceRequestRelay.h"
#include "analyzer/family1960/ParameterDump.h"

using namespace analyzer;
using namespace analyzer::family1960;

namespace {

constexpr double kMaximumFrequency = 2.2e6;

} // namespace

Analyzer1960Engine::Analyzer1960Engine(AnalyzerHost& host, QObject* parent) : AnalyzerEngine(host, parent)
{
    m_relay = ServiceRequestRelay::Create(this, [this](int) {
        HandleServiceRequest([&] { OnMsgSweep(); });
    });
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

std::string Analyzer1960Engine::CouplingText() const
{
    return family1960::CouplingText(m_fields.coupling);
}

std::string Analyzer1960Engine::AcquisitionLine() const
{
    return Texts().acquisitionLine;
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

double Analyzer1960Engine::SecondsPerPoint() const
{
    // The speeds' times are the analyzer's; these err on the long side. Cycles add their periods.
    using analyzer::family1960::Speed;
    const Speed speed = m_fields.speed;
    const double speedSeconds = speed == Speed::Fast ? 1.0 : speed == Speed::Medium ? 3.0 : speed == Speed::Slow ? 10.0 : 30.0;
    const double cycles = m_fields.integrationByTime ? 0.0 : m_fields.cycles / std::max(PointFrequency(), 1e-6);
    return m_fields.delay + speedSeconds + cycles;
}
