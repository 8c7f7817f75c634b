#pragma once
// The Bode display's drawing: gain in dB on the left scale, phase in degrees on the right,
// in the modes "Gain & Phase", "Gain Only" and "Phase Only".
#include "views/base/GraphRenderer.h"

class CGainRenderer : public CGraphRenderer {
public:
    enum class Mode { GainAndPhase, GainOnly, PhaseOnly };

    using CGraphRenderer::CGraphRenderer;

    // Any mode text other than "Gain Only" and "Phase Only" is "Gain & Phase".
    Mode CurrentMode() const;

    int DrawGraph(ViewPainter& dc) override;
    int DrawData(ViewPainter& dc) override;
    int AutoScale() override;
    void DrawSlideBarMarker(ViewPainter& dc, double frequency, int dataSet) override;

    int YGain(double gain) const { return YFromValue(gain, m_f.gainMin, m_f.gainMax); }
    int YPhase(double phase) const { return YFromValue(phase, m_f.phaseMin, m_f.phaseMax); }

    // Horizontal grid lines at the multiples of `step` strictly inside [minimum, maximum].
    void DrawHorizontalGrid(ViewPainter& dc, double step, double minimum, double maximum);
    // Phase grid labels right-aligned at the graph's right edge ("Phase Only").
    void DrawPhaseGridLabels(ViewPainter& dc, double step);
    // The phase caption in the right margin.
    void DrawPhaseCaption(ViewPainter& dc);
    // Label text of a curve: " %i-<what> " or " %i_%s-<what> " with the name.
    static std::string CurveLabel(const CDataSet& set, const std::string& what);

protected:
    // Gain labels, and in "Gain & Phase" the phase at the same heights.
    void DrawGainGridLabels(ViewPainter& dc, double step, bool withPhase);
    // Writes `text` with its bottom on y, when it fits between the graph top and the text
    // rectangle's bottom; right-aligned at the right edge or left-aligned at the left edge.
    void DrawGridLabel(ViewPainter& dc, int y, const std::string& text, bool right);
    void DrawZeroLine(ViewPainter& dc, bool phase);
    // Loop bounds of the multiples of step in [minimum, maximum] (bounded in number).
    static bool GridRange(double step, double minimum, double maximum, double& first, double& last);
};
