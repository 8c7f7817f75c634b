#include "views/slidebar/SlideBarNyqDlg.h"

CSlideBarNyqDlg::CSlideBarNyqDlg(int dataSetNumber, QWidget* parent) : CSlideBarDlg(dataSetNumber, parent)
{
    SetEscapeCloses(false);
    SetSendEveryCommit(true);
    AddRow(QStringLiteral("Imp. phase:"), QStringLiteral("°"));
    AddRow(QStringLiteral("Imp. (real):"), QStringLiteral("Ohm"));
    AddRow(QStringLiteral("Imp. (imag):"), QStringLiteral("Ohm"));
    AddRow(QStringLiteral("Imp. magnitude:"), QStringLiteral("Ohm"));
    FinishLayout();
}

void CSlideBarNyqDlg::ShowValues(double frequency, const NyqReadout& values)
{
    SetFrequency(frequency);
    SetValueText(PhaseRow, SlideBarNyqPhaseText(values.phase));
    SetValueText(RealRow, SlideBarValueText(values.real));
    SetValueText(ImagRow, SlideBarValueText(values.imag));
    SetValueText(MagnitudeRow, SlideBarValueText(values.magnitude));
}

std::vector<std::string> CSlideBarNyqDlg::PaperNames() const
{
    return {"Frequency:", "Imp. phase:", "Imp. (real):", "Imp. (imag):", "Imp. magnitude:"};
}
