#pragma once
// RLCDialog: the modeless property sheet "RLC Control Panel" with the pages "Measurement",
// "Model" and "Report". Opening it reads the reference resistor, sets the analyzer frequency
// limits of the type, has a 2600-series dialog repeat its second initialisation stage, makes
// the displays give new sweeps the negated reference resistor as scale factor, and places the
// panel where it was. It cannot be closed by the user; destroying it returns a 2600-series
// analyzer to its safe state and stores the position.
#include <QDialog>

#include "rlc/adapters/EngineMeasurementAnalyzer.h"
#include "rlc/ui/RlcPanelContext.h"

class QTabWidget;
class RLCDialogTabMeasurement;
class RLCDialogTabModel;
class RLCDialogTabReport;

class RLCDialog : public QDialog {
    Q_OBJECT
public:
    explicit RLCDialog(const RlcPanelContext& context);
    ~RLCDialog() override;

    RLCDialogTabMeasurement& Measurement() { return *m_measurement; }
    RLCDialogTabModel& Model() { return *m_model; }
    RLCDialogTabReport& Report() { return *m_report; }
    QTabWidget& Pages() { return *m_pages; }

    // True while a calibration or component sweep of the panel runs.
    bool SweepRunning() const;
    // Stops the panel's sweep without going on with the workflow (the panel is about to go).
    void EndSweep();

public slots:
    // Escape does not close the panel.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceOnScreen();

    RlcPanelContext m_context;
    EngineMeasurementAnalyzer m_analyzer;  // the open and close steps of the 2600 series
    QTabWidget* m_pages;
    RLCDialogTabMeasurement* m_measurement;
    RLCDialogTabModel* m_model;
    RLCDialogTabReport* m_report;
};
