#include "views/dialogs/GraphSettingsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/dialogs/ControlRectangle.h"
#include "views/dialogs/EditComponent.h"

namespace {

constexpr RangeField kFieldOrder[6] = {RangeField::FrequencyMin, RangeField::FrequencyMax, RangeField::ValueMin,
                                       RangeField::ValueMax, RangeField::PhaseMin, RangeField::PhaseMax};

}  // namespace

CGraphSettingsDlg::CGraphSettingsDlg(SettingsKind kind, const Values& values, QWidget* parent)
    : QDialog(parent),
      m_kind(kind),
      m_values(values),
      m_grid(new ControlRectangle(this)),
      m_plotType(new QComboBox(this)),
      m_numbers(new QCheckBox("Show dataset numbers and labels", this)),
      m_title(new QCheckBox("Show graph title", this)),
      m_legend(new QCheckBox("Show graph legend", this)),
      m_autoscale(new QCheckBox("Always autoscale all", this))
{
    const bool gain = kind == SettingsKind::Gain;
    setWindowTitle(gain ? "Gain / Phase Graph Settings" : "Impedance / Phase Graph Settings");
    if (gain)
        m_plotType->addItems({"Gain & Phase", "Gain Only", "Phase Only"});
    else
        m_plotType->addItems({"Imp & Phase", "Impedance Only", "Phase Only"});
    const int mode = m_plotType->findText(QString::fromStdString(values.plotMode));
    m_plotType->setCurrentIndex(mode < 0 ? 0 : mode);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("Plot type:", m_plotType);
    form->addRow("Grid color:", m_grid);
    layout->addLayout(form);
    for (QCheckBox* box : {m_numbers, m_title, m_legend, m_autoscale})
        layout->addWidget(box);
    const char* groups[3] = {"Frequency [Hz]", gain ? "Gain [dB]" : "Impedance [Ohm]", "Phase [\u00B0]"};
    for (int g = 0; g < 3; ++g) {
        auto* box = new QGroupBox(QString::fromUtf8(groups[g]), this);
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < 2; ++i) {
            CEditComponent*& field = m_fields[g * 2 + i];
            field = new CEditComponent(box);
            grid->addWidget(new QLabel(i == 0 ? "Min" : "Max", box), 0, i);
            grid->addWidget(field, 1, i);
            const RangeField which = kFieldOrder[g * 2 + i];
            connect(field, &CEditComponent::committed, this, [this, which] { FieldLeft(which); });
        }
        m_autoButtons[g] = new QPushButton("Autoscale", box);
        grid->addWidget(m_autoButtons[g], 1, 2);
        connect(m_autoButtons[g], &QPushButton::clicked, this, [this, g] {
            const GraphRanges& a = m_values.autoscaleRanges;
            const double pairs[3][2] = {{a.frequencyMin, a.frequencyMax}, {a.valueMin, a.valueMax},
                                        {a.phaseMin, a.phaseMax}};
            m_fields[g * 2]->SetValue(pairs[g][0], 4);
            m_fields[g * 2 + 1]->SetValue(pairs[g][1], 4);
        });
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_grid->SetColor(values.gridColor);
    m_numbers->setChecked(values.dataNumbers);
    m_title->setChecked(values.title);
    m_legend->setChecked(values.legend);
    m_autoscale->setChecked(values.autoscale);
    ShowRanges(values.ranges);
    connect(m_plotType, &QComboBox::currentIndexChanged, this, &CGraphSettingsDlg::UpdateEnabling);
    connect(m_autoscale, &QCheckBox::toggled, this, &CGraphSettingsDlg::UpdateEnabling);
    UpdateEnabling();
}

CEditComponent* CGraphSettingsDlg::Field(RangeField field) const
{
    return m_fields[int(field)];
}

void CGraphSettingsDlg::UpdateEnabling()
{
    const bool a = m_autoscale->isChecked();
    const int mode = m_plotType->currentIndex();
    Field(RangeField::FrequencyMin)->setEnabled(!a);
    Field(RangeField::FrequencyMax)->setEnabled(!a);
    const bool value = mode != 2 && !a, phase = mode != 1 && !a;
    Field(RangeField::ValueMin)->setEnabled(value);
    Field(RangeField::ValueMax)->setEnabled(value);
    Field(RangeField::PhaseMin)->setEnabled(phase);
    Field(RangeField::PhaseMax)->setEnabled(phase);
}

GraphRanges CGraphSettingsDlg::ReadFields() const
{
    GraphRanges r;
    r.frequencyMin = Field(RangeField::FrequencyMin)->GetValue();
    r.frequencyMax = Field(RangeField::FrequencyMax)->GetValue();
    r.valueMin = Field(RangeField::ValueMin)->GetValue();
    r.valueMax = Field(RangeField::ValueMax)->GetValue();
    r.phaseMin = Field(RangeField::PhaseMin)->GetValue();
    r.phaseMax = Field(RangeField::PhaseMax)->GetValue();
    return r;
}

void CGraphSettingsDlg::ShowRanges(const GraphRanges& r)
{
    const double values[6] = {r.frequencyMin, r.frequencyMax, r.valueMin, r.valueMax, r.phaseMin, r.phaseMax};
    for (int i = 0; i < 6; ++i)
        if (m_fields[i]->GetValue() != values[i] || m_fields[i]->text().isEmpty())
            m_fields[i]->SetValue(values[i], 4);
}

void CGraphSettingsDlg::FieldLeft(RangeField field)
{
    GraphRanges r = ReadFields();
    ApplyRangeRule(r, field, m_kind);
    ShowRanges(r);
}

CGraphSettingsDlg::Values CGraphSettingsDlg::Result()
{
    for (CEditComponent* field : m_fields)
        field->blockSignals(true);
    for (CEditComponent* field : m_fields)
        field->Commit();
    for (CEditComponent* field : m_fields)
        field->blockSignals(false);
    GraphRanges r = ReadFields();
    ApplyRangeRulesOnOk(r, m_kind);
    ShowRanges(r);
    Values v = m_values;
    v.plotMode = m_plotType->currentText().toStdString();
    v.gridColor = m_grid->Color();
    v.dataNumbers = m_numbers->isChecked();
    v.title = m_title->isChecked();
    v.legend = m_legend->isChecked();
    v.autoscale = m_autoscale->isChecked();
    v.ranges = r;
    return v;
}

void CGraphSettingsDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ChooseSwatchColor(*m_grid, this, event->position().toPoint());
    QDialog::mousePressEvent(event);
}
