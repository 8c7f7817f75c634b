#include "views/slidebar/SlideBarImpDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "data/EngineeringNotation.h"
#include "views/dialogs/EditComponent.h"
#include "views/slidebar/CircuitPicture.h"
#include "views/slidebar/SlideBarMath.h"
#include "views/slidebar/SlideBarReadout.h"

namespace {

constexpr double kNoValue = 9e99;

double ShownValue(const QString& text)
{
    return text == QStringLiteral("- - -") ? kNoValue : ParseEngineering(text.toStdString());
}

}  // namespace

CSlideBarImpDlg::CSlideBarImpDlg(int dataSetNumber, QWidget* parent) : CSlideBarDlg(dataSetNumber, parent)
{
    AddRow(QStringLiteral("Impedance:"), QStringLiteral("Ohm"));
    AddRow(QStringLiteral("Phase:"), QStringLiteral("°"));
    auto* group = new QGroupBox(QStringLiteral("Equivalent Circuit"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(4, 4, 4, 4);
    m_picture = new CCircuitPicture(group);
    groupLayout->addWidget(m_picture, 0, Qt::AlignHCenter);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    groupLayout->addLayout(grid);
    Table()->addWidget(group, Table()->rowCount(), 0, 1, 3);
    AddRow(QStringLiteral("Resistance:"), QStringLiteral("Ohm"), grid);
    AddRow(QStringLiteral("Inductance:"), QStringLiteral("H"), grid);
    FinishLayout();
    connect(m_picture, &CCircuitPicture::toggled, this, &CSlideBarImpDlg::OnPictureToggled);
}

void CSlideBarImpDlg::ShowValues(double frequency, double magnitude, double phase)
{
    SetFrequency(frequency);
    SetValueText(ImpedanceRow, SlideBarValueText(magnitude));
    SetValueText(PhaseRow, SlideBarValueText(phase));
    ShowCircuit(frequency, magnitude, phase);
}

void CSlideBarImpDlg::ShowCircuit(double frequency, double magnitude, double phase)
{
    const EquivalentCircuit c = ComputeEquivalentCircuit(frequency, magnitude, phase, m_picture->IsParallel());
    if (c.valid) {
        NameLabel(ReactiveRow)->setText(c.capacitance ? QStringLiteral("Capacitance:") : QStringLiteral("Inductance:"));
        UnitLabel(ReactiveRow)->setText(c.capacitance ? QStringLiteral("F") : QStringLiteral("H"));
        m_picture->SetCapacitance(c.capacitance);
    }
    SetValueText(ResistanceRow, c.valid ? SlideBarValueText(c.resistance) : "- - -");
    SetValueText(ReactiveRow, c.valid ? SlideBarValueText(c.reactive) : "- - -");
}

void CSlideBarImpDlg::OnPictureToggled()
{
    ShowCircuit(FrequencyEdit()->GetValue(), ShownValue(ValueText(ImpedanceRow)), ShownValue(ValueText(PhaseRow)));
}

QString CSlideBarImpDlg::ReactiveLabel() const
{
    return NameLabel(ReactiveRow)->text();
}

std::vector<std::string> CSlideBarImpDlg::PaperNames() const
{
    return {"Frequency (Hz)", "Impedance (Ohms)", "Phase (deg)", "Resistance (Ohms)", ReactiveLabel().toStdString()};
}
