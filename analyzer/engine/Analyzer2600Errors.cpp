// The two error reactions: a failed bus step (OnGpibError) and an unexpected status byte
// (On2600Error). Both log and show their report, mark the flag that makes the next stop a
// shutdown, and stop what is running.

#include "analyzer/engine/Analyzer2600Engine.h"

#include "analyzer/family2600/Commands.h"
#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/StatusReport.h"

using namespace analyzer;
using namespace analyzer::family2600;

void Analyzer2600Engine::OnGpibError(const std::string& context)
{
    const std::string report = m_bus.FailureReport(context);
    Log(report);
    ShowMessage(report, "");
    m_busError = true;
    // Inside a stop the stop under way finishes the job.
    if (m_stopping)
        return;
    if (m_sweeping)
        StopSweep();
    else if (m_startFrequencyMode)
        StopStartFrequencyMode();
    else if (m_dcOn)
        SwitchDcOff();
    else
        ShowMessage(m_bus.UsesUsb() ? "Error in CAnalyzer2600Dlg::OnGpibError  " : "Error in CAnalyzer2600Dlg::OnGpibError",
                    "");
}

void Analyzer2600Engine::On2600Error(const std::string& context, int statusByte)
{
    std::string report = UnexpectedStatusReport(Texts(), context, statusByte);
    if (HasEventSummary(statusByte)) {
        // A failed query is reported, and this handler's own stop follows below.
        const bool stopping = m_stopping;
        m_stopping = true;
        const bool written = m_bus.Write(kEventRegisterQuery);
        if (written)
            Log(SentLine(kEventRegisterQuery));
        if (!written) {
            OnGpibError(CommandContext("On2600Error", m_bus.WriteCall()));
        } else if (const std::optional<std::string> reply = m_bus.Read(m_bus.UsesGpib() ? 5 : 64)) {
            report += EventRegisterReport(*reply, m_firmwareCode);
        } else {
            OnGpibError(CommandContext("On2600Error", m_bus.ReadCall()));
        }
        m_stopping = stopping;
    }
    Log(report);
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
