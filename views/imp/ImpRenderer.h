#pragma once
// The impedance chart's drawing: impedance magnitude on a logarithmic scale with its decade
// grid, lines of constant capacitance and inductance with rotated value labels, and phase,
// in the modes "Imp & Phase", "Impedance Only" and "Phase Only".
#include <vector>

#include "views/gain/GainRenderer.h"

class CImpRenderer : public CGainRenderer {
public:
    enum class ImpMode { ImpAndPhase, ImpOnly, PhaseOnly };

    // One line of constant capacitance or inductance, clipped to the graph.
    struct ChartLine {
        double value = 0;     // farads or henries
        bool decade = false;  // j = 1: heavy pen and a label
        LogicalPoint start, end;
    };

    using CGainRenderer::CGainRenderer;

    // Any mode text other than "Impedance Only" and "Phase Only" is "Imp & Phase".
    ImpMode CurrentImpMode() const;

    int DrawGraph(ViewPainter& dc) override;
    int DrawData(ViewPainter& dc) override;
    int AutoScale() override;
    void DrawSlideBarMarker(ViewPainter& dc, double frequency, int dataSet) override;

    int YImpedance(double impedance) const;
    std::vector<ChartLine> CapacitanceLines() const;
    std::vector<ChartLine> InductanceLines() const;
    // Text of a decade label: " 100 pF ", " 1 uH ".
    static std::string ComponentLabel(double value, const std::string& unit);
    // The label's rotation in tenths of a degree: the on-screen angle of a line rising one
    // impedance decade per frequency decade.
    int LabelEscapement(const LogicalMapping& mapping) const;

private:
    double LogImpMin() const;
    double LogImpMax() const;
    void DrawImpedanceGrid(ViewPainter& dc);
    void DrawImpedanceLabels(ViewPainter& dc);
    // Slides the rotated text along its line from `anchor` until it clears the text
    // rectangle's top and its left (capacitance) or right (inductance) edge; written only
    // when it then lies wholly inside the text rectangle.
    void DrawLineLabel(ViewPainter& dc, const ChartLine& line, bool capacitance, int escapement);
};
