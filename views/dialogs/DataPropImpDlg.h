#pragma once
// CDataPropImpDlg, "Data Set Properties": name, type, description, visibility, description
// box, colours, nodes and scale factor of one data set of a display, in its impedance (1), gain
// (2) or Nyquist (3) kind. Picking another data set asks to save unsaved changes; "Set as
// Default" makes the working nodes, scale factor and colours the application defaults.
#include <QDialog>
#include <string>

#include "views/base/TalView.h"

class ControlRectangle;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CDataPropImpDlg : public QDialog {
    Q_OBJECT
public:
    CDataPropImpDlg(CTalView& view, int kind, QWidget* parent = nullptr);

    // Fills the data-set list and loads the data set at `index` (none for an invalid index).
    void SetFirstDataSet(int index);
    int EditedIndex() const { return m_index; }
    bool IsModified() const { return m_modified; }
    // Stores the working values into the display and the document; false (with the message)
    // for a zero scale factor.
    bool SaveDataSet();
    void SetAsDefault();
    // Fixed point with 3 - trunc(log10 |value|) decimals, limited to 0 to 4.
    static std::string FormatScaleFactor(double value);

    QComboBox* DataSetList() const { return m_dataSets; }
    QComboBox* VoltageNodeList() const { return m_voltageNode; }
    QComboBox* CurrentNodeList() const { return m_currentNode; }
    QComboBox* TypeList() const { return m_type; }
    QLineEdit* NameField() const { return m_name; }
    QLineEdit* ScaleField() const { return m_scale; }
    QCheckBox* ShowBox() const { return m_show; }
    ControlRectangle* FirstSwatch() const { return m_swatch1; }
    ControlRectangle* SecondSwatch() const { return m_swatch2; }
    QLabel* FirstColorLabel() const { return m_label1; }
    QLabel* SecondColorLabel() const { return m_label2; }
    QLabel* VoltageNodeLabel() const { return m_voltageLabel; }
    QLabel* FormulaLabel() const { return m_formula; }
    // Commits the scale factor field as when it loses the focus.
    void ScaleFieldLeft();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void LoadDataSet(int number);
    void FillNodes(const CDataSet& set);
    void MarkModified() { m_modified = true; }

    CTalView& m_view;
    int m_kind;
    int m_index = -1;
    bool m_modified = false;
    bool m_loading = false;
    DataSetProperties m_props;
    std::string m_loadedDescription;
    QComboBox* m_dataSets;
    QLineEdit* m_name;
    QComboBox* m_type;
    QPlainTextEdit* m_description;
    QCheckBox* m_show;
    QCheckBox* m_showDescription;
    QLabel* m_label1;
    QLabel* m_label2;
    ControlRectangle* m_swatch1;
    ControlRectangle* m_swatch2;
    QLabel* m_voltageLabel;
    QLabel* m_currentLabel;
    QComboBox* m_voltageNode;
    QComboBox* m_currentNode;
    QLineEdit* m_scale;
    QLabel* m_formula;
};
