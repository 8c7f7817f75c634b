#include "analyzer/engine/AnalyzerDialog.h"

#include "analyzer/engine/CallbackInterface.h"
#include "analyzer/sweep/FrequencyStepping.h"

void AnalyzerDialog::SetSweepRange(double start, double stop)
{
    m_rangeStart = start;
    m_rangeStop = stop;
    ShowSweepRange(start, stop);
}

void AnalyzerDialog::StartCallbackSweep(CallbackInterface* callback)
{
    m_savedCallback = callback;
    m_callback = nullptr;
    m_settlingActive = true;
    m_settlingCount = 0;
    PressTakeData();
}

bool AnalyzerDialog::CallbackSweepRunning(const CallbackInterface* callback) const
{
    if (!callback)
        return false;
    return (m_settlingActive && m_savedCallback == callback) || (m_callback == callback && Sweeping());
}

void AnalyzerDialog::ReleaseCallback(const CallbackInterface* callback)
{
    if (!callback)
        return;
    const bool settling = m_settlingActive && m_savedCallback == callback;
    const bool sweeping = m_callback == callback && Sweeping();
    if (m_savedCallback == callback)
        m_savedCallback = nullptr;
    if (m_callback == callback)
        m_callback = nullptr;
    if (settling) {
        m_settlingActive = false;
        PressTakeData();
    } else if (sweeping) {
        PressRunSweep();
    }
}

void AnalyzerDialog::OnDataPointTaken(double frequency)
{
    if (m_settlingActive) {
        if (++m_settlingCount >= kSettlingReadings) {
            m_settlingActive = false;
            m_callback = m_savedCallback;
            m_savedCallback = nullptr;
            PressRunSweep();
        }
        return;
    }
    if (m_rangeStart != m_rangeStop)
        emit ProgressChanged(analyzer::SweepProgressPercent(frequency, m_rangeStart, m_rangeStop));
    if (!Sweeping()) {
        emit ProgressChanged(0);
        const int code = CompletionCode();
        if (m_callback)
            m_callback->OnSweepComplete(code);
        emit SweepComplete(code);
        ClearErrorFlags();
    }
}

// Without this an error during the settling readings would leave the caller waiting for a sweep
// that never starts. A stop without an error tells nobody: no sweep data set exists to report.
void AnalyzerDialog::AbandonSettling()
{
    if (!m_settlingActive)
        return;
    m_settlingActive = false;
    CallbackInterface* const callback = m_savedCallback;
    m_savedCallback = nullptr;
    const int code = CompletionCode();
    if (code == 0)
        return;
    if (callback)
        callback->OnSweepComplete(code);
    emit SweepComplete(code);
    ClearErrorFlags();
}
