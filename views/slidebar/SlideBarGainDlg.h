#pragma once
// CSlideBarGainDlg: the gain display's "Slide Bar Info" window: frequency, gain (dB), phase
// and slope at the bar.
#include "views/slidebar/SlideBarDlg.h"
#include "views/slidebar/SlideBarReadout.h"

class CSlideBarGainDlg : public CSlideBarDlg {
    Q_OBJECT
public:
    enum Row { GainRow, PhaseRow, SlopeRow };

    CSlideBarGainDlg(int dataSetNumber, QWidget* parent);
    void ShowValues(double frequency, const GainReadout& values);

protected:
    std::vector<std::string> PaperNames() const override;
};
