#include "rlc/ui/RLCDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "rlc/ui/PanelSettings.h"
#include "rlc/ui/RLCDialogTabMeasurement.h"
#include "rlc/ui/RLCDialogTabModel.h"
#include "rlc/ui/RLCDialogTabReport.h"
#include "rlc/workflow/AnalyzerLimits.h"
#include "views/base/ViewHooks.h"

RLCDialog::RLCDialog(const RlcPanelContext& context)
    : QDialog(context.owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint),
      m_context(context),
      m_analyzer(context.analyzer)
{
    setWindowTitle(QStringLiteral("RLC Control Panel"));
    setModal(false);
    RlcProgramValues& values = m_context.values;
    values.referenceResistor = ReadReferenceResistor(m_context.store);
    if (const std::optional<FrequencyLimits> limits = AnalyzerFrequencyLimits(values.analyzerType)) {
        values.frequencyMinimum = limits->lowest;
        values.frequencyMaximum = limits->highest;
    }
    if (Uses2600SeriesDialog(values.analyzerType) && m_analyzer.Engine2600()) {
        if (m_context.showAnalyzerDialog)
            m_context.showAnalyzerDialog(true);
        m_analyzer.Reinitialize();
        if (m_context.showAnalyzerDialog)
            m_context.showAnalyzerDialog(false);
    }
    // From here on the displays give new sweep data sets minus the reference resistor.
    SetRlcPanelHook([&values]() -> std::optional<double> { return values.referenceResistor; });

    m_pages = new QTabWidget(this);
    m_measurement = new RLCDialogTabMeasurement(m_context, m_pages);
    m_model = new RLCDialogTabModel(m_context.activeDisplay, m_pages);
    m_report = new RLCDialogTabReport(m_context.store, m_context.activeDisplay, *m_model, m_pages);
    m_pages->addTab(m_measurement, QStringLiteral("Measurement"));
    m_pages->addTab(m_model, QStringLiteral("Model"));
    m_pages->addTab(m_report, QStringLiteral("Report"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    PlaceOnScreen();
}

RLCDialog::~RLCDialog()
{
    // The workflow hears nothing of a sweep stopped now.
    EndSweep();
    if (Uses2600SeriesDialog(m_context.values.analyzerType))
        m_analyzer.ShutDownToSafeState();
    if (!isMinimized())
        WritePanelPosition(m_context.store, {pos().x(), pos().y()});
    SetRlcPanelHook(nullptr);
    // The pages write their settings now, while the store is certain to exist.
    delete m_pages;
}

bool RLCDialog::SweepRunning() const
{
    return m_measurement->Analyzer().SweepRunning();
}

void RLCDialog::EndSweep()
{
    m_measurement->Analyzer().ReleaseSweep();
}

void RLCDialog::closeEvent(QCloseEvent* event)
{
    // The panel lives until the application ends.
    event->ignore();
}

void RLCDialog::PlaceOnScreen()
{
    adjustSize();
    const QScreen* screen = m_context.owner ? m_context.owner->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const PanelPosition place = PlacePanel(ReadPanelPosition(m_context.store), available.width(),
                                           available.height(), frameGeometry().width(), frameGeometry().height());
    move(available.left() + place.left, available.top() + place.top);
}
