#pragma once
// CTalViewImp: the impedance chart (impedance magnitude and phase against logarithmic
// frequency, with lines of constant capacitance and inductance). Its Math Menu opens the
// data-set math dialog.
#include "views/base/TalView.h"
#include "views/imp/ImpRenderer.h"

class CTalViewImp : public CTalView {
    Q_OBJECT
public:
    CTalViewImp(CTalDocument* document, QWidget* parent);

    DisplayKind GetDisplayKind() const override { return DisplayKind::Imp; }
    std::string GetViewTypeName() const override { return "Imp"; }
    CGraphRenderer* Renderer() override { return &m_impRenderer; }
    CImpRenderer& ImpRenderer() { return m_impRenderer; }

    void OnGraphProperties() override;
    // The properties dialog (impedance kind) for the lowest-numbered selected data set.
    void OnDataSetProperties() override;
    // Opens the "Math" dialog for this document.
    void OnMathMenu();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;

protected:
    std::vector<std::string> LegendTexts() const override { return {"Impedance", "Phase"}; }

private:
    CImpRenderer m_impRenderer;
};
