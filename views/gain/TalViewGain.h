#pragma once
// CTalViewGain: the Bode display (gain in dB and phase against logarithmic frequency).
#include "views/base/TalView.h"
#include "views/gain/GainRenderer.h"

class CTalViewGain : public CTalView {
    Q_OBJECT
public:
    CTalViewGain(CTalDocument* document, QWidget* parent);

    DisplayKind GetDisplayKind() const override { return DisplayKind::Gain; }
    std::string GetViewTypeName() const override { return "Gain"; }
    CGraphRenderer* Renderer() override { return &m_renderer; }
    CGainRenderer& GainRenderer() { return m_renderer; }

    void OnGraphProperties() override;
    // The properties dialog (gain kind) for the lowest-numbered selected data set.
    void OnDataSetProperties() override;

protected:
    std::vector<std::string> LegendTexts() const override { return {"Gain", "Phase"}; }

private:
    CGainRenderer m_renderer;
};
