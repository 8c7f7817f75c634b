// Curves of the graph displays: the trace of one quantity with clipping at the frequency and
// value limits, and the phase curve with its window and seam.
//
// Dense curves are first reduced: within a run of consecutive points that fall into one
// logical column, lie strictly inside the graph and (for the phase) do not pass the seam,
// every piece is vertical and unclipped, so only the run's first, lowest, highest and last
// point change the picture. The exact clipping rules then run on the points kept. Selection
// squares of the dropped points are still drawn (merged per column by CurvePath).
#include <algorithm>
#include <cmath>
#include <functional>

#include "data/DataSet.h"
#include "views/base/GraphRenderer.h"

namespace {

constexpr uint32_t kBlack = 0x000000;

// The logical column of a log frequency by walking the renderer's column edges, which suits
// points sorted by frequency (either way) without a division per point.
class ColumnWalker {
public:
    ColumnWalker(const std::vector<double>& edges, int left) : m_edges(edges), m_left(left), m_column(left)
    {
        m_right = left + int(edges.size()) - 1;
    }
    int Column(double lf)
    {
        while (m_column < m_right && lf >= m_edges[size_t(m_column - m_left + 1)])
            ++m_column;
        while (m_column > m_left && lf < m_edges[size_t(m_column - m_left)])
            --m_column;
        return m_column;
    }

private:
    const std::vector<double>& m_edges;
    int m_left, m_right, m_column;
};

// Indexes of the points that change the picture, in order. Of each run of simple points in one
// column (sharing it, and `joins` between neighbours) the first, lowest, highest and last are
// kept; of each run of points outside the graph on the same `side` (a nonzero class such that
// pieces between two points of the class are never drawn) the first and last; every other
// point. Kept in locals: this loop sees every point.
template <typename Value, typename Simple, typename Side, typename Joins>
void ReduceColumns(int n, const double* logFrequency, Value value, Simple simple, Side side, Joins joins,
                   ColumnWalker& columns, std::vector<int>& kept)
{
    int runX = 0, first = -1, low = 0, high = 0, last = 0;
    int outsideClass = 0, outsideFirst = -1, outsideLast = 0;
    double lowValue = 0, highValue = 0, previous = 0;
    const auto flush = [&] {
        if (first >= 0) {
            int indexes[4] = {first, low, high, last};
            std::sort(indexes, indexes + 4);
            for (int i = 0; i < 4; ++i)
                if (i == 0 || indexes[i] != indexes[i - 1])
                    kept.push_back(indexes[i]);
            first = -1;
        }
        if (outsideFirst >= 0) {
            kept.push_back(outsideFirst);
            if (outsideLast != outsideFirst)
                kept.push_back(outsideLast);
            outsideFirst = -1;
        }
    };
    for (int k = 0; k < n; ++k) {
        const double lf = logFrequency[k], q = value(k);
        if (!simple(lf, q)) {
            const int cls = side(lf, q);
            if (outsideFirst >= 0 && cls != 0 && cls == outsideClass && joins(previous, q)) {
                outsideLast = k;
            } else {
                flush();
                if (cls != 0) {
                    outsideClass = cls;
                    outsideFirst = outsideLast = k;
                } else {
                    kept.push_back(k);
                }
            }
            previous = q;
            continue;
        }
        const int x = columns.Column(lf);
        if (first >= 0 && x == runX && joins(previous, q)) {
            // Without branches on the values: noisy data would defeat the branch predictor.
            low = q < lowValue ? k : low;
            high = q > highValue ? k : high;
            lowValue = std::min(q, lowValue);
            highValue = std::max(q, highValue);
            last = k;
        } else {
            flush();
            runX = x;
            first = low = high = last = k;
            lowValue = highValue = q;
        }
        previous = q;
    }
    flush();
}

}  // namespace

const std::vector<double>& CGraphRenderer::ColumnEdges()
{
    const LogicalRect& g = m_f.graphRect;
    if (m_edgesFor == g && m_edgesMin == m_f.frequencyMin && m_edgesMax == m_f.frequencyMax && !m_edges.empty())
        return m_edges;
    m_edgesFor = g;
    m_edgesMin = m_f.frequencyMin;
    m_edgesMax = m_f.frequencyMax;
    // m_edges[j - left] is the smallest log frequency of column j, found with
    // XFromLogFrequency itself so that both always agree.
    m_edges.assign(size_t(std::max(0, g.right - g.left)) + 1, -HUGE_VAL);
    const double lmin = LogMin(), span = LogMax() - lmin;
    for (int j = g.left + 1; j <= g.right; ++j) {
        double e = lmin + span * (j - g.left) / double(g.right - g.left);
        for (int guard = 0; guard < 64 && XFromLogFrequency(e) >= j; ++guard)
            e = std::nextafter(e, -HUGE_VAL);
        for (int guard = 0; guard < 64 && XFromLogFrequency(e) < j; ++guard)
            e = std::nextafter(e, HUGE_VAL);
        m_edges[size_t(j - g.left)] = e;
    }
    return m_edges;
}

void CGraphRenderer::PointWindow(const ViewPainter& dc, const TraceValues& v, int& begin, int& end) const
{
    const int n = v.Count();
    begin = 0;
    end = n;
    const LogicalRect& g = m_f.graphRect;
    if (!(v.ascending || v.descending) || g.right == g.left)
        return;
    const QRect& bounds = dc.PaintBounds();
    const int reach = m_f.markerHalfSize + 2 * m_f.heavyPenWidth + 2;
    const int xa = dc.Mapping().LogicalX(bounds.left()) - reach;
    const int xb = dc.Mapping().LogicalX(bounds.right() + 1) + reach;
    const double lmin = LogMin(), span = LogMax() - lmin;
    const double la = lmin + span * (xa - g.left) / double(g.right - g.left);
    const double lb = lmin + span * (xb - g.left) / double(g.right - g.left);
    const auto& lf = v.logFrequency;
    if (v.ascending) {
        begin = int(std::lower_bound(lf.begin(), lf.end(), la) - lf.begin()) - 1;
        end = int(std::upper_bound(lf.begin(), lf.end(), lb) - lf.begin()) + 1;
    } else {
        begin = int(std::lower_bound(lf.begin(), lf.end(), lb, std::greater<double>()) - lf.begin()) - 1;
        end = int(std::upper_bound(lf.begin(), lf.end(), la, std::greater<double>()) - lf.begin()) + 1;
    }
    begin = std::clamp(begin, 0, n);
    end = std::clamp(end, begin, n);
}

void CGraphRenderer::PaintCurve(ViewPainter& dc, CurvePath& path, uint32_t color, bool firstPixel,
                                LogicalPoint first)
{
    path.Finish(m_f.markerHalfSize);
    dc.SelectPen(color, m_f.heavyPenWidth);
    if (firstPixel)
        dc.SetPixel(first.x, first.y, color);
    dc.Polylines(path.Polylines());
    for (const LogicalRect& marker : path.Markers())
        dc.FillRect(marker, kBlack);
}

void CGraphRenderer::DrawTrace(ViewPainter& dc, const TraceValues& v, const TraceStyle& style, HitGeometry& hit)
{
    const int n = v.Count();
    if (n == 0)
        return;
    const double vmin = style.minimum;
    const double vmax = style.maximum == style.minimum ? style.maximum + 1e-11 : style.maximum;
    const double fmin = m_f.frequencyMin, fmax = m_f.frequencyMax;
    const double lmin = std::log10(fmin), lmax = std::log10(fmax);
    const auto Y = [&](double q) { return YFromValue(q, vmin, vmax); };
    const auto value = [&](int k) { return style.scale * v.logGain[k]; };
    const auto simple = [&](double lf, double q) { return lmin < lf && lf < lmax && vmin < q && q < vmax; };

    CurveMemo* memo = style.memo;
    const bool partial = PartialDrawing() && memo;
    int begin = 0, end = n;
    if (partial)
        PointWindow(dc, v, begin, end);

    CurvePath path;
    // Points that change the picture; every simple point's selection square goes in directly.
    std::vector<int> kept;
    kept.reserve(std::min(end - begin, 4 * (m_f.graphRect.Width() + 2) + 16));
    ColumnWalker columns(ColumnEdges(), m_f.graphRect.left);
    // Pieces between two points on one side of a frequency limit, or both at or beyond one
    // value limit inside the frequency range, are never drawn.
    const auto side = [&](double lf, double q) {
        if (lf <= lmin)
            return 1;
        if (lf >= lmax)
            return 2;
        if (q <= vmin)
            return 3;
        if (q >= vmax)
            return 4;
        return 0;  // not a number
    };
    const auto shifted = [&](int k) { return value(begin + k); };
    ReduceColumns(end - begin, v.logFrequency.data() + begin, shifted, simple, side,
                  [](double, double) { return true; }, columns, kept);
    for (int& k : kept)
        k += begin;
    if (style.selected)
        for (int k = begin; k < end; ++k)
            if (const double lf = v.logFrequency[k], q = value(k); simple(lf, q))
                path.AddMarker(XFromLogFrequency(lf), Y(q));
    if (kept.empty()) {
        if (partial && memo->labelled)
            DrawTraceLabel(dc, memo->anchor.x, memo->anchor.y, style.label, style.color, style.selected);
        return;
    }

    HitGeometry local;
    bool haveAnchor = false;
    LogicalPoint anchor;
    bool firstPixel = false;
    LogicalPoint first;

    double lf1 = v.logFrequency[kept[0]];
    double q1 = value(kept[0]);
    int x1 = XFromLogFrequency(lf1), y1 = Y(q1);
    if (kept[0] == 0 && lmin <= lf1 && lf1 <= lmax && vmin <= q1 && q1 <= vmax) {
        firstPixel = true;
        first = {x1, y1};
        if (style.selected && !simple(lf1, q1))
            path.AddMarker(x1, y1);
        local.AddSquare(x1, y1, HitGeometry::kHalfBand);
        haveAnchor = true;
        anchor = first;
    }
    for (size_t i = 1; i < kept.size(); ++i) {
        double lf0 = lf1, q0 = q1;
        const int x0 = x1, y0 = y1;
        lf1 = v.logFrequency[kept[i]];
        q1 = value(kept[i]);
        x1 = XFromLogFrequency(lf1);
        y1 = Y(q1);
        LogicalPoint a{x0, y0}, b{x1, y1};
        bool endReal = true;
        const bool endSimple = simple(lf1, q1);
        if (!(simple(lf0, q0) && endSimple)) {
            // The exact rules: frequency limits first, then the value limits.
            if ((lf0 <= lmin && lf1 <= lmin) || (lf0 >= lmax && lf1 >= lmax))
                continue;
            double s0 = q0, s1 = q1, l0 = lf0, l1 = lf1;
            if (l0 < lmin) {
                l0 = lmin;
                s0 = style.valueAt(fmin);
            }
            if (l1 > lmax) {
                // Cut at the right edge: the end drawn there is no data point.
                l1 = lmax;
                s1 = style.valueAt(fmax);
                endReal = false;
            }
            if (!std::isfinite(s0) || !std::isfinite(s1) || !std::isfinite(l0) || !std::isfinite(l1))
                continue;
            if ((s0 <= vmin && s1 <= vmin) || (s0 >= vmax && s1 >= vmax))
                continue;
            if (s0 < vmin || s0 > vmax) {
                const double limit = s0 < vmin ? vmin : vmax;
                l0 = l1 + (l0 - l1) * (limit - s1) / (s0 - s1);
                s0 = limit;
            }
            if (s1 < vmin || s1 > vmax) {
                const double limit = s1 < vmin ? vmin : vmax;
                l1 = l0 + (l1 - l0) * (limit - s0) / (s1 - s0);
                s1 = limit;
                endReal = false;
            }
            a = {XFromLogFrequency(l0), Y(s0)};
            b = {XFromLogFrequency(l1), Y(s1)};
        }
        path.AddPiece(a, b);
        if (!haveAnchor) {
            haveAnchor = true;
            anchor = a;
        }
        if (style.selected && endReal && !endSimple)
            path.AddMarker(b.x, b.y);
        if (!partial || kept[i] >= memo->hitPoints)
            local.AddBand(a.x, a.y, b.x, b.y, HitGeometry::kHalfBand);
    }
    FinishCurve(dc, path, style.color, style.selected, style.label, firstPixel, first, haveAnchor, anchor, partial,
                memo, end, local, hit);
}

void CGraphRenderer::FinishCurve(ViewPainter& dc, CurvePath& path, uint32_t color, bool selected,
                                 const std::string& label, bool firstPixel, LogicalPoint first, bool haveAnchor,
                                 LogicalPoint anchor, bool partial, CurveMemo* memo, int end, HitGeometry& local,
                                 HitGeometry& hit)
{
    const bool drawn = firstPixel || !path.IsEmpty();
    if (drawn)
        PaintCurve(dc, path, color, firstPixel, first);
    if (partial) {
        // The label of the last complete drawing, or the first one this curve gets.
        if (memo->labelled) {
            DrawTraceLabel(dc, memo->anchor.x, memo->anchor.y, label, color, selected);
        } else if (drawn && haveAnchor) {
            local.AddRect(DrawTraceLabel(dc, anchor.x, anchor.y, label, color, selected));
            memo->labelled = true;
            memo->anchor = anchor;
        }
        memo->hitPoints = std::max(memo->hitPoints, end);
        hit.Append(local);
        return;
    }
    if (memo) {
        memo->labelled = drawn && haveAnchor;
        memo->anchor = anchor;
        memo->hitPoints = end;
    }
    if (!drawn)
        return;
    local.AddRect(DrawTraceLabel(dc, anchor.x, anchor.y, label, color, selected));
    hit.Append(local);
}

void CGraphRenderer::DrawPhaseTrace(ViewPainter& dc, const CDataSet& set, const TraceValues& v, uint32_t color,
                                    bool selected, int number, const std::string& errorText, HitGeometry& hit,
                                    CurveMemo* memo)
{
    const int n = v.Count();
    if (n == 0)
        return;
    // The window, folded so that it starts within [-180, 180].
    double p0w = m_f.phaseMin, p1w = m_f.phaseMax;
    if (!std::isfinite(p0w) || !std::isfinite(p1w))
        return;
    double turns = 0;
    if (p0w < -180)
        turns = std::ceil((-180 - p0w) / 360);
    else if (p0w > 180)
        turns = -std::ceil((p0w - 180) / 360);
    p0w += 360 * turns;
    p1w += 360 * turns;
    if (p1w == p0w)
        p1w += 1e-11;
    const double P0 = p0w, P1 = p1w, seamTop = P0 + 360;
    const double fmin = m_f.frequencyMin, fmax = m_f.frequencyMax;
    const double lmin = std::log10(fmin), lmax = std::log10(fmax);
    const auto Map = [P0](double phase) { return phase < P0 ? phase + 360 : phase; };
    const auto Y = [&](double phase) { return YFromValue(phase, P0, P1); };
    // Inside the graph: no clipping at any limit. Pieces between two such points are drawn whole
    // unless they pass the seam.
    const auto simple = [&](double lf, double s) { return lmin < lf && lf < lmax && s <= P1; };

    const bool partial = PartialDrawing() && memo;
    int begin = 0, end = n;
    if (partial)
        PointWindow(dc, v, begin, end);
    const std::string label = " " + std::to_string(number) + "-Phase ";

    CurvePath path;
    std::vector<int> kept;
    kept.reserve(std::min(end - begin, 4 * (m_f.graphRect.Width() + 2) + 16));
    ColumnWalker columns(ColumnEdges(), m_f.graphRect.left);
    const auto phase = [&](int k) { return Map(v.phase[k]); };
    const auto noSeam = [](double a, double b) { return std::fabs(b - a) <= 180; };
    // Beyond one frequency limit, or above the window inside the range (and not across the seam).
    const auto side = [&](double lf, double s) {
        if (lf <= lmin)
            return 1;
        if (lf >= lmax)
            return 2;
        return s > P1 ? 3 : 0;
    };
    const auto shifted = [&](int k) { return phase(begin + k); };
    ReduceColumns(end - begin, v.logFrequency.data() + begin, shifted, simple, side, noSeam, columns, kept);
    for (int& k : kept)
        k += begin;
    if (selected)
        for (int k = begin; k < end; ++k)
            if (const double lf = v.logFrequency[k], s = phase(k); simple(lf, s))
                path.AddMarker(XFromLogFrequency(lf), Y(s));
    if (kept.empty()) {
        if (partial && memo->labelled)
            DrawTraceLabel(dc, memo->anchor.x, memo->anchor.y, label, color, selected);
        return;
    }

    HitGeometry local;
    bool haveAnchor = false;
    LogicalPoint anchor;
    bool firstPixel = false;
    LogicalPoint first;

    // Draws (l0, s0) -> (l1, s1) cut at the window top P1; `endReal` marks a data point end.
    bool newPiece = true;  // the piece's end is beyond the hit geometry of the last complete drawing
    const auto piece = [&](double l0, double s0, double l1, double s1, bool endReal, bool endMarked) {
        if (s0 > P1 && s1 > P1)
            return;
        if (s1 > P1) {
            l1 = l0 + (l1 - l0) * (P1 - s0) / (s1 - s0);
            s1 = P1;
            endReal = false;
        } else if (s0 > P1) {
            l0 = l1 + (l0 - l1) * (P1 - s1) / (s0 - s1);
            s0 = P1;
        }
        const LogicalPoint a{XFromLogFrequency(l0), Y(s0)}, b{XFromLogFrequency(l1), Y(s1)};
        path.AddPiece(a, b);
        if (!haveAnchor) {
            haveAnchor = true;
            anchor = a;
        }
        if (selected && endReal && !endMarked)
            path.AddMarker(b.x, b.y);
        if (newPiece)
            local.AddBand(a.x, a.y, b.x, b.y, HitGeometry::kHalfBand);
    };

    double lf1 = v.logFrequency[kept[0]];
    double ph1 = Map(v.phase[kept[0]]);
    if (kept[0] == 0 && lmin <= lf1 && lf1 <= lmax && P0 <= ph1 && ph1 <= P1) {
        firstPixel = true;
        first = {XFromLogFrequency(lf1), Y(ph1)};
        if (selected && !simple(lf1, ph1))
            path.AddMarker(first.x, first.y);
        local.AddSquare(first.x, first.y, HitGeometry::kHalfBand);
        haveAnchor = true;
        anchor = first;
    }
    for (size_t i = 1; i < kept.size(); ++i) {
        double l0 = lf1, s0 = ph1;
        lf1 = v.logFrequency[kept[i]];
        ph1 = Map(v.phase[kept[i]]);
        double l1 = lf1, s1 = ph1;
        const bool endMarked = simple(l1, s1);
        newPiece = !partial || kept[i] >= memo->hitPoints;
        if ((l0 <= lmin && l1 <= lmin) || (l0 >= lmax && l1 >= lmax))
            continue;
        bool endReal = true;
        if (l0 < lmin) {
            l0 = lmin;
            s0 = Map(set.GetPhaseAt(fmin));
        }
        if (l1 > lmax) {
            l1 = lmax;
            s1 = Map(set.GetPhaseAt(fmax));
            endReal = false;
        }
        const double d = std::fabs(s1 - s0);
        if (d <= 180) {
            piece(l0, s0, l1, s1, endReal, endMarked);
        } else if (d <= 360) {
            // Through the seam: the far end moved by 360 degrees towards the near one.
            if (s0 < s1) {
                const double lc = l0 + (l1 - l0) * (s0 - P0) / (s0 - (s1 - 360));
                piece(l0, s0, lc, P0, false, false);
                piece(lc, seamTop, l1, s1, endReal, endMarked);
            } else {
                const double lc = l0 + (l1 - l0) * (seamTop - s0) / ((s1 + 360) - s0);
                piece(l0, s0, lc, seamTop, false, false);
                piece(lc, P0, l1, s1, endReal, endMarked);
            }
        } else {
            m_messages.Raise(errorText);
        }
    }
    FinishCurve(dc, path, color, selected, label, firstPixel, first, haveAnchor, anchor, partial, memo, end, local,
                hit);
}
