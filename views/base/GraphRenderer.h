#pragma once
// Draws a graph display into a ViewPainter: the drawing sequence, the layout computed at the
// first update, the logarithmic frequency axis with its grid, labels, caption and frame, the
// curves with clipping, selection squares and labels, and the automatic frequency range.
// Subclasses supply the vertical axes and say which curves to draw.
//
// To add a graph display kind: derive from CGraphRenderer, implement DrawGraph (axes, grids,
// labels; call the frequency-axis parts of this class), DrawData (DrawTrace / DrawPhaseTrace
// per visible data set), AutoScale and DrawSlideBarMarker; then derive a CTalView that owns it.
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "views/base/CurvePath.h"
#include "views/base/PaintMessages.h"
#include "views/base/TraceCache.h"
#include "views/base/ViewFields.h"
#include "views/base/ViewPainter.h"

class CDataSet;
class CTalDocument;

class CGraphRenderer {
public:
    CGraphRenderer(CTalDocument& document, ViewFields& fields);
    CGraphRenderer(const CGraphRenderer&) = delete;
    CGraphRenderer& operator=(const CGraphRenderer&) = delete;
    virtual ~CGraphRenderer() = default;

    CTalDocument& Document() { return m_doc; }
    ViewFields& Fields() { return m_f; }
    PaintMessages& Messages() { return m_messages; }
    TraceCache& Cache() { return m_cache; }

    // The whole drawing (graph, curves, slide-bar markers, boxes); printers and pictures also
    // get the child dialogs through `drawChildDialogs`.
    void Draw(ViewPainter& dc);
    std::function<void(ViewPainter&)> drawChildDialogs;
    // The display's live boxes (legend, title, text boxes); without it the stored records are
    // drawn with their default looks.
    std::function<void(ViewPainter&)> drawAnnotations;

    virtual int DrawGraph(ViewPainter& dc);
    virtual int DrawData(ViewPainter& dc);
    virtual int AutoScale();
    virtual void DrawSlideBarMarker(ViewPainter& dc, double frequency, int dataSet);
    // Where the bar at `frequency` on `dataSet` is drawn and grabbed: 4 units each side of its
    // line over the graph's height, plus its " %i " label box where it is drawn when data
    // numbers are shown.
    virtual HitGeometry SlideBarRegion(ViewPainter& dc, double frequency, int dataSet);

    // Layout at the first update; false (rectangle unchanged) when it cannot be computed.
    bool ComputeGraphRect(const LogicalMapping& mapping);
    bool ComputeTextRect(ViewPainter& dc);

    // Mappings of the graph rectangle.
    int XFromFrequency(double frequency) const;
    int XFromLogFrequency(double logFrequency) const
    {
        if (!(m_rangeMin == m_f.frequencyMin && m_rangeMax == m_f.frequencyMax))
            UpdateLogRange();
        const LogicalRect& g = m_f.graphRect;
        if (m_logMax == m_logMin)
            return g.left;
        return TruncateCoordinate(g.left + (logFrequency - m_logMin) / (m_logMax - m_logMin) * (g.right - g.left));
    }
    double FrequencyFromX(int x) const;
    // log10 of the frequency range.
    double LogMin() const
    {
        if (!(m_rangeMin == m_f.frequencyMin && m_rangeMax == m_f.frequencyMax))
            UpdateLogRange();
        return m_logMin;
    }
    double LogMax() const
    {
        LogMin();
        return m_logMax;
    }
    int YFromValue(double value, double minimum, double maximum) const
    {
        const LogicalRect& g = m_f.graphRect;
        if (maximum == minimum)
            maximum += 1e-11;
        return TruncateCoordinate(g.bottom + (g.top - g.bottom) * (value - minimum) / (maximum - minimum));
    }

    // Frequency-axis parts shared by every graph display.
    void DrawFrequencyGrid(ViewPainter& dc);
    void DrawDecadeLabels(ViewPainter& dc);
    void DrawFrequencyCaption(ViewPainter& dc);
    void DrawFrame(ViewPainter& dc);
    // Caption rotated to read upward, centred in the margin [marginLeft, marginRight] and on
    // the graph height, with the range ends in black along the same line.
    void DrawVerticalCaption(ViewPainter& dc, int marginLeft, int marginRight, const std::string& caption,
                             uint32_t color, double minimum, double maximum);
    // The label box of a curve; empty when data numbers are not shown.
    LogicalRect DrawTraceLabel(ViewPainter& dc, int x, int y, const std::string& text, uint32_t color,
                               bool selected);

    // One curve of value q_k = scale * log10 |gain_k| on the linear axis [minimum, maximum];
    // `valueAt` gives the value at a frequency limit the curve is cut at (NaN for no value).
    struct TraceStyle {
        double scale = 1.0;
        double minimum = 0, maximum = 1;
        uint32_t color = 0;
        bool selected = false;
        std::string label;
        std::function<double(double)> valueAt;
        CurveMemo* memo = nullptr;  // lets a band repaint draw only the points near the band
    };
    void DrawTrace(ViewPainter& dc, const TraceValues& values, const TraceStyle& style, HitGeometry& hit);
    // The phase curve in the window [phase minimum, phase maximum] folded to start within
    // [-180, 180], split where it passes the window's seam; `errorText` is shown for a
    // segment whose phases lie outside the stored range.
    void DrawPhaseTrace(ViewPainter& dc, const CDataSet& set, const TraceValues& values, uint32_t color,
                        bool selected, int number, const std::string& errorText, HitGeometry& hit,
                        CurveMemo* memo = nullptr);
    // True while a band is repainted after a complete drawing: hit geometry and labels are
    // kept from that drawing and the curves draw only the points near the band.
    bool PartialDrawing() const { return m_partial; }

    // Frequency range from the visible data sets (limits recomputed first).
    void AutoFrequencyRange();
    // A range value cut to 3 significant digits ("%.3G" and back).
    static double CutToThreeDigits(double value);
    // " " + engineering(value, 4) + (" " for 0 and 1 <= |value| < 1000) + unit.
    static std::string UnitLabel(double value, const std::string& unit);
    // trunc(-15 * s) and trunc(-30 * s).
    static int LabelFontHeight(const ViewPainter& dc);
    static int CaptionFontHeight(const ViewPainter& dc);
    // The data set whose colours the captions use: the lowest-numbered selected one, 0 when
    // none is selected, -1 without data sets.
    int CaptionDataSet() const;
    bool IsVisible(int dataSet) const;
    bool IsSelected(int dataSet) const;
    // Visible data sets with points in document order, the lowest-numbered selected last.
    std::vector<int> DrawingOrder() const;

protected:
    virtual void DrawAnnotations(ViewPainter& dc);
    void PaintCurve(ViewPainter& dc, CurvePath& path, uint32_t color, bool firstPixel, LogicalPoint first);
    // Paints a curve's pieces and its label, and adds their geometry; a band repaint keeps the
    // label of the last complete drawing.
    void FinishCurve(ViewPainter& dc, CurvePath& path, uint32_t color, bool selected, const std::string& label,
                     bool firstPixel, LogicalPoint first, bool haveAnchor, LogicalPoint anchor, bool partial,
                     CurveMemo* memo, int end, HitGeometry& local, HitGeometry& hit);

    CTalDocument& m_doc;
    ViewFields& m_f;
    PaintMessages m_messages;
    TraceCache m_cache;

private:
    // The points [begin, end) of a curve a band repaint needs: those within the band widened
    // by a selection square and the pen, and one more on each side.
    void PointWindow(const ViewPainter& dc, const TraceValues& values, int& begin, int& end) const;
    bool m_partial = false;
    bool m_geometryCurrent = false;  // the last drawing rebuilt every curve's geometry
    // The smallest log frequency of every logical column (left + 1 .. right), for the range
    // and graph rectangle they were computed for.
    const std::vector<double>& ColumnEdges();
    std::vector<double> m_edges;
    LogicalRect m_edgesFor;
    double m_edgesMin = 0, m_edgesMax = 0;
    // log10 of the frequency range, recomputed only when the range changes.
    void UpdateLogRange() const;
    mutable double m_rangeMin = std::numeric_limits<double>::quiet_NaN(), m_rangeMax = m_rangeMin;
    mutable double m_logMin = 0, m_logMax = 0;
};
