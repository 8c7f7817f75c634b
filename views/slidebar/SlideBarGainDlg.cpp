#include "views/slidebar/SlideBarGainDlg.h"

CSlideBarGainDlg::CSlideBarGainDlg(int dataSetNumber, QWidget* parent) : CSlideBarDlg(dataSetNumber, parent)
{
    AddRow(QStringLiteral("Gain:"), QStringLiteral("dB"));
    AddRow(QStringLiteral("Phase:"), QStringLiteral("°"));
    AddRow(QStringLiteral("Slope:"), QString());
    FinishLayout();
}

void CSlideBarGainDlg::ShowValues(double frequency, const GainReadout& values)
{
    SetFrequency(frequency);
    SetValueText(GainRow, SlideBarValueText(values.gain));
    SetValueText(PhaseRow, SlideBarValueText(values.phase));
    SetValueText(SlopeRow, SlideBarSlopeText(values.slope));
}

std::vector<std::string> CSlideBarGainDlg::PaperNames() const
{
    return {"Frequency (Hz)", "Gain (dB)", "Phase (deg)", "Slope (20dB/decade)"};
}
