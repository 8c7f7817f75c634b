#include "views/annotations/BoxDrawing.h"

#include <QFontMetricsF>

#include "views/base/GraphRenderer.h"
#include "views/base/ViewPainter.h"

namespace annotations {

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kMarkSize = 10;  // side of a selection mark, logical units
constexpr int kMargin = 6;     // text inset from the box's edges, logical units

LogicalRect ToLogical(const StoredRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

bool OutsideBounds(const ViewPainter& dc, const LogicalRect& box)
{
    const QRect& bounds = dc.PaintBounds();
    return !bounds.isNull() && !bounds.intersects(dc.ToDevice(box).adjusted(-3, -3, 3, 3));
}

// Small black squares at the corners and the middle of each edge, inside the box.
void DrawSelectionMarks(ViewPainter& dc, const LogicalRect& box)
{
    const int s = kMarkSize;
    const int xs[3] = {box.left, (box.left + box.right - s) / 2, box.right - s};
    const int ys[3] = {box.top, (box.top + box.bottom - s) / 2, box.bottom - s};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1)
                dc.FillRect({xs[i], ys[j], xs[i] + s, ys[j] + s}, kBlack);
}

}  // namespace

Qt::Alignment AlignmentFor(uint16_t stored, bool title)
{
    switch (stored) {
    case kJustifyLeft:
        return Qt::AlignLeft;
    case kJustifyRight:
        return Qt::AlignRight;
    case kJustifyCenter:
        return Qt::AlignHCenter;
    default:
        return title ? Qt::AlignHCenter : Qt::AlignLeft;
    }
}

int BoxFontHeight(const BoxFont& font, const LogicalMapping& mapping, bool title)
{
    if (font.logicalHeight > 0)
        return font.logicalHeight;
    return -TruncateCoordinate((title ? -30 : -15) * mapping.ScaleUnit());
}

QFont DeviceFont(const BoxFont& font, const LogicalMapping& mapping, bool title)
{
    QFont f = font.face;
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(mapping.FontPixels(BoxFontHeight(font, mapping, title)));
    return f;
}

QString TextFromStored(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string TextToStored(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return s.toStdString();
}

void DrawLegend(ViewPainter& dc, const ViewFields& fields, const StoredLegend& legend, bool selected)
{
    const LogicalRect box = ToLogical(legend.obj.rect);
    if (legend.texts.empty() || OutsideBounds(dc, box))
        return;
    dc.FillRect(box, kWhite);
    dc.SelectPen(kBlack, fields.lightPenWidth);
    dc.Rectangle(box);
    dc.SelectFont(CGraphRenderer::LabelFontHeight(dc));
    const int lines = int(legend.texts.size());
    for (int i = 0; i < lines; ++i) {
        const uint32_t color = i < int(legend.colors.size()) ? legend.colors[i] & 0xFFFFFF : kBlack;
        const int y = box.top + (2 * i + 1) * box.Height() / (2 * lines);
        dc.SelectPen(color, fields.heavyPenWidth);
        dc.Line(box.left + 15, y, box.left + 75, y);
        dc.SetTextColor(color);
        dc.SetBkColor(kWhite);
        dc.TextOut(box.left + 90, y - dc.GetTextExtent(legend.texts[i]).cy / 2, legend.texts[i]);
    }
    if (selected)
        DrawSelectionMarks(dc, box);
}

void DrawTextBox(ViewPainter& dc, const ViewFields& fields, const StoredTextBox& box, const BoxFont& font,
                 bool selected, bool title)
{
    const LogicalRect rect = ToLogical(box.obj.rect);
    if (rect.IsEmpty() || OutsideBounds(dc, rect))
        return;
    if (!title) {
        dc.FillRect(rect, kWhite);
        dc.SelectPen(kBlack, fields.lightPenWidth);
        dc.Rectangle(rect);
    }
    const LogicalMapping& m = dc.Mapping();
    QPainter& painter = dc.Painter();
    const QRect device = dc.ToDevice(rect);
    const QRectF inner = QRectF(device).adjusted(m.DeviceWidth(kMargin), m.DeviceHeight(kMargin / 2),
                                                 -m.DeviceWidth(kMargin), -m.DeviceHeight(kMargin / 2));
    painter.save();
    painter.setClipRect(device, Qt::IntersectClip);
    painter.setFont(DeviceFont(font, m, title));
    painter.setPen(ColorFromRef(uint32_t(box.textInt) & 0xFFFFFF));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(inner, int(AlignmentFor(box.textShort, title) | Qt::AlignTop | Qt::TextWordWrap),
                     TextFromStored(box.text));
    painter.restore();
    if (selected) {
        if (title) {
            dc.SelectPen(kBlack, fields.lightPenWidth);
            dc.Rectangle(rect);
        }
        DrawSelectionMarks(dc, rect);
    }
}

void DrawStoredBoxes(ViewPainter& dc, const ViewFields& fields)
{
    if (fields.legend.obj.shown)
        DrawLegend(dc, fields, fields.legend, false);
    if (fields.titlePresent && fields.title.obj.shown)
        DrawTextBox(dc, fields, fields.title, BoxFont{}, false, true);
    for (const StoredTextBox& box : fields.descriptions)
        if (box.obj.shown)
            DrawTextBox(dc, fields, box, BoxFont{}, false, false);
}

}  // namespace annotations
