#include "rlc/adapters/EngineMeasurementAnalyzer.h"

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/family2600/Settings.h"
#include "data/CLocaleNumbers.h"
#include "rlc/workflow/ChannelPairs.h"

namespace {

using analyzer::family2600::InputRange;
using analyzer::family2600::InputRangeText;

}  // namespace

EngineMeasurementAnalyzer::EngineMeasurementAnalyzer(AnalyzerDialog* dialog) : m_dialog(dialog) {}

Analyzer2600Engine* EngineMeasurementAnalyzer::Engine2600() const
{
    return qobject_cast<Analyzer2600Engine*>(m_dialog.data());
}

void EngineMeasurementAnalyzer::SetSweepRange(double start, double stop)
{
    if (m_dialog)
        m_dialog->SetSweepRange(start, stop);
}

double EngineMeasurementAnalyzer::GetMaxAcVoltsOut()
{
    return m_dialog ? m_dialog->GetMaxAcVoltsOut() : 0.0;
}

void EngineMeasurementAnalyzer::SetAcVoltsOut(double amplitude, double ceiling)
{
    if (m_dialog)
        m_dialog->SetAcVoltsOut(amplitude, ceiling);
}

void EngineMeasurementAnalyzer::SetFrequencyDisplay(double frequency)
{
    if (m_dialog)
        m_dialog->SetFrequencyDisplay(frequency);
}

void EngineMeasurementAnalyzer::StartCallbackSweep(SweepListener& listener)
{
    if (!m_dialog)
        return;
    m_listener = &listener;
    if (!m_inCompletion) {
        m_dialog->StartCallbackSweep(this);
        return;
    }
    QMetaObject::invokeMethod(
        &m_queueContext,
        [this] {
            if (m_dialog)
                m_dialog->StartCallbackSweep(this);
        },
        Qt::QueuedConnection);
}

void EngineMeasurementAnalyzer::OnSweepComplete(int code)
{
    m_inCompletion = true;
    if (m_listener)
        m_listener->OnSweepComplete(code);
    m_inCompletion = false;
    if (afterSweepComplete)
        afterSweepComplete();
}

void EngineMeasurementAnalyzer::SelectChannelRatio(int pair)
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SelectChannelRatio(ChannelPairInfo(pair).ratioEntry);
}

void EngineMeasurementAnalyzer::SelectInputRange(int entry)
{
    static constexpr InputRange kRanges[] = {InputRange::Below10V, InputRange::Below100V, InputRange::Below500V};
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SelectInputRange(InputRangeText(kRanges[entry >= 0 && entry < 3 ? entry : 0]));
}

void EngineMeasurementAnalyzer::SelectInputTypeChannel1(int /*entry*/)
{
    // Only the 1800-series dialog has the list; its engine is not part of this build.
}

void EngineMeasurementAnalyzer::SetIntegrationTimeText(const std::string& seconds)
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetIntegrationTime(StrtodC(seconds.c_str(), nullptr));
}

void EngineMeasurementAnalyzer::SelectIntegrationByTime()
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetIntegrationByTime(true);
}

void EngineMeasurementAnalyzer::SetAcVoltsOutField(double volts)
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetAcVoltsOutField(volts);
}

void EngineMeasurementAnalyzer::SetDcVoltsOutField(double volts)
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetDcVoltsOut(volts);
}

void EngineMeasurementAnalyzer::SetMaxPhaseChangeCheck(bool checked)
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetMaxChangePhase(checked, engine->Fields().maxChangePhase);
}

void EngineMeasurementAnalyzer::SetMaxPhaseChangeLimit(double degrees)
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetMaxChangePhase(engine->Fields().maxChangePhaseOn, degrees);
}

bool EngineMeasurementAnalyzer::Reinitialize()
{
    // No preference block: the fields the user set since the dialog opened stay.
    Analyzer2600Engine* engine = Engine2600();
    return engine && engine->InitDialogStage2("");
}

void EngineMeasurementAnalyzer::ShutDownToSafeState()
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->ShutDownAnalyzer();
}
