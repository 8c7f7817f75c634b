#pragma once
// CTalViewNyq: the Nyquist display, each visible data set in the complex impedance plane with
// equal pixel scale on both axes.
#include "views/base/TalView.h"
#include "views/dialogs/GraphSettingsNyqDlg.h"
#include "views/nyq/NyqRenderer.h"

class CTalViewNyq : public CTalView {
    Q_OBJECT
public:
    CTalViewNyq(CTalDocument* document, QWidget* parent);

    DisplayKind GetDisplayKind() const override { return DisplayKind::Nyq; }
    std::string GetViewTypeName() const override { return "Nyq"; }
    CGraphRenderer* Renderer() override { return &m_nyqRenderer; }
    CNyqRenderer& NyqRenderer() { return m_nyqRenderer; }

    // The "Nyquist Graph Properties" dialog; OK applies its values.
    void OnGraphProperties() override;
    CGraphSettingsNyqDlg::Values SettingsValues() const;
    // Takes the values over (a range only when above 0), marks the document, redraws.
    void ApplySettings(const CGraphSettingsNyqDlg::Values& values);
    // The properties dialog (Nyquist kind) for the lowest-numbered selected data set.
    void OnDataSetProperties() override;

protected:
    std::vector<std::string> LegendTexts() const override { return {"Impedance", "Phase"}; }

private:
    CNyqRenderer m_nyqRenderer;
};
