#pragma once
// RLCDialogTabReport: the "Report" page of the RLC control panel: the four report options and
// "Create Excel XML Report...", which writes the report of the active document with the Model
// page's circuit values. The nodes and scale factor of each reported data set are read through
// the active display, which selects that data set. The options are read from the settings
// store when the page is created and written back when it is destroyed.
#include <QWidget>

#include <functional>

#include "rlc/report/ReportWriter.h"

class CTalView;
class QCheckBox;
class RLCDialogTabModel;
class RlcSettingsSection;

class RLCDialogTabReport : public QWidget {
    Q_OBJECT
public:
    RLCDialogTabReport(RlcSettingsSection& store, std::function<CTalView*()> activeDisplay, const RLCDialogTabModel& model,
                       QWidget* parent = nullptr);
    ~RLCDialogTabReport() override;

    ReportOptions Options() const;
    // "Create Excel XML Report...": true when a report was written.
    bool OnCreateReport();

private:
    RlcSettingsSection& m_store;
    std::function<CTalView*()> m_activeDisplay;
    const RLCDialogTabModel& m_model;
    QCheckBox* m_textOutput;
    QCheckBox* m_includeVoltage;
    QCheckBox* m_includeCalibration;
    QCheckBox* m_displayCircuit;
};
