#pragma once
// The "Math" dialog: combines two operands (data sets of the document or constants) into a new
// data set with one of seven operations, shows the formula, and stays open after "Create".
#include <QDialog>
#include <string>

class CEditComponent;
class CTalDocument;
class CTalView;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;

class MathImpDialog : public QDialog {
    Q_OBJECT
public:
    // `view` is the display the dialog was opened from (it hides a transfer function's result).
    MathImpDialog(CTalDocument* document, CTalView* view);

    // The formula line for operation entry `entry` (0..6) with the operand texts.
    static std::string Formula(int entry, const std::string& a, const std::string& b);
    // A data-set list entry: "%i", then ": " and the name when there is one.
    static std::string ListEntry(int number, const std::string& name);

    // Performs the selected operation (the "Create" button).
    void OnCreate();
    QString FormulaText() const;

    // The controls, for tests and for the layout.
    QComboBox* operation() const { return m_operation; }
    QRadioButton* datasetRadio(int operand) const { return m_dataset[operand]; }
    QRadioButton* scalarRadio(int operand) const { return m_scalarRadio[operand]; }
    QListWidget* datasetList(int operand) const { return m_list[operand]; }
    CEditComponent* scalarBox(int operand) const { return m_scalar[operand]; }
    CEditComponent* scaleFactorBox() const { return m_scaleFactor; }

private:
    void FillLists();
    void UpdateFormula();
    std::string OperandText(int operand) const;

    CTalDocument* m_doc;
    CTalView* m_view;
    QComboBox* m_operation;
    QRadioButton* m_dataset[2];
    QRadioButton* m_scalarRadio[2];
    QListWidget* m_list[2];
    CEditComponent* m_scalar[2];
    CEditComponent* m_scaleFactor;
    QLabel* m_formula;
};
