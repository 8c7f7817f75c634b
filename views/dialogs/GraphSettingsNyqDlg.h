#pragma once
// CGraphSettingsNyqDlg, "Nyquist Graph Properties": grid colour, invert Y, only positive X,
// data numbers, title, the range in ohms and the axis it spans. The display's further values
// (auxiliary colour, option word, voltage format) travel along unchanged.
#include <QDialog>
#include <cstdint>

class CEditComponent;
class ControlRectangle;
class QCheckBox;
class QComboBox;

class CGraphSettingsNyqDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        uint32_t gridColor = 0x00FF00;
        bool invertY = false, onlyPositiveX = false;
        bool dataNumbers = false, title = false;
        double range = 100.0;
        int rangeAxis = 0;  // 0 X axis, 1 Y axis
        uint32_t auxColor = 0xFF00FF;
        int options = 0;
        bool voltageFormat = false;
    };

    explicit CGraphSettingsNyqDlg(const Values& values, QWidget* parent = nullptr);
    // The values as the controls hold them (what OK takes over).
    Values Result() const;

    CEditComponent* RangeField() const { return m_range; }
    QComboBox* AxisList() const { return m_axis; }
    ControlRectangle* GridSwatch() const { return m_grid; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Values m_values;
    ControlRectangle* m_grid;
    QCheckBox* m_invertY;
    QCheckBox* m_positiveX;
    QCheckBox* m_numbers;
    QCheckBox* m_title;
    CEditComponent* m_range;
    QComboBox* m_axis;
};
