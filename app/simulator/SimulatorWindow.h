#pragma once
// The "Simulated Instrument" window of a program started with --simulate: what sits in the
// fixture (open, short, or a component of any circuit kind with its values), the noise and the
// faults. "Apply" hands the choice to the simulator; the next sweep measures it. The window stays
// usable while a prompt of the RLC panel waits ("Please open the circuit..."), so the
// whole workflow can be done by hand.
#include <QWidget>

#include "app/simulator/SimulatedFixture.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QDoubleSpinBox;
class SimulatorConnection;

class SimulatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit SimulatorWindow(const SimulatorConnection& simulator, QWidget* parent = nullptr);

    // The choice as the controls hold it.
    SimulatedFixture Fixture() const;
    void SetFixture(const SimulatedFixture& fixture);
    // Applies the choice; false (and the reason in the status line) when it is not taken.
    bool Apply();

protected:
    bool event(QEvent* event) override;

private:
    void UpdateValueFields();
    void FollowModalWindow();

    const SimulatorConnection& m_simulator;
    QButtonGroup* m_content;
    QComboBox* m_kind;
    QLabel* m_secondLabel;
    QLineEdit* m_r;
    QLineEdit* m_second;
    QLineEdit* m_c;
    QDoubleSpinBox* m_noise;
    std::vector<QCheckBox*> m_faults;
    QLabel* m_status;
};
