#include "views/gain/GainRenderer.h"

#include <algorithm>
#include <cmath>

#include "data/DataSet.h"
#include "data/TalDocument.h"
#include "views/gain/GridStep.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr int kMaxGridLines = 1000;

double Decibels(double gain)
{
    return gain == NO_DATA_VALUE || !(gain > 0) ? std::nan("") : 20.0 * std::log10(gain);
}

}  // namespace

CGainRenderer::Mode CGainRenderer::CurrentMode() const
{
    if (m_f.displayMode == "Gain Only")
        return Mode::GainOnly;
    if (m_f.displayMode == "Phase Only")
        return Mode::PhaseOnly;
    return Mode::GainAndPhase;
}

bool CGainRenderer::GridRange(double step, double minimum, double maximum, double& first, double& last)
{
    if (!(step > 0) || !std::isfinite(minimum) || !std::isfinite(maximum))
        return false;
    first = std::trunc(minimum / step);
    last = std::trunc(maximum / step);
    return last - first <= kMaxGridLines;
}

void CGainRenderer::DrawHorizontalGrid(ViewPainter& dc, double step, double minimum, double maximum)
{
    double first = 0, last = 0;
    if (!GridRange(step, minimum, maximum, first, last))
        return;
    dc.SelectPen(m_f.gridColor, m_f.heavyPenWidth);
    for (double i = first; i <= last; ++i) {
        const double value = i * step;
        if (minimum < value && value < maximum) {
            const int y = YFromValue(value, minimum, maximum);
            dc.Line(m_f.graphRect.left, y, m_f.graphRect.right, y);
        }
    }
}

void CGainRenderer::DrawGridLabel(ViewPainter& dc, int y, const std::string& text, bool right)
{
    const int height = dc.GetTextExtent(text).cy;
    if (y > m_f.textRect.bottom || y - height < m_f.graphRect.top)
        return;
    if (right)
        dc.TextOut(m_f.graphRect.right, y - height, text, ViewPainter::Align::Right);
    else
        dc.TextOut(m_f.graphRect.left, y - height, text, ViewPainter::Align::Left);
}

void CGainRenderer::DrawGainGridLabels(ViewPainter& dc, double step, bool withPhase)
{
    double first = 0, last = 0;
    if (!GridRange(step, m_f.gainMin, m_f.gainMax, first, last))
        return;
    dc.SelectFont(LabelFontHeight(dc));
    dc.SetTextColor(m_f.gridColor);
    for (double i = first; i <= last; ++i) {
        const double v = i * step;
        if (!(m_f.gainMin <= v && v < m_f.gainMax))
            continue;
        const int y = YGain(v);
        DrawGridLabel(dc, y, UnitLabel(v, "dB"), false);
        if (withPhase) {
            const double p = m_f.phaseMin + (v - m_f.gainMin) / (m_f.gainMax - m_f.gainMin) *
                                                (m_f.phaseMax - m_f.phaseMin);
            DrawGridLabel(dc, y, UnitLabel(p, "deg"), true);
        }
    }
}

void CGainRenderer::DrawPhaseGridLabels(ViewPainter& dc, double step)
{
    double first = 0, last = 0;
    if (!GridRange(step, m_f.phaseMin, m_f.phaseMax, first, last))
        return;
    dc.SelectFont(LabelFontHeight(dc));
    dc.SetTextColor(m_f.gridColor);
    for (double i = first; i <= last; ++i) {
        const double p = i * step;
        if (m_f.phaseMin <= p && p < m_f.phaseMax)
            DrawGridLabel(dc, YPhase(p), UnitLabel(p, "deg"), true);
    }
}

void CGainRenderer::DrawPhaseCaption(ViewPainter& dc)
{
    DrawVerticalCaption(dc, m_f.graphRect.right, LogicalMapping::kWindowExtent, "Phase",
                        m_doc.GetPhaseColor(CaptionDataSet()), m_f.phaseMin, m_f.phaseMax);
}

void CGainRenderer::DrawZeroLine(ViewPainter& dc, bool phase)
{
    const double minimum = phase ? m_f.phaseMin : m_f.gainMin;
    const double maximum = phase ? m_f.phaseMax : m_f.gainMax;
    if (!(minimum < 0 && 0 < maximum))
        return;
    dc.SelectPen(kBlack, m_f.heavyPenWidth);
    const int y = YFromValue(0, minimum, maximum);
    dc.Line(m_f.graphRect.left, y, m_f.graphRect.right, y);
}

int CGainRenderer::DrawGraph(ViewPainter& dc)
{
    const Mode mode = CurrentMode();
    DrawFrequencyCaption(dc);
    DrawDecadeLabels(dc);
    if (mode != Mode::PhaseOnly)
        DrawVerticalCaption(dc, 0, m_f.graphRect.left, "Gain", m_doc.GetGainColor(CaptionDataSet()), m_f.gainMin,
                            m_f.gainMax);
    if (mode != Mode::GainOnly)
        DrawPhaseCaption(dc);
    DrawFrequencyGrid(dc);

    double gainStep = 0, phaseStep = 0;
    if (mode != Mode::PhaseOnly) {
        gainStep = GainGridStep(m_f.gainMin, m_f.gainMax);
        if (gainStep == 0)
            m_messages.Raise("Error in CTalViewGain::DrawGridLinesGain");
        DrawHorizontalGrid(dc, gainStep, m_f.gainMin, m_f.gainMax);
    } else {
        phaseStep = PhaseGridStep(m_f.phaseMin, m_f.phaseMax);
        if (phaseStep == 0)
            m_messages.Raise("Error in CTalViewGain::DrawGridLineTextPhase");
        DrawHorizontalGrid(dc, phaseStep, m_f.phaseMin, m_f.phaseMax);
        DrawPhaseGridLabels(dc, phaseStep);
    }
    if (mode != Mode::PhaseOnly)
        DrawGainGridLabels(dc, gainStep, mode == Mode::GainAndPhase);
    DrawFrame(dc);
    DrawZeroLine(dc, mode == Mode::PhaseOnly);
    return 1;
}

std::string CGainRenderer::CurveLabel(const CDataSet& set, const std::string& what)
{
    const std::string number = std::to_string(set.m_number);
    if (set.m_name.empty())
        return " " + number + "-" + what + " ";
    return " " + number + "_" + set.m_name + "-" + what + " ";
}

int CGainRenderer::DrawData(ViewPainter& dc)
{
    const Mode mode = CurrentMode();
    for (int i : DrawingOrder()) {
        const CDataSet& set = *m_doc.GetDataSet(i);
        GraphAttrib& attrib = m_f.attribs[i];
        if (!PartialDrawing())
            attrib.hit.Clear();
        const TraceValues& values = m_cache.Get(set);
        if (mode != Mode::PhaseOnly) {
            TraceStyle style;
            style.scale = 20.0;
            style.minimum = m_f.gainMin;
            style.maximum = m_f.gainMax;
            style.color = set.GetGainColor();
            style.selected = attrib.selected;
            style.label = CurveLabel(set, "Gain");
            style.valueAt = [&set](double f) { return Decibels(set.GetGainAt(f)); };
            style.memo = &attrib.curves[0];
            DrawTrace(dc, values, style, attrib.hit);
        }
        if (mode != Mode::GainOnly)
            DrawPhaseTrace(dc, set, values, set.GetPhaseColor(), attrib.selected, set.m_number,
                           "ERROR in CTalViewGain::DrawDataPhase", attrib.hit, &attrib.curves[1]);
    }
    return 1;
}

int CGainRenderer::AutoScale()
{
    if (!m_f.automaticScaling || m_doc.GetDataSetCount() == 0)
        return 0;
    AutoFrequencyRange();
    const Mode mode = CurrentMode();
    double gainLow = 1e99, gainHigh = -1e99, phaseLow = 10000, phaseHigh = -10000;
    bool any = false;
    for (int i = 0; i < m_doc.GetDataSetCount(); ++i) {
        if (!IsVisible(i) || m_doc.GetPointCount(i) == 0)
            continue;
        any = true;
        gainLow = std::min(gainLow, m_doc.GetMinGainDB(i));
        gainHigh = std::max(gainHigh, m_doc.GetMaxGainDB(i));
        phaseLow = std::min(phaseLow, m_doc.GetMinPhase(i));
        phaseHigh = std::max(phaseHigh, m_doc.GetMaxPhase(i));
    }
    if (mode != Mode::PhaseOnly) {
        m_f.gainMin = any ? gainLow : -80;
        m_f.gainMax = any ? gainHigh : 80;
    }
    if (mode != Mode::GainOnly) {
        m_f.phaseMin = any ? phaseLow : -180;
        m_f.phaseMax = any ? phaseHigh : 180;
    }
    for (double* value : {&m_f.frequencyMin, &m_f.frequencyMax, &m_f.gainMin, &m_f.gainMax, &m_f.phaseMin,
                          &m_f.phaseMax})
        *value = CutToThreeDigits(*value);
    SanitizeRanges(m_f);
    return 1;
}

void CGainRenderer::DrawSlideBarMarker(ViewPainter& dc, double frequency, int dataSet)
{
    if (m_doc.GetDataSetCount() == 0)
        return;
    const LogicalRect& g = m_f.graphRect;
    const int x = XFromFrequency(frequency);
    dc.SelectPen(kBlack, 1);
    dc.Line(x, g.top, x, g.bottom);
    const int ticks[2] = {YGain(Decibels(m_doc.GetGainAt(dataSet, frequency))),
                          YPhase(m_doc.GetPhaseAt(dataSet, frequency))};
    for (int y : ticks)
        if (g.top <= y && y <= g.bottom)
            dc.Line(x - 4, y, x + 4, y);
    DrawTraceLabel(dc, x, g.top, " " + std::to_string(m_doc.GetDataSetNumber(dataSet)) + " ", kBlack, false);
}
