#pragma once
// The Nyquist display's drawing: the complex impedance plane with equal pixel scale on both
// axes, its axes, grid and labels, the curves (points next to a slide bar in the auxiliary
// colour) and the slide-bar markers at the real part of their frequency.
#include <vector>

#include "views/base/GraphRenderer.h"
#include "views/nyq/NyqScale.h"

class CNyqRenderer : public CGraphRenderer {
public:
    using CGraphRenderer::CGraphRenderer;

    // The settings of the display; a negative range asks for the automatic one.
    double range = -1.0;
    NyqRangeAxis rangeAxis = NyqRangeAxis::X;
    bool invertY = false;
    bool onlyPositiveX = false;

    int DrawGraph(ViewPainter& dc) override;
    int DrawData(ViewPainter& dc) override;
    void DrawSlideBarMarker(ViewPainter& dc, double frequency, int dataSet) override;

    // Computes and keeps the automatic range from the visible data sets.
    void ComputeAutomaticRange();
    // The scale on the painter's device, computing the automatic range first when needed.
    NyqScale ScaleFor(const ViewPainter& dc);
    // The ohm values at the left and right end of the horizontal axis, set by each drawing.
    double OhmLeft() const { return m_ohmLeft; }
    double OhmRight() const { return m_ohmRight; }
    // Horizontal logical position of a real part, linear between the axis ends.
    int XFromReal(double real) const;
    // Indexes of the points of `dataSet` next to a frequency: the bracketing pair or the exact one.
    std::vector<int> PointsNextTo(int dataSet, double frequency) const;
    // Where the marker of a bar stands, and its grab band (4 units each side, plus the label box).
    HitGeometry SlideBarRegion(double frequency, int dataSet) const;
    HitGeometry SlideBarRegion(ViewPainter&, double frequency, int dataSet) override
    {
        return SlideBarRegion(frequency, dataSet);
    }

private:
    void DrawGrid(ViewPainter& dc, const NyqScale& scale);
    int LogicalX(const ViewPainter& dc, int deviceX) const;
    int LogicalY(const ViewPainter& dc, int deviceY) const;

    double m_ohmLeft = 0, m_ohmRight = 0;
    struct BarLabel {
        int dataSet;
        double frequency;
        LogicalRect box;
    };
    std::vector<BarLabel> m_labelBoxes;  // the label of each marker drawn, for its grab band
};
