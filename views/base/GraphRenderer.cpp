#include "views/base/GraphRenderer.h"

#include <algorithm>
#include <cmath>

#include "data/CLocaleNumbers.h"
#include "data/EngineeringNotation.h"
#include "data/TalDocument.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kYellow = 0x00FFFF;
// Decade loops stay bounded even for a range that is no number.
constexpr int kDecadeBound = 400;

// The decade exponent a loop over decades starts from: truncation, minus one below zero.
int DecadeStart(double logValue)
{
    const int t = TruncateCoordinate(logValue);
    return logValue < 0 ? t - 1 : t;
}

}  // namespace

CGraphRenderer::CGraphRenderer(CTalDocument& document, ViewFields& fields) : m_doc(document), m_f(fields) {}

int CGraphRenderer::DrawGraph(ViewPainter&)
{
    return 0;
}

int CGraphRenderer::DrawData(ViewPainter&)
{
    return 0;
}

int CGraphRenderer::AutoScale()
{
    return 0;
}

void CGraphRenderer::DrawSlideBarMarker(ViewPainter&, double, int) {}

HitGeometry CGraphRenderer::SlideBarRegion(ViewPainter& dc, double frequency, int dataSet)
{
    HitGeometry region;
    const LogicalRect& g = m_f.graphRect;
    const int x = XFromFrequency(frequency);
    region.AddRect({x - 4, g.top, x + 5, g.bottom});
    if (m_f.dataNumbersShown && dataSet >= 0 && dataSet < m_doc.GetDataSetCount()) {
        dc.SelectFont(LabelFontHeight(dc));
        const LogicalSize size = dc.GetTextExtent(" " + std::to_string(m_doc.GetDataSetNumber(dataSet)) + " ");
        // The label is moved left at the right edge (DrawTraceLabel); its box follows it.
        const int left = std::min(x, g.right - size.cx);
        region.AddRect({left, g.top, left + size.cx + 2, g.top + size.cy});
    }
    return region;
}

void CGraphRenderer::Draw(ViewPainter& dc)
{
    const QRect whole(dc.Mapping().OriginX(), dc.Mapping().OriginY(), dc.Mapping().ViewportWidth(),
                      dc.Mapping().ViewportHeight());
    const bool complete = dc.PaintBounds().contains(whole);
    m_messages.BeginDrawing();
    if (!m_f.cacheValid) {
        m_cache.Invalidate();
        m_f.cacheValid = 1;
        m_geometryCurrent = false;
    }
    m_partial = !complete && m_geometryCurrent;

    DrawGraph(dc);

    dc.Save();
    LogicalRect clip = m_f.graphRect;
    if (m_f.titlePresent && m_f.title.obj.shown)
        clip.top = m_f.title.obj.rect.top;
    dc.ClipTo(clip);
    for (auto bar = m_f.slideBars.rbegin(); bar != m_f.slideBars.rend(); ++bar) {
        if (!IsVisible(bar->dataSetIndex))
            continue;
        bar->frequency = std::clamp(bar->frequency, m_f.frequencyMin, m_f.frequencyMax);
        bar->region = SlideBarRegion(dc, bar->frequency, bar->dataSetIndex);
        for (const LogicalRect& r : bar->region.Rects())
            dc.FillRect(r, kYellow);
    }
    DrawData(dc);
    if (m_doc.GetDataSetCount() > 0) {
        for (auto bar = m_f.slideBars.rbegin(); bar != m_f.slideBars.rend(); ++bar) {
            if (!IsVisible(bar->dataSetIndex))
                continue;
            DrawSlideBarMarker(dc, bar->frequency, bar->dataSetIndex);
            // Grabbed where the marker now stands (the Nyquist label box comes from the marker).
            bar->region = SlideBarRegion(dc, bar->frequency, bar->dataSetIndex);
        }
    }
    DrawAnnotations(dc);
    dc.Restore();

    if (dc.IsPrinting() && drawChildDialogs)
        drawChildDialogs(dc);
    m_messages.EndDrawing(complete);
    m_geometryCurrent = true;
    m_partial = false;
}

bool CGraphRenderer::ComputeGraphRect(const LogicalMapping& mapping)
{
    const double vw = mapping.ViewportWidth();
    const double vh = mapping.ViewportHeight();
    if (!(vw > 0 && vh > 0))
        return false;
    const double r = vw / vh;
    const int a = 2 * TruncateCoordinate(30 * std::sqrt(r));
    const int b = TruncateCoordinate(double(LogicalMapping::kWindowExtent) / vw * a * vh /
                                     LogicalMapping::kWindowExtent);
    const int extent = LogicalMapping::kWindowExtent;
    if (2 * a >= extent || 2 * b >= extent)
        return false;
    m_f.graphRect = {b, a, extent - b, extent - a};
    return true;
}

bool CGraphRenderer::ComputeTextRect(ViewPainter& dc)
{
    const LogicalRect& g = m_f.graphRect;
    dc.SelectFont(LabelFontHeight(dc));
    const LogicalSize hz = dc.GetTextExtent(" 100 mHz");
    const LogicalSize ohm = dc.GetTextExtent(" 100 mOhm");
    const double lmin = std::log10(m_f.frequencyMin), lmax = std::log10(m_f.frequencyMax);
    const double vw = dc.Mapping().ViewportWidth(), vh = dc.Mapping().ViewportHeight();
    const double theta =
        -std::atan(g.Height() / ((std::log10(m_f.impedanceMin) - std::log10(m_f.impedanceMax)) / (lmax - lmin) *
                                 g.Width()) * (vh / vw));
    if (!std::isfinite(theta))
        return false;
    const QSizeF henry = dc.GetTextExtentDevice(" 100 mH ");
    const double rotatedWidth = std::sin(theta) * henry.height() + std::cos(theta) * henry.width();
    const double rotatedHeight = std::sin(theta) * henry.width() + std::cos(theta) * henry.height();
    LogicalRect t;
    t.bottom = g.bottom - hz.cy;
    t.left = g.left + ohm.cx;
    t.top = g.top + dc.Mapping().LogicalHeight(rotatedHeight);
    t.right = g.right - dc.Mapping().LogicalWidth(rotatedWidth);
    m_f.textRect = t;
    return true;
}

void CGraphRenderer::UpdateLogRange() const
{
    m_rangeMin = m_f.frequencyMin;
    m_rangeMax = m_f.frequencyMax;
    m_logMin = std::log10(m_rangeMin);
    m_logMax = std::log10(m_rangeMax);
}

int CGraphRenderer::XFromFrequency(double frequency) const
{
    return XFromLogFrequency(std::log10(frequency));
}

double CGraphRenderer::FrequencyFromX(int x) const
{
    const double lmin = std::log10(m_f.frequencyMin), lmax = std::log10(m_f.frequencyMax);
    const LogicalRect& g = m_f.graphRect;
    if (g.right == g.left)
        return m_f.frequencyMin;
    return std::pow(10.0, lmin + (lmax - lmin) * (x - g.left) / double(g.right - g.left));
}

int CGraphRenderer::LabelFontHeight(const ViewPainter& dc)
{
    return TruncateCoordinate(-15 * dc.ScaleUnit());
}

int CGraphRenderer::CaptionFontHeight(const ViewPainter& dc)
{
    return TruncateCoordinate(-30 * dc.ScaleUnit());
}

std::string CGraphRenderer::UnitLabel(double value, const std::string& unit)
{
    const double magnitude = std::fabs(value);
    const bool spaced = value == 0 || (magnitude >= 1 && magnitude < 1000);
    return " " + FormatEngineering(value, 4) + (spaced ? " " : "") + unit;
}

void CGraphRenderer::DrawFrequencyGrid(ViewPainter& dc)
{
    const double lmin = std::log10(m_f.frequencyMin), lmax = std::log10(m_f.frequencyMax);
    const LogicalRect& g = m_f.graphRect;
    for (int i = std::max(DecadeStart(lmin), -kDecadeBound); i <= std::min(DecadeStart(lmax), kDecadeBound); ++i) {
        for (int j = 1; j <= 9; ++j) {
            const double p = i + std::log10(double(j));
            if (!(lmin < p && p < lmax))
                continue;
            dc.SelectPen(m_f.gridColor, j == 1 ? m_f.heavyPenWidth : m_f.lightPenWidth);
            const int x = XFromLogFrequency(p);
            dc.Line(x, g.top, x, g.bottom);
        }
    }
}

void CGraphRenderer::DrawDecadeLabels(ViewPainter& dc)
{
    const double lmin = std::log10(m_f.frequencyMin), lmax = std::log10(m_f.frequencyMax);
    const LogicalRect& g = m_f.graphRect;
    dc.SelectFont(LabelFontHeight(dc), 900);
    dc.SetTextColor(m_f.gridColor);
    for (int i = std::max(TruncateCoordinate(std::ceil(lmin)), -kDecadeBound); i < lmax && i <= kDecadeBound; ++i) {
        const std::string text = UnitLabel(std::pow(10.0, i), "Hz");
        const int x = XFromLogFrequency(i);
        const int height = dc.Mapping().LogicalWidth(dc.GetTextExtentDevice(text).height());
        if (x + height < g.right)
            dc.TextOut(x, g.bottom, text);
    }
    dc.SelectFont(LabelFontHeight(dc));
}

void CGraphRenderer::DrawFrequencyCaption(ViewPainter& dc)
{
    const LogicalRect& g = m_f.graphRect;
    const int fontHeight = CaptionFontHeight(dc);
    dc.SelectFont(fontHeight);
    dc.SetTextColor(kBlack);
    // The text's bottom on this line puts it halfway between the graph and the window bottom.
    const int baseline = (LogicalMapping::kWindowExtent + g.bottom - fontHeight) / 2;
    const int top = baseline - dc.GetTextExtent("Frequency").cy;
    dc.TextOut((g.left + g.right) / 2, top, "Frequency", ViewPainter::Align::Center);
    const std::string low = FormatEngineering(m_f.frequencyMin, 6);
    const std::string high = FormatEngineering(m_f.frequencyMax, 6);
    dc.TextOut(g.left, baseline - dc.GetTextExtent(low).cy, low, ViewPainter::Align::Left);
    dc.TextOut(g.right, baseline - dc.GetTextExtent(high).cy, high, ViewPainter::Align::Right);
}

void CGraphRenderer::DrawVerticalCaption(ViewPainter& dc, int marginLeft, int marginRight,
                                         const std::string& caption, uint32_t color, double minimum,
                                         double maximum)
{
    const LogicalRect& g = m_f.graphRect;
    dc.SelectFont(CaptionFontHeight(dc), 900);
    const LogicalMapping& m = dc.Mapping();
    const QSizeF size = dc.GetTextExtentDevice(caption);
    const int x = (marginLeft + marginRight - m.LogicalWidth(size.height())) / 2;
    dc.SetTextColor(color);
    dc.TextOut(x, (g.top + g.bottom) / 2 + m.LogicalHeight(size.width()) / 2, caption);
    dc.SetTextColor(kBlack);
    const std::string low = FormatEngineering(minimum, 6);
    const std::string high = FormatEngineering(maximum, 6);
    dc.TextOut(x, g.bottom, low);
    dc.TextOut(x, g.top + m.LogicalHeight(dc.GetTextExtentDevice(high).width()), high);
    dc.SelectFont(LabelFontHeight(dc));
}

void CGraphRenderer::DrawFrame(ViewPainter& dc)
{
    dc.SelectPen(kBlack, m_f.heavyPenWidth);
    dc.Rectangle(m_f.graphRect);
}

LogicalRect CGraphRenderer::DrawTraceLabel(ViewPainter& dc, int x, int y, const std::string& text, uint32_t color,
                                           bool selected)
{
    if (!m_f.dataNumbersShown)
        return {};
    const uint32_t savedBk = dc.BkColor();
    dc.SetBkColor(selected ? 0x00FFFF : 0xFFFFFF);
    dc.SelectFont(LabelFontHeight(dc));
    dc.SetTextColor(color);
    const LogicalSize size = dc.GetTextExtent(text);
    y = std::min(y, m_f.graphRect.bottom - size.cy);
    x = std::min(x, m_f.graphRect.right - size.cx);
    dc.TextOut(x, y, text);
    const LogicalRect box{x, y, x + size.cx, y + size.cy};
    dc.SelectPen(color, m_f.lightPenWidth);
    dc.Rectangle(box);
    dc.SetBkColor(savedBk);
    return box;
}

bool CGraphRenderer::IsVisible(int dataSet) const
{
    return dataSet >= 0 && dataSet < int(m_f.attribs.size()) && m_f.attribs[dataSet].visible;
}

bool CGraphRenderer::IsSelected(int dataSet) const
{
    return dataSet >= 0 && dataSet < int(m_f.attribs.size()) && m_f.attribs[dataSet].selected;
}

int CGraphRenderer::CaptionDataSet() const
{
    if (m_doc.GetDataSetCount() == 0)
        return -1;
    for (int i = 0; i < m_doc.GetDataSetCount(); ++i)
        if (IsSelected(i))
            return i;
    return 0;
}

std::vector<int> CGraphRenderer::DrawingOrder() const
{
    std::vector<int> order;
    int top = -1;
    for (int i = 0; i < m_doc.GetDataSetCount() && i < int(m_f.attribs.size()); ++i) {
        if (!IsVisible(i) || m_doc.GetPointCount(i) == 0)
            continue;
        if (top < 0 && IsSelected(i))
            top = i;
        else
            order.push_back(i);
    }
    if (top >= 0)
        order.push_back(top);
    return order;
}

void CGraphRenderer::AutoFrequencyRange()
{
    m_doc.RecalcAllLimits();
    double low = 1e15, high = 1e-6;
    bool any = false;
    for (int i = 0; i < m_doc.GetDataSetCount(); ++i) {
        if (!IsVisible(i) || m_doc.GetPointCount(i) == 0)
            continue;
        any = true;
        low = std::min(low, m_doc.GetMinFrequency(i));
        high = std::max(high, m_doc.GetMaxFrequency(i));
    }
    m_f.frequencyMin = any ? low : 1.0;
    m_f.frequencyMax = any ? high : 1e6;
}

double CGraphRenderer::CutToThreeDigits(double value)
{
    const std::string text = FormatC("%.3G", value);
    return StrtodC(text.c_str(), nullptr);
}
