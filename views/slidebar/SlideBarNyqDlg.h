#pragma once
// CSlideBarNyqDlg: the Nyquist display's "Slide Bar Info" window: frequency, the bar's phase,
// the real and imaginary parts and the magnitude of the impedance. Every focus loss of the
// frequency edit sends the frequency; Esc does not close it.
#include "views/slidebar/SlideBarDlg.h"
#include "views/slidebar/SlideBarReadout.h"

class CSlideBarNyqDlg : public CSlideBarDlg {
    Q_OBJECT
public:
    enum Row { PhaseRow, RealRow, ImagRow, MagnitudeRow };

    CSlideBarNyqDlg(int dataSetNumber, QWidget* parent);
    void ShowValues(double frequency, const NyqReadout& values);

protected:
    std::vector<std::string> PaperNames() const override;
};
