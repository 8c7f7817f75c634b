// The reaction to an unexpected status byte: the report, with the event register decoded when the
// byte shows an event summary, logged and shown; the analyzer-error flag set and what runs stopped.
// The bus-error reaction is AnalyzerEngine::OnGpibError.

#include "analyzer/engine/Analyzer1960Engine.h"

#include "analyzer/family1960/Commands.h"
#include "analyzer/sweep/StatusReport.h"

using namespace analyzer;
using namespace analyzer::family1960;

std::string Analyzer1960Engine::Context(const char* operation, const char* what) const
{
    return std::string("In ") + operation + "(), " + what;
}

void Analyzer1960Engine::OnStatusError(const std::string& context, int statusByte)
{
    std::string report = UnexpectedStatusReport(Texts().family, context, statusByte);
    if (HasEventSummary(statusByte)) {
        if (const std::optional<std::string> reply = QueryErrorRegister(kEventRegisterQuery, 1, Texts().errorHandler, false))
            report += EventRegisterReport(*reply, Texts().errorByteLabel);
    }
    FinishStatusError(report);
}
