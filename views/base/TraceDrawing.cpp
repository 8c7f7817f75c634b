// Curves of the graph displays: the trace of one quantity with clipping at the frequency and
// value limits, and the phase curve with its window and seam.
#include <cmath>

#include "data/DataSet.h"
#include "data/EngineeringNotation.h"
#include "views/base/GraphRenderer.h"

namespace {

constexpr uint32_t kBlack = 0x000000;

}  // namespace

void CGraphRenderer::PaintCurve(ViewPainter& dc, CurvePath& path, uint32_t color, bool firstPixel,
                                LogicalPoint first)
{
    path.Finish(m_f.markerHalfSize);
    dc.SelectPen(color, m_f.heavyPenWidth);
    if (firstPixel)
        dc.SetPixel(first.x, first.y, color);
    for (const auto& line : path.Polylines())
        dc.Polyline(line);
    for (const LogicalRect& marker : path.Markers())
        dc.FillRect(marker, kBlack);
}

void CGraphRenderer::DrawTrace(ViewPainter& dc, const TraceValues& v, const TraceSpec& spec, HitGeometry& hit)
{
    const int n = v.Count();
    if (n == 0)
        return;
    const double vmin = spec.minimum;
    const double vmax = spec.maximum == spec.minimum ? spec.maximum + 1e-11 : spec.maximum;
    const double fmin = m_f.frequencyMin, fmax = m_f.frequencyMax;
    const double lmin = std::log10(fmin), lmax = std::log10(fmax);
    const auto Y = [&](double q) { return YFromValue(q, vmin, vmax); };

    CurvePath path;
    HitGeometry local;
    bool haveAnchor = false;
    LogicalPoint anchor;
    bool firstPixel = false;
    LogicalPoint first;

    double lf1 = v.logFrequency[0];
    double q1 = spec.scale * v.logGain[0];
    int x1 = XFromLogFrequency(lf1), y1 = Y(q1);
    if (lmin <= lf1 && lf1 <= lmax && vmin <= q1 && q1 <= vmax) {
        firstPixel = true;
        first = {x1, y1};
        if (spec.selected)
            path.AddMarker(x1, y1);
        local.AddSquare(x1, y1, HitGeometry::kHalfBand);
        haveAnchor = true;
        anchor = first;
    }
    for (int k = 1; k < n; ++k) {
        double lf0 = lf1, q0 = q1;
        const int x0 = x1, y0 = y1;
        lf1 = v.logFrequency[k];
        q1 = spec.scale * v.logGain[k];
        x1 = XFromLogFrequency(lf1);
        y1 = Y(q1);
        LogicalPoint a{x0, y0}, b{x1, y1};
        bool endReal = true;
        const bool inside = lmin < lf0 && lf0 < lmax && lmin < lf1 && lf1 < lmax && vmin < q0 && q0 < vmax &&
                            vmin < q1 && q1 < vmax;
        if (!inside) {
            // The exact rules: frequency limits first, then the value limits.
            if ((lf0 <= lmin && lf1 <= lmin) || (lf0 >= lmax && lf1 >= lmax))
                continue;
            double s0 = q0, s1 = q1, l0 = lf0, l1 = lf1;
            if (l0 < lmin) {
                l0 = lmin;
                s0 = spec.valueAt(fmin);
            }
            if (l1 > lmax) {
                // Cut at the right edge: the end drawn there is no data point.
                l1 = lmax;
                s1 = spec.valueAt(fmax);
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
        if (spec.selected && endReal)
            path.AddMarker(b.x, b.y);
        local.AddBand(a.x, a.y, b.x, b.y, HitGeometry::kHalfBand);
    }
    if (!firstPixel && path.IsEmpty())
        return;
    PaintCurve(dc, path, spec.color, firstPixel, first);
    local.AddRect(DrawTraceLabel(dc, anchor.x, anchor.y, spec.label, spec.color, spec.selected));
    hit.Append(local);
}

void CGraphRenderer::DrawPhaseTrace(ViewPainter& dc, const CDataSet& set, const TraceValues& v, uint32_t color,
                                    bool selected, int number, const std::string& errorText, HitGeometry& hit)
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

    CurvePath path;
    HitGeometry local;
    bool haveAnchor = false;
    LogicalPoint anchor;
    bool firstPixel = false;
    LogicalPoint first;

    // Draws (l0, s0) -> (l1, s1) cut at the window top P1; `endReal` marks a data point end.
    const auto piece = [&](double l0, double s0, double l1, double s1, bool endReal) {
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
        if (selected && endReal)
            path.AddMarker(b.x, b.y);
        local.AddBand(a.x, a.y, b.x, b.y, HitGeometry::kHalfBand);
    };

    double lf1 = v.logFrequency[0];
    double ph1 = Map(v.phase[0]);
    if (lmin <= lf1 && lf1 <= lmax && P0 <= ph1 && ph1 <= P1) {
        firstPixel = true;
        first = {XFromLogFrequency(lf1), Y(ph1)};
        if (selected)
            path.AddMarker(first.x, first.y);
        local.AddSquare(first.x, first.y, HitGeometry::kHalfBand);
        haveAnchor = true;
        anchor = first;
    }
    for (int k = 1; k < n; ++k) {
        double l0 = lf1, s0 = ph1;
        lf1 = v.logFrequency[k];
        ph1 = Map(v.phase[k]);
        double l1 = lf1, s1 = ph1;
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
            piece(l0, s0, l1, s1, endReal);
        } else if (d <= 360) {
            // Through the seam: the far end moved by 360 degrees towards the near one.
            if (s0 < s1) {
                const double lc = l0 + (l1 - l0) * (s0 - P0) / (s0 - (s1 - 360));
                piece(l0, s0, lc, P0, false);
                piece(lc, seamTop, l1, s1, endReal);
            } else {
                const double lc = l0 + (l1 - l0) * (seamTop - s0) / ((s1 + 360) - s0);
                piece(l0, s0, lc, seamTop, false);
                piece(lc, P0, l1, s1, endReal);
            }
        } else {
            m_messages.Raise(errorText);
        }
    }
    if (!firstPixel && path.IsEmpty())
        return;
    PaintCurve(dc, path, color, firstPixel, first);
    local.AddRect(DrawTraceLabel(dc, anchor.x, anchor.y, " " + std::to_string(number) + "-Phase ", color, selected));
    hit.Append(local);
}
