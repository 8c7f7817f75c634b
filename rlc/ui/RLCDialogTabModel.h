#pragma once
// RLCDialogTabModel: the "Model" page of the RLC control panel, thin over ModelPage. The
// "Component:" list chooses the circuit kind (schematic redrawn, data-set list refilled, fit
// run), the "Dataset:" list is refilled from the active document whenever it is opened, the
// R, L (or Rp) and C fields show the fit and take the user's values, and "Create Plot" adds
// the model's impedance to the document. "Refine" puts the least-squares values into the fields
// with their standard uncertainties and the residual beside them; "Best Fit" also picks the
// kind ranked best. Ctrl+C copies the schematic as a bitmap.
#include <QWidget>

#include <functional>

#include "rlc/model/ModelPage.h"

class CEditComponent;
class CTalDocument;
class CTalView;
class QComboBox;
class QLabel;
class QPushButton;

class RLCDialogTabModel : public QWidget {
    Q_OBJECT
public:
    explicit RLCDialogTabModel(std::function<CTalView*()> activeDisplay, QWidget* parent = nullptr);

    const ModelPage& Page() const { return m_page; }

    // The user's choices, as made in the lists.
    void ChooseKind(int kind);
    void OpenDataSetList();
    void ChooseDataSet(int position);
    // "Create Plot": the new data set's index, or -1.
    int CreatePlot();
    // "Refine" and "Best Fit" on the active document.
    void Refine();
    void BestFit();
    // The schematic of the chosen kind onto the clipboard as a bitmap.
    void CopySchematic();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CTalDocument* ActiveDocument() const;
    void FillDataSetList(const CTalDocument* document);
    // Fields, second label and unit, and the schematic as the page's state has them.
    void ShowState();
    // The uncertainties beside the refined fields and the residual, or nothing.
    void ShowRefinement();
    void CommitField(CEditComponent* edit, ModelValueField& field);

    std::function<CTalView*()> m_activeDisplay;
    ModelPage m_page;
    QComboBox* m_kind;
    QComboBox* m_dataSet;
    CEditComponent* m_r;
    CEditComponent* m_second;
    CEditComponent* m_c;
    QLabel* m_secondLabel;
    QLabel* m_secondUnit;
    QLabel* m_schematic;
    QLabel* m_uncertainty[3];  // beside R, the second value and C
    QLabel* m_residual;
    QPushButton* m_createPlot;
    QPushButton* m_refine;
    QPushButton* m_bestFit;
};
