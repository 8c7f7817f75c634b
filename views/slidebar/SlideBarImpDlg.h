#pragma once
// CSlideBarImpDlg: the impedance display's "Slide Bar Info" window: frequency, |Z| and phase
// at the bar, and the equivalent circuit (series or parallel, chosen with the picture check
// box) with its resistance and its capacitance or inductance.
#include "views/slidebar/SlideBarDlg.h"

class CCircuitPicture;

class CSlideBarImpDlg : public CSlideBarDlg {
    Q_OBJECT
public:
    enum Row { ImpedanceRow, PhaseRow, ResistanceRow, ReactiveRow };

    CSlideBarImpDlg(int dataSetNumber, QWidget* parent);
    // Shows the values and the circuit computed from them (9e99: missing).
    void ShowValues(double frequency, double magnitude, double phase);
    CCircuitPicture* Picture() const { return m_picture; }
    // "Inductance:" or "Capacitance:".
    QString ReactiveLabel() const;

protected:
    std::vector<std::string> PaperNames() const override;

private:
    void ShowCircuit(double frequency, double magnitude, double phase);
    // The circuit again from the frequency and the texts shown ("- - -" is missing).
    void OnPictureToggled();

    CCircuitPicture* m_picture;
};
