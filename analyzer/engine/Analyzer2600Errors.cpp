// The reaction to an unexpected status byte (On2600Error): the report, with the event register
// decoded when the byte shows an event summary, logged and shown; the analyzer-error flag set and
// what runs stopped. The bus-error reaction is AnalyzerEngine::OnGpibError.

#include "analyzer/engine/Analyzer2600Engine.h"

#include "analyzer/family2600/Commands.h"
#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/StatusReport.h"

using namespace analyzer;
using namespace analyzer::family2600;

void Analyzer2600Engine::On2600Error(const std::string& context, int statusByte)
{
    std::string report = UnexpectedStatusReport(Texts(), context, statusByte);
    if (HasEventSummary(statusByte)) {
        if (const std::optional<std::string> reply =
                QueryErrorRegister(kEventRegisterQuery, m_bus.UsesGpib() ? 5 : 64, "On2600Error", true))
            report += EventRegisterReport(*reply, m_firmwareCode);
    }
    FinishStatusError(report);
}
