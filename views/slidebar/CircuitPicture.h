#pragma once
// CCircuitPicture: the picture check box of the impedance slide-bar dialog. Clear, it shows a
// resistor in series with the reactive element; set, the two in parallel. The element is drawn
// as a capacitor or an inductor, as the readout says.
#include <QAbstractButton>

class CCircuitPicture : public QAbstractButton {
    Q_OBJECT
public:
    explicit CCircuitPicture(QWidget* parent = nullptr);

    void SetCapacitance(bool capacitance);
    bool IsParallel() const { return isChecked(); }
    QSize sizeHint() const override { return {96, 48}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_capacitance = true;
};
