#pragma once
// "New Plot": the plot-type question of File New. Choice 1 is "Impedance Plot", 2 "Nyquist Plot";
// Run returns the choice on OK and 0 on Cancel.
#include <QDialog>

class QRadioButton;

class NewPlotTypeDialog : public QDialog {
public:
    static constexpr int kImpedancePlot = 1;
    static constexpr int kNyquistPlot = 2;

    explicit NewPlotTypeDialog(int initialChoice, QWidget* parent = nullptr);

    int Run();
    int Choice() const { return m_choice; }
    QRadioButton* Button(int choice) const;

private:
    int m_choice;
    QRadioButton* m_impedance;
    QRadioButton* m_nyquist;
};
