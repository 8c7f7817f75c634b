// The two error reactions: a failed bus step (OnGpibError) and an unexpected status byte. Both log
// and show their report, mark the flag that makes the next stop a shutdown, and stop what runs.

#include "analyzer/engine/Analyzer1960Engine.h"

#include "analyzer/family1960/Commands.h"
#include "analyzer/sweep/StatusReport.h"

using namespace analyzer;
using namespace analyzer::family1960;

std::string Analyzer1960Engine::Context(const char* operation, const char* what) const
{
    return std::string("In ") + operation + "(), " + what;
}

void Analyzer1960Engine::OnGpibError(const std::string& context)
{
    const std::string report = m_bus.FailureReport(context);
    LogText(report);
    ShowMessage(report, "");
    m_busError = true;
    if (m_stopping)
        return;
    if (m_sweeping)
        StopSweep();
    else if (m_startFrequencyMode)
        StopStartFrequencyMode();
    else if (m_dcOn)
        SwitchDcOff();
    else
        ShowMessage("Error in " + Texts().family.dialogClass + "::OnGpibError", "");
}

void Analyzer1960Engine::OnStatusError(const std::string& context, int statusByte)
{
    std::string report = UnexpectedStatusReport(Texts().family, context, statusByte);
    if (HasEventSummary(statusByte)) {
        // A failed query is reported; this handler's own stop follows below.
        const bool stopping = m_stopping;
        m_stopping = true;
        if (!m_bus.Write(kEventRegisterQuery))
            OnGpibError(CommandContext(Texts().errorHandler, m_bus.WriteCall()));
        else if (const std::optional<std::string> reply = m_bus.Read(1))
            report += EventRegisterReport(*reply, Texts().errorByteLabel);
        else
            OnGpibError(CommandContext(Texts().errorHandler, m_bus.ReadCall()));
        m_stopping = stopping;
    }
    LogText(report);
    ShowMessage(report, "");
    m_analyzerError = true;
    if (m_stopping)
        return;
    if (m_sweeping)
        StopSweep();
    else if (m_startFrequencyMode)
        StopStartFrequencyMode();
    else if (m_dcOn)
        SwitchDcOff();
}
