#include "rlc/adapters/HeadlessMeasurement.h"

#include <QCoreApplication>

#include <chrono>

#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "data/ApplicationData.h"
#include "rlc/workflow/PanelForwarding.h"

namespace {

constexpr auto kQuietLimit = std::chrono::seconds(30);
constexpr int kDefaultIntegrationTime = 1;  // "0.33", the page's default

MeasurementSetup SetupOf(const HeadlessMeasurementSetup& setup)
{
    MeasurementSetup s;
    s.analyzerType = setup.analyzerType;
    s.channelCount = appData().channelCount;
    s.limits = AnalyzerFrequencyLimits(setup.analyzerType).value_or(s.limits);
    return s;
}

// A logarithmic sweep of the given steps per decade, on the engine of whichever family it is.
void SetLogSteps(AnalyzerDialog& dialog, double stepsPerDecade)
{
    const auto apply = [stepsPerDecade](auto& engine) {
        engine.SetLogSweep(true);
        engine.SetStepsPerDecade(stepsPerDecade);
    };
    if (auto* e2600 = qobject_cast<Analyzer2600Engine*>(&dialog))
        apply(*e2600);
    else if (auto* e1960 = qobject_cast<Analyzer1960Engine*>(&dialog))
        apply(*e1960);
    else if (auto* e5060 = qobject_cast<Analyzer5060Engine*>(&dialog))
        apply(*e5060);
}

}  // namespace

HeadlessMeasurement::HeadlessMeasurement(AnalyzerDialog& engine, BasicAnalyzerHost& host, SimulatedOperator& user,
                                         const HeadlessMeasurementSetup& setup)
    : m_engine(engine),
      m_user(user),
      m_setup(setup),
      m_analyzer(&engine),
      m_workspace(setup.referenceResistor, [&host](SweepTarget* target) { host.activeDisplay = target; }),
      m_workflow(SetupOf(setup), m_analyzer, m_workspace, user)
{
}

HeadlessMeasurement::Outcome HeadlessMeasurement::Run()
{
    SetLogSteps(m_engine, m_setup.stepsPerDecade);
    ForwardIntegrationTime(m_setup.analyzerType, kDefaultIntegrationTime, m_analyzer);
    m_workflow.m_acVoltage = ForwardAcVoltage(m_setup.acVolts, m_analyzer);
    ForwardDcVoltage(0.0, m_analyzer);
    ForwardPhaseLimitCheck(false, m_analyzer);
    const FrequencyCheck check = m_workflow.StartPage(m_setup.start, m_setup.stop, false);
    if (!check.rangeSet) {
        m_frequencyStatus = check.status;
        return Outcome::BadFrequencies;
    }

    if (m_setup.loadCalibration) {
        if (!m_workflow.LoadCalibration())
            return Outcome::CalibrationFileFailed;
    } else {
        m_workflow.OnCalibrate();
        if (!WaitFor([&] { return !m_workflow.m_calibrating || m_user.ErrorShown(); }) || !m_workflow.IsCalibrated())
            return Outcome::CalibrationFailed;
        if (!m_setup.calibrationFile.empty() && !m_workflow.SaveCalibration())
            return Outcome::CalibrationFileFailed;
    }
    m_workflow.OnTestComponent();
    if (!WaitFor([&] { return !m_workflow.m_measuring || m_user.ErrorShown(); }) || m_workflow.m_measuring)
        return Outcome::MeasurementFailed;

    if (m_setup.kind) {
        CTalDocument& document = *Document();
        m_model.ChooseKind(*m_setup.kind, document);
        m_model.CreatePlot(document);
    }
    return Outcome::Done;
}

bool HeadlessMeasurement::WaitFor(const std::function<bool()>& done)
{
    auto lastHeard = std::chrono::steady_clock::now();
    const QMetaObject::Connection heard = QObject::connect(
        &m_engine, &AnalyzerDialog::ReadingShown, [&] { lastHeard = std::chrono::steady_clock::now(); });
    bool finished = true;
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        if (!done() && std::chrono::steady_clock::now() - lastHeard > kQuietLimit) {
            finished = false;
            break;
        }
    }
    QObject::disconnect(heard);
    return finished;
}
