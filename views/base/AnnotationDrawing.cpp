// The boxes drawn over a graph from the display's stored records: the legend with its two
// lines, the title and the text boxes. Their editing and dragging belong to the annotations.
#include <sstream>

#include "views/base/GraphRenderer.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

LogicalRect ToLogical(const StoredRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// The box's text, one line under the other from its top-left corner, clipped to the box.
void DrawBoxText(ViewPainter& dc, const LogicalRect& box, const std::string& text, uint32_t color, int fontHeight,
                 bool centred)
{
    dc.SelectFont(fontHeight);
    dc.SetTextColor(color);
    dc.SetBkColor(kWhite);
    std::istringstream lines(text);
    std::string line;
    int y = box.top + 4;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const int height = dc.GetTextExtent(line.empty() ? " " : line).cy;
        if (y + height > box.bottom)
            break;
        if (centred)
            dc.TextOut((box.left + box.right) / 2, y, line, ViewPainter::Align::Center);
        else
            dc.TextOut(box.left + 6, y, line);
        y += height;
    }
}

}  // namespace

void CGraphRenderer::DrawAnnotations(ViewPainter& dc)
{
    const StoredLegend& legend = m_f.legend;
    if (legend.obj.shown && !legend.texts.empty()) {
        const LogicalRect box = ToLogical(legend.obj.rect);
        dc.FillRect(box, kWhite);
        dc.SelectPen(kBlack, m_f.lightPenWidth);
        dc.Rectangle(box);
        dc.SelectFont(LabelFontHeight(dc));
        const int lines = int(legend.texts.size());
        for (int i = 0; i < lines; ++i) {
            const uint32_t color = i < int(legend.colors.size()) ? legend.colors[i] & 0xFFFFFF : kBlack;
            const int y = box.top + (2 * i + 1) * box.Height() / (2 * lines);
            dc.SelectPen(color, m_f.heavyPenWidth);
            dc.Line(box.left + 15, y, box.left + 75, y);
            dc.SetTextColor(color);
            dc.SetBkColor(kWhite);
            dc.TextOut(box.left + 90, y - dc.GetTextExtent(legend.texts[i]).cy / 2, legend.texts[i]);
        }
    }
    if (m_f.titlePresent && m_f.title.obj.shown)
        DrawBoxText(dc, ToLogical(m_f.title.obj.rect), m_f.title.text, uint32_t(m_f.title.textInt) & 0xFFFFFF,
                    CaptionFontHeight(dc), true);
    for (const StoredTextBox& box : m_f.descriptions) {
        if (!box.obj.shown)
            continue;
        const LogicalRect rect = ToLogical(box.obj.rect);
        dc.FillRect(rect, kWhite);
        dc.SelectPen(kBlack, m_f.lightPenWidth);
        dc.Rectangle(rect);
        DrawBoxText(dc, rect, box.text, uint32_t(box.textInt) & 0xFFFFFF, LabelFontHeight(dc), false);
    }
}
