#include "views/imp/ImpRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "data/DataSet.h"
#include "data/TalDocument.h"
#include "views/gain/GridStep.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kDecadeBound = 400;

double Log10OrNan(double value)
{
    return value == NO_DATA_VALUE || !(value > 0) ? std::nan("") : std::log10(value);
}

int TruncStart(double value)
{
    return std::max(TruncateCoordinate(value) - 1, -kDecadeBound);
}

}  // namespace

CImpRenderer::ImpMode CImpRenderer::CurrentImpMode() const
{
    if (m_f.displayMode == "Impedance Only")
        return ImpMode::ImpOnly;
    if (m_f.displayMode == "Phase Only")
        return ImpMode::PhaseOnly;
    return ImpMode::ImpAndPhase;
}

double CImpRenderer::LogImpMin() const
{
    return std::log10(m_f.impedanceMin);
}

double CImpRenderer::LogImpMax() const
{
    return std::log10(m_f.impedanceMax);
}

int CImpRenderer::YImpedance(double impedance) const
{
    return YFromValue(std::log10(impedance), LogImpMin(), LogImpMax());
}

std::string CImpRenderer::ComponentLabel(double value, const std::string& unit)
{
    return UnitLabel(value, unit + " ");
}

void CImpRenderer::DrawImpedanceGrid(ViewPainter& dc)
{
    const double zl = LogImpMin(), zh = LogImpMax();
    const LogicalRect& g = m_f.graphRect;
    for (int i = std::max(TruncateCoordinate(std::floor(zl)), -kDecadeBound);
         i <= std::min(TruncateCoordinate(std::floor(zh)), kDecadeBound); ++i) {
        for (int j = 1; j <= 9; ++j) {
            const double p = i + std::log10(double(j));
            if (!(zl < p && p < zh))
                continue;
            dc.SelectPen(m_f.gridColor, j == 1 ? m_f.heavyPenWidth : m_f.lightPenWidth);
            const int y = YFromValue(p, zl, zh);
            dc.Line(g.left, y, g.right, y);
        }
    }
}

std::vector<CImpRenderer::ChartLine> CImpRenderer::CapacitanceLines() const
{
    std::vector<ChartLine> lines;
    const double fmin = m_f.frequencyMin, fmax = m_f.frequencyMax;
    const double zmin = m_f.impedanceMin, zmax = m_f.impedanceMax;
    const LogicalRect& g = m_f.graphRect;
    const double cl = std::log10(1 / (kTwoPi * fmax * zmax));
    const double ch = std::log10(1 / (kTwoPi * fmin * zmin));
    for (int i = TruncStart(cl); i <= std::min(TruncateCoordinate(ch), kDecadeBound); ++i) {
        for (int j = 1; j <= 9; ++j) {
            const double c = j * std::pow(10.0, i);
            const double lc = std::log10(c);
            if (!(cl < lc && lc < ch))
                continue;
            ChartLine line;
            line.value = c;
            line.decade = j == 1;
            line.start = {XFromFrequency(1 / (kTwoPi * zmax * c)), g.top};
            if (line.start.x < g.left)
                line.start = {XFromFrequency(fmin), YImpedance(1 / (kTwoPi * fmin * c))};
            line.end = {XFromFrequency(1 / (kTwoPi * zmin * c)), g.bottom};
            if (line.end.x > g.right)
                line.end = {XFromFrequency(fmax), YImpedance(1 / (kTwoPi * fmax * c))};
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<CImpRenderer::ChartLine> CImpRenderer::InductanceLines() const
{
    std::vector<ChartLine> lines;
    const double fmin = m_f.frequencyMin, fmax = m_f.frequencyMax;
    const double zmin = m_f.impedanceMin, zmax = m_f.impedanceMax;
    const LogicalRect& g = m_f.graphRect;
    const double ll = std::log10(zmin / (kTwoPi * fmax));
    const double lh = std::log10(zmax / (kTwoPi * fmin));
    for (int i = TruncStart(ll); i <= std::min(TruncateCoordinate(lh), kDecadeBound); ++i) {
        for (int j = 1; j <= 9; ++j) {
            const double l = j * std::pow(10.0, i);
            const double lg = std::log10(l);
            if (!(ll < lg && lg < lh))
                continue;
            ChartLine line;
            line.value = l;
            line.decade = j == 1;
            line.start = {XFromFrequency(zmin / (kTwoPi * l)), g.bottom};
            if (line.start.x < g.left)
                line.start = {XFromFrequency(fmin), YImpedance(kTwoPi * fmin * l)};
            line.end = {XFromFrequency(zmax / (kTwoPi * l)), g.top};
            if (line.end.x > g.right)
                line.end = {XFromFrequency(fmax), YImpedance(kTwoPi * fmax * l)};
            lines.push_back(line);
        }
    }
    return lines;
}

int CImpRenderer::LabelEscapement(const LogicalMapping& mapping) const
{
    const double lmin = std::log10(m_f.frequencyMin), lmax = std::log10(m_f.frequencyMax);
    const double impDecade = mapping.DeviceHeight(m_f.graphRect.Height() / (LogImpMax() - LogImpMin()));
    const double freqDecade = mapping.DeviceWidth(m_f.graphRect.Width() / (lmax - lmin));
    const double degrees = std::atan2(impDecade, freqDecade) * 180 / std::numbers::pi;
    return std::isfinite(degrees) ? TruncateCoordinate(std::lround(degrees * 10)) : 0;
}

void CImpRenderer::DrawLineLabel(ViewPainter& dc, const ChartLine& line, bool capacitance, int escapement)
{
    const std::string text = ComponentLabel(line.value, capacitance ? "F" : "H");
    const LogicalMapping& m = dc.Mapping();
    const QSizeF size = dc.GetTextExtentDevice(text);
    // Direction along the text and down across it, on screen (y grows downwards).
    const double angle = escapement / 10.0 * std::numbers::pi / 180;
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF across(std::sin(angle), std::cos(angle));
    // The capacitance label starts at the line's upper-left end and slides down to the right;
    // the inductance label starts at its upper-right end and slides down to the left.
    const LogicalPoint anchorLogical = capacitance ? line.start : line.end;
    const LogicalPoint otherLogical = capacitance ? line.end : line.start;
    const QPointF anchor(m.DeviceXF(anchorLogical.x), m.DeviceYF(anchorLogical.y));
    QPointF slide(m.DeviceXF(otherLogical.x) - anchor.x(), m.DeviceYF(otherLogical.y) - anchor.y());
    const double length = std::hypot(slide.x(), slide.y());
    if (!(length > 0))
        return;
    slide /= length;
    const QPointF corners[4] = {QPointF(0, 0), along * size.width(), along * size.width() + across * size.height(),
                                across * size.height()};
    const double left = m.DeviceXF(m_f.textRect.left), right = m.DeviceXF(m_f.textRect.right);
    const double top = m.DeviceYF(m_f.textRect.top), bottom = m.DeviceYF(m_f.textRect.bottom);
    double t = 0;
    for (const QPointF& c : corners) {
        const QPointF p = anchor + c;
        if (slide.y() > 0)
            t = std::max(t, (top - p.y()) / slide.y());
        if (capacitance && slide.x() > 0)
            t = std::max(t, (left - p.x()) / slide.x());
        if (!capacitance && slide.x() < 0)
            t = std::max(t, (p.x() - right) / -slide.x());
    }
    const QPointF origin = anchor + slide * t;
    for (const QPointF& c : corners) {
        const QPointF p = origin + c;
        if (p.x() < left - 0.5 || p.x() > right + 0.5 || p.y() < top - 0.5 || p.y() > bottom + 0.5)
            return;
    }
    dc.TextOut(m.LogicalX(TruncateCoordinate(std::lround(origin.x()))),
               m.LogicalY(TruncateCoordinate(std::lround(origin.y()))), text);
}

void CImpRenderer::DrawImpedanceLabels(ViewPainter& dc)
{
    const double zl = LogImpMin(), zh = LogImpMax();
    dc.SelectFont(LabelFontHeight(dc));
    dc.SetTextColor(m_f.gridColor);
    for (int i = std::max(TruncateCoordinate(std::ceil(zl)), -kDecadeBound); i < zh && i <= kDecadeBound; ++i)
        DrawGridLabel(dc, YFromValue(i, zl, zh), UnitLabel(std::pow(10.0, i), "Ohm"), false);

    const int escapement = LabelEscapement(dc.Mapping());
    dc.SelectFont(LabelFontHeight(dc), -escapement);
    for (const ChartLine& line : CapacitanceLines())
        if (line.decade)
            DrawLineLabel(dc, line, true, -escapement);
    dc.SelectFont(LabelFontHeight(dc), escapement);
    for (const ChartLine& line : InductanceLines())
        if (line.decade)
            DrawLineLabel(dc, line, false, escapement);
    dc.SelectFont(LabelFontHeight(dc));
}

int CImpRenderer::DrawGraph(ViewPainter& dc)
{
    const ImpMode mode = CurrentImpMode();
    DrawFrequencyCaption(dc);
    if (mode != ImpMode::PhaseOnly)
        DrawVerticalCaption(dc, 0, m_f.graphRect.left, "Impedance", m_doc.GetGainColor(CaptionDataSet()),
                            m_f.impedanceMin, m_f.impedanceMax);
    if (mode != ImpMode::ImpOnly)
        DrawPhaseCaption(dc);
    DrawFrequencyGrid(dc);
    double phaseStep = 0;
    if (mode != ImpMode::PhaseOnly) {
        DrawImpedanceGrid(dc);
        for (const ChartLine& line : CapacitanceLines()) {
            dc.SelectPen(m_f.gridColor, line.decade ? m_f.heavyPenWidth : m_f.lightPenWidth);
            dc.Line(line.start.x, line.start.y, line.end.x, line.end.y);
        }
        for (const ChartLine& line : InductanceLines()) {
            dc.SelectPen(m_f.gridColor, line.decade ? m_f.heavyPenWidth : m_f.lightPenWidth);
            dc.Line(line.start.x, line.start.y, line.end.x, line.end.y);
        }
    } else {
        phaseStep = PhaseGridStep(m_f.phaseMin, m_f.phaseMax);
        if (phaseStep == 0)
            m_messages.Raise("Error in CTalViewGain::DrawGridLineTextPhase");
        DrawHorizontalGrid(dc, phaseStep, m_f.phaseMin, m_f.phaseMax);
    }
    if (mode != ImpMode::PhaseOnly)
        DrawImpedanceLabels(dc);
    else
        DrawPhaseGridLabels(dc, phaseStep);
    DrawDecadeLabels(dc);
    DrawFrame(dc);
    if (mode == ImpMode::PhaseOnly)
        DrawZeroLine(dc, true);
    return 1;
}

int CImpRenderer::DrawData(ViewPainter& dc)
{
    const ImpMode mode = CurrentImpMode();
    for (int i : DrawingOrder()) {
        const CDataSet& set = *m_doc.GetDataSet(i);
        GraphAttrib& attrib = m_f.attribs[i];
        if (!PartialDrawing())
            attrib.hit.Clear();
        const TraceValues& values = m_cache.Get(set);
        if (mode != ImpMode::PhaseOnly) {
            TraceStyle style;
            style.scale = 1.0;
            style.minimum = LogImpMin();
            style.maximum = LogImpMax();
            style.color = set.GetGainColor();
            style.selected = attrib.selected;
            style.label = CurveLabel(set, "Imp");
            style.valueAt = [&set](double f) { return Log10OrNan(set.GetGainAt(f)); };
            style.memo = &attrib.curves[0];
            DrawTrace(dc, values, style, attrib.hit);
        }
        if (mode != ImpMode::ImpOnly)
            DrawPhaseTrace(dc, set, values, set.GetPhaseColor(), attrib.selected, set.m_number,
                           "ERROR in CTalViewImp::DrawDataPhase", attrib.hit, &attrib.curves[1]);
    }
    return 1;
}

int CImpRenderer::AutoScale()
{
    if (!m_f.automaticScaling || m_doc.GetDataSetCount() == 0)
        return 0;
    AutoFrequencyRange();
    const ImpMode mode = CurrentImpMode();
    double impLow = 1e99, impHigh = 1e-99, phaseLow = 10000, phaseHigh = -10000;
    bool any = false;
    for (int i = 0; i < m_doc.GetDataSetCount(); ++i) {
        if (!IsVisible(i) || m_doc.GetPointCount(i) == 0)
            continue;
        any = true;
        impLow = std::min(impLow, m_doc.GetMinGain(i));
        impHigh = std::max(impHigh, m_doc.GetMaxGain(i));
        phaseLow = std::min(phaseLow, m_doc.GetMinPhase(i));
        phaseHigh = std::max(phaseHigh, m_doc.GetMaxPhase(i));
    }
    if (mode != ImpMode::PhaseOnly) {
        m_f.impedanceMin = any ? impLow : 0.01;
        m_f.impedanceMax = any ? impHigh : 1e6;
    }
    if (mode != ImpMode::ImpOnly) {
        m_f.phaseMin = any ? phaseLow : -180;
        m_f.phaseMax = any ? phaseHigh : 180;
    }
    for (double* value : {&m_f.frequencyMin, &m_f.frequencyMax, &m_f.impedanceMin, &m_f.impedanceMax,
                          &m_f.phaseMin, &m_f.phaseMax})
        *value = CutToThreeDigits(*value);
    SanitizeRanges(m_f);
    return 1;
}

void CImpRenderer::DrawSlideBarMarker(ViewPainter& dc, double frequency, int dataSet)
{
    if (m_doc.GetDataSetCount() == 0)
        return;
    const LogicalRect& g = m_f.graphRect;
    const int x = XFromFrequency(frequency);
    dc.SelectPen(0x000000, 1);
    dc.Line(x, g.top, x, g.bottom);
    const double gain = m_doc.GetGainAt(dataSet, frequency);
    const int ticks[2] = {YFromValue(Log10OrNan(gain), LogImpMin(), LogImpMax()),
                          YPhase(m_doc.GetPhaseAt(dataSet, frequency))};
    for (int y : ticks)
        if (g.top <= y && y <= g.bottom)
            dc.Line(x - 4, y, x + 4, y);
    DrawTraceLabel(dc, x, g.top, " " + std::to_string(m_doc.GetDataSetNumber(dataSet)) + " ", 0x000000, false);
}
