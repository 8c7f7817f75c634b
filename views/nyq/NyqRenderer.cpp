#include "views/nyq/NyqRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "data/TalDocument.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr double kDegrees = std::numbers::pi / 180.0;
constexpr int kBarHalfBand = 4;

double Real(double magnitude, double phase)
{
    return magnitude * std::cos(phase * kDegrees);
}

double Imag(double magnitude, double phase)
{
    return magnitude * std::sin(phase * kDegrees);
}

bool Valid(double magnitude, double phase)
{
    return std::isfinite(magnitude) && std::isfinite(phase) && magnitude < 9e99 && phase < 9e99;
}

// A segment's grab band: vertical bands widened to the normal distance for shallow segments,
// squares along steep ones (a vertical band encloses nothing there).
void AddSegmentBand(HitGeometry& hit, LogicalPoint a, LogicalPoint b)
{
    const int half = HitGeometry::kHalfBand;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    if (std::fabs(dx) >= std::fabs(dy)) {
        hit.AddBand(a.x, a.y, b.x, b.y, int(std::ceil(half * length / std::fabs(dx))));
        return;
    }
    const int steps = int(std::ceil(length / half));
    for (int i = 0; i <= steps; ++i)
        hit.AddSquare(int(std::lround(a.x + dx * i / steps)), int(std::lround(a.y + dy * i / steps)), half);
}

}  // namespace

int CNyqRenderer::LogicalX(const ViewPainter& dc, int deviceX) const
{
    return dc.Mapping().LogicalX(deviceX);
}

int CNyqRenderer::LogicalY(const ViewPainter& dc, int deviceY) const
{
    return dc.Mapping().LogicalY(deviceY);
}

void CNyqRenderer::ComputeAutomaticRange()
{
    double largestReal = 0.0001, largestImag = 0.0001;
    for (int s = 0; s < m_doc.GetDataSetCount(); ++s) {
        const CDataSet* set = m_doc.GetDataSet(s);
        if (!set || !IsVisible(s))
            continue;
        for (int i = 0; i < set->GetPointCount(); ++i) {
            const double magnitude = set->GetGain(i), phase = set->GetPhase(i);
            if (!Valid(magnitude, phase))
                continue;
            largestReal = std::max(largestReal, std::fabs(Real(magnitude, phase)));
            largestImag = std::max(largestImag, std::fabs(Imag(magnitude, phase)));
        }
    }
    const NyqRange automatic = AutomaticNyqRange(largestReal, largestImag);
    range = automatic.range;
    rangeAxis = automatic.axis;
}

NyqScale CNyqRenderer::ScaleFor(const ViewPainter& dc)
{
    if (range < 0)
        ComputeAutomaticRange();
    const LogicalMapping& m = dc.Mapping();
    const LogicalRect& g = m_f.graphRect;
    const int left = m.DeviceX(g.left), right = m.DeviceX(g.right);
    const NyqScale scale = NyqScale::For(left, m.DeviceY(g.top), right, m.DeviceY(g.bottom), {range, rangeAxis},
                                         onlyPositiveX, invertY);
    if (scale.pixelsPerOhm > 0) {
        m_ohmLeft = (left - scale.x0) / scale.pixelsPerOhm;
        m_ohmRight = (right - scale.x0) / scale.pixelsPerOhm;
    }
    return scale;
}

int CNyqRenderer::XFromReal(double real) const
{
    const LogicalRect& g = m_f.graphRect;
    if (m_ohmRight == m_ohmLeft)
        return g.left;
    return int(std::lround(g.left + (real - m_ohmLeft) / (m_ohmRight - m_ohmLeft) * g.Width()));
}

int CNyqRenderer::DrawGraph(ViewPainter& dc)
{
    const NyqScale scale = ScaleFor(dc);
    const LogicalRect& g = m_f.graphRect;
    DrawGrid(dc, scale);
    dc.SelectPen(kBlack, m_f.heavyPenWidth);
    const int y0 = LogicalY(dc, scale.y0), x0 = LogicalX(dc, scale.x0);
    dc.Line(g.left, y0, g.right, y0);
    if (!onlyPositiveX)
        dc.Line(x0, g.top, x0, g.bottom);
    DrawFrame(dc);

    // Captions: below the graph and rotated along its left edge, in the label font.
    dc.SetTextColor(kBlack);
    dc.SelectFont(LabelFontHeight(dc));
    const LogicalSize caption = dc.GetTextExtent("Real Impedance");
    dc.TextOut((g.left + g.right) / 2, g.bottom + caption.cy, "Real Impedance", ViewPainter::Align::Center);
    dc.SelectFont(LabelFontHeight(dc), 900);
    const LogicalSize vertical = dc.GetTextExtent("Imag. Impedance");
    const int captionX = std::max(0, g.left - 2 * dc.Mapping().LogicalWidth(dc.GetTextExtentDevice("X").height()));
    dc.TextOut(captionX, (g.top + g.bottom + vertical.cx) / 2, "Imag. Impedance");
    dc.SelectFont(LabelFontHeight(dc));
    return 1;
}

void CNyqRenderer::DrawGrid(ViewPainter& dc, const NyqScale& scale)
{
    const std::optional<NyqGridStep> step = ChooseNyqGridStep(scale.pixelsPerOhm);
    if (!step)
        return;
    const LogicalMapping& m = dc.Mapping();
    const LogicalRect& g = m_f.graphRect;
    const int left = m.DeviceX(g.left), right = m.DeviceX(g.right);
    const int top = m.DeviceY(g.top), bottom = m.DeviceY(g.bottom);
    const double pixelsPerStep = scale.pixelsPerOhm * step->value;
    dc.SelectPen(m_f.gridColor, m_f.lightPenWidth);
    dc.SelectFont(LabelFontHeight(dc));
    dc.SetTextColor(m_f.gridColor);
    const int labelY = LogicalY(dc, scale.y0) + 2;
    const int labelX = LogicalX(dc, scale.x0) + 4;
    // Vertical lines right and left of the origin, then horizontal ones above and below.
    for (int sign : {1, -1}) {
        for (int n = 1;; ++n) {
            const int x = scale.x0 + sign * int(std::lround(n * pixelsPerStep));
            if (x < left || x > right)
                break;
            const int lx = LogicalX(dc, x);
            dc.Line(lx, g.top, lx, g.bottom);
            dc.TextOut(lx, labelY, NyqGridLabel(n * step->value, step->exponent), ViewPainter::Align::Center);
        }
        for (int n = 1;; ++n) {
            const int y = scale.y0 - sign * int(std::lround(n * pixelsPerStep));
            if (y < top || y > bottom)
                break;
            const int ly = LogicalY(dc, y);
            dc.Line(g.left, ly, g.right, ly);
            dc.TextOut(labelX, ly + 2, NyqGridLabel(n * step->value, step->exponent));
        }
    }
}

std::vector<int> CNyqRenderer::PointsNextTo(int dataSet, double frequency) const
{
    const CDataSet* set = m_doc.GetDataSet(dataSet);
    if (!set || set->GetPointCount() == 0)
        return {};
    const int count = set->GetPointCount();
    int i = 0;
    while (i < count && set->GetFrequency(i) < frequency)
        ++i;
    if (i < count && set->GetFrequency(i) == frequency)
        return {i};
    if (i == 0)
        return {0};
    if (i == count)
        return {count - 1};
    return {i - 1, i};
}

int CNyqRenderer::DrawData(ViewPainter& dc)
{
    const NyqScale scale = ScaleFor(dc);
    const LogicalRect& g = m_f.graphRect;
    const int half = m_f.markerHalfSize;
    for (int s : DrawingOrder()) {
        const CDataSet* set = m_doc.GetDataSet(s);
        HitGeometry& hit = m_f.attribs[s].hit;
        hit.Clear();
        const bool selected = IsSelected(s);
        std::vector<int> nearBar;
        for (const SlideBarState& bar : m_f.slideBars)
            if (bar.dataSetIndex == s)
                for (int index : PointsNextTo(s, bar.frequency))
                    nearBar.push_back(index);
        const uint32_t color = set->GetPhaseColor();
        dc.SelectPen(color, m_f.heavyPenWidth);
        std::vector<LogicalPoint> points;
        std::vector<int> indexes;
        for (int i = 0; i < set->GetPointCount(); ++i) {
            const double magnitude = set->GetGain(i), phase = set->GetPhase(i);
            if (!Valid(magnitude, phase))
                continue;
            points.push_back({LogicalX(dc, scale.X(Real(magnitude, phase))), LogicalY(dc, scale.Y(Imag(magnitude, phase)))});
            indexes.push_back(i);
        }
        if (points.empty())
            continue;
        dc.SetPixel(points[0].x, points[0].y, color);
        hit.AddSquare(points[0].x, points[0].y);
        for (size_t i = 1; i < points.size(); ++i) {
            const LogicalPoint a = points[i - 1], b = points[i];
            if (g.Contains(a.x, a.y) || g.Contains(b.x, b.y)) {
                dc.Line(a.x, a.y, b.x, b.y);
                AddSegmentBand(hit, a, b);
            }
        }
        if (selected) {
            for (size_t i = 0; i < points.size(); ++i) {
                const bool marked = std::find(nearBar.begin(), nearBar.end(), indexes[i]) != nearBar.end();
                dc.FillRect({points[i].x - half, points[i].y - half, points[i].x + half, points[i].y + half},
                            marked ? m_f.nyquistAuxColor : kBlack);
            }
        }
        const LogicalRect box =
            DrawTraceLabel(dc, points[0].x, points[0].y, " " + std::to_string(set->m_number) + " ", color, selected);
        if (!box.IsEmpty())
            hit.AddRect(box);
    }
    return 1;
}

void CNyqRenderer::DrawSlideBarMarker(ViewPainter& dc, double frequency, int dataSet)
{
    const CDataSet* set = m_doc.GetDataSet(dataSet);
    if (!set || m_doc.GetDataSetCount() == 0)
        return;
    const double magnitude = set->GetGainAt(frequency), phase = set->GetPhaseAt(frequency);
    if (!Valid(magnitude, phase))
        return;
    const LogicalRect& g = m_f.graphRect;
    const int x = XFromReal(Real(magnitude, phase));
    dc.SelectPen(kBlack, 1);
    dc.Line(x, g.top, x, g.bottom);
    const LogicalRect box =
        DrawTraceLabel(dc, x, g.top, " " + std::to_string(set->m_number) + " ", set->GetPhaseColor(), IsSelected(dataSet));
    std::erase_if(m_labelBoxes, [&](const BarLabel& l) { return l.dataSet == dataSet && l.frequency == frequency; });
    m_labelBoxes.push_back({dataSet, frequency, box});
}

HitGeometry CNyqRenderer::SlideBarRegion(double frequency, int dataSet) const
{
    HitGeometry region;
    const CDataSet* set = m_doc.GetDataSet(dataSet);
    if (!set)
        return region;
    const double magnitude = set->GetGainAt(frequency), phase = set->GetPhaseAt(frequency);
    if (!Valid(magnitude, phase))
        return region;
    const LogicalRect& g = m_f.graphRect;
    const int x = XFromReal(Real(magnitude, phase));
    region.AddRect({x - kBarHalfBand, g.top, x + kBarHalfBand + 1, g.bottom});
    if (m_f.dataNumbersShown)
        for (const BarLabel& label : m_labelBoxes)
            if (label.dataSet == dataSet && label.frequency == frequency && !label.box.IsEmpty())
                region.AddRect(label.box);
    return region;
}
