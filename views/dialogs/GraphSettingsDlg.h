#pragma once
// CGraphSettingsGainDlg / CGraphSettingsImpDlg: "Gain / Phase Graph Settings" and
// "Impedance / Phase Graph Settings" (one class, two kinds): plot type, grid colour, the
// numbers, title, legend and autoscale check boxes, and the frequency, gain or impedance and
// phase ranges with their "Autoscale" buttons. Fields follow GraphRangeRules when left and on OK.
#include <QDialog>
#include <cstdint>
#include <string>

#include "views/dialogs/GraphRangeRules.h"

class CEditComponent;
class ControlRectangle;
class QCheckBox;
class QComboBox;
class QPushButton;

class CGraphSettingsDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        std::string plotMode;
        uint32_t gridColor = 0x00FF00;
        bool dataNumbers = true, title = false, legend = false, autoscale = false;
        GraphRanges ranges;
        GraphRanges autoscaleRanges;  // what the three "Autoscale" buttons put in
    };

    CGraphSettingsDlg(SettingsKind kind, const Values& values, QWidget* parent = nullptr);
    // Validates the fields in the OK order and gives the values.
    Values Result();

    CEditComponent* Field(RangeField field) const;
    QComboBox* PlotTypeList() const { return m_plotType; }
    QCheckBox* AutoscaleBox() const { return m_autoscale; }
    QPushButton* AutoscaleButton(int group) const { return m_autoButtons[group]; }  // 0 f, 1 value, 2 phase

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void UpdateEnabling();
    void FieldLeft(RangeField field);
    GraphRanges ReadFields() const;
    void ShowRanges(const GraphRanges& ranges);

    SettingsKind m_kind;
    Values m_values;
    ControlRectangle* m_grid;
    QComboBox* m_plotType;
    QCheckBox* m_numbers;
    QCheckBox* m_title;
    QCheckBox* m_legend;
    QCheckBox* m_autoscale;
    CEditComponent* m_fields[6];
    QPushButton* m_autoButtons[3];
};
