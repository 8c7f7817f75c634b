#include "rlc/adapters/EngineMeasurementAnalyzer.h"

#include "analyzer/engine/Analyzer1852Engine.h"
#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "analyzer/family1960/Settings.h"
#include "analyzer/family2600/Settings.h"
#include "data/CLocaleNumbers.h"
#include "rlc/workflow/ChannelPairs.h"

namespace {

using analyzer::family1960::Coupling;
using analyzer::family1960::CouplingText;
using analyzer::family1960::Speed;
using analyzer::family1960::SpeedText;
using analyzer::family2600::InputRange;
using analyzer::family2600::InputRangeText;

// Runs action on the dialog's engine, whichever family it is (the 1800 series is a 1960 engine).
template <typename Action>
void OnEngine(AnalyzerDialog* dialog, Action&& action)
{
    if (auto* e2600 = qobject_cast<Analyzer2600Engine*>(dialog))
        action(*e2600);
    else if (auto* e1960 = qobject_cast<Analyzer1960Engine*>(dialog))
        action(*e1960);
    else if (auto* e5060 = qobject_cast<Analyzer5060Engine*>(dialog))
        action(*e5060);
}

}  // namespace

EngineMeasurementAnalyzer::EngineMeasurementAnalyzer(AnalyzerDialog* dialog) : m_dialog(dialog) {}

EngineMeasurementAnalyzer::~EngineMeasurementAnalyzer()
{
    ReleaseSweep();
}

bool EngineMeasurementAnalyzer::SweepRunning() const
{
    return m_dialog && m_dialog->CallbackSweepRunning(this);
}

void EngineMeasurementAnalyzer::ReleaseSweep()
{
    m_listener = nullptr;
    if (m_dialog)
        m_dialog->ReleaseCallback(this);
}

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
            if (m_dialog && m_listener)
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
    const std::string entry = ChannelPairInfo(pair).ratioEntry;
    OnEngine(m_dialog, [&](auto& engine) { engine.SelectChannelRatio(entry); });
}

void EngineMeasurementAnalyzer::SelectInputRange(int entry)
{
    static constexpr InputRange kRanges[] = {InputRange::Below10V, InputRange::Below100V, InputRange::Below500V};
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SelectInputRange(InputRangeText(kRanges[entry >= 0 && entry < 3 ? entry : 0]));
}

void EngineMeasurementAnalyzer::SelectInputTypeChannel1(int entry)
{
    // "Main", "Diff": the 1800 series' list.
    if (auto* engine = qobject_cast<Analyzer1852Engine*>(m_dialog.data()))
        engine->SelectInputType(entry == 1 ? "Diff" : "Main");
}

void EngineMeasurementAnalyzer::SetIntegrationTimeText(const std::string& seconds)
{
    const double value = StrtodC(seconds.c_str(), nullptr);
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetIntegrationTime(value);
    else if (auto* engine5060 = qobject_cast<Analyzer5060Engine*>(m_dialog.data()))
        engine5060->SetIntegrationTime(value);
}

void EngineMeasurementAnalyzer::SelectIntegrationByTime()
{
    if (Analyzer2600Engine* engine = Engine2600())
        engine->SetIntegrationByTime(true);
}

void EngineMeasurementAnalyzer::SelectIntegrationTimeEntry(int entry)
{
    // "Fast", "Medium", "Slow", "VSlow" of the 1960 and the 1800 series, by position.
    if (entry < 0 || entry > static_cast<int>(Speed::VSlow))
        return;
    if (auto* engine = qobject_cast<Analyzer1960Engine*>(m_dialog.data()))
        engine->SelectSpeed(SpeedText(static_cast<Speed>(entry)));
}

void EngineMeasurementAnalyzer::SetAcVoltsOutField(double volts)
{
    OnEngine(m_dialog, [&](auto& engine) { engine.SetAcVoltsOutField(volts); });
}

void EngineMeasurementAnalyzer::SetDcVoltsOutField(double volts)
{
    OnEngine(m_dialog, [&](auto& engine) { engine.SetDcVoltsOut(volts); });
}

void EngineMeasurementAnalyzer::SelectInputCoupling(int entry)
{
    if (auto* engine1800 = qobject_cast<Analyzer1852Engine*>(m_dialog.data())) {
        engine1800->SelectCoupling(entry == 1 ? "DC" : "AC");
    } else if (auto* engine = qobject_cast<Analyzer1960Engine*>(m_dialog.data())) {
        // The 1960 has two AC entries: an AC choice keeps the one in use, else takes "AC < 55V".
        if (entry == 1)
            engine->SelectCoupling(CouplingText(Coupling::Dc));
        else if (engine->Fields().coupling == Coupling::Dc)
            engine->SelectCoupling(CouplingText(Coupling::AcLow));
    }
}

void EngineMeasurementAnalyzer::SetMaxPhaseChangeCheck(bool checked)
{
    OnEngine(m_dialog, [&](auto& engine) { engine.SetMaxChangePhase(checked, engine.Fields().maxChangePhase); });
}

void EngineMeasurementAnalyzer::SetMaxPhaseChangeLimit(double degrees)
{
    OnEngine(m_dialog, [&](auto& engine) { engine.SetMaxChangePhase(engine.Fields().maxChangePhaseOn, degrees); });
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
