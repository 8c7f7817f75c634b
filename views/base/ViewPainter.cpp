#include "views/base/ViewPainter.h"

#include "views/base/ThickLineRasterizer.h"

#include <algorithm>
#include <cmath>

QColor ColorFromRef(uint32_t colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

ViewPainter::ViewPainter(QPainter& painter, const LogicalMapping& mapping, bool printing)
    : m_painter(painter), m_mapping(mapping), m_printing(printing)
{
    m_bounds = QRect(mapping.OriginX(), mapping.OriginY(), mapping.ViewportWidth(), mapping.ViewportHeight());
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    SelectPen(0, 1);
}

void ViewPainter::SelectPen(uint32_t color, int logicalWidth)
{
    m_penPixels = m_mapping.PenPixels(logicalWidth);
    m_penColor = ColorFromRef(color).rgb();
    m_pen = QPen(ColorFromRef(color), m_penPixels, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    m_painter.setPen(m_pen);
}

void ViewPainter::SelectFont(int logicalHeight, int escapementTenths)
{
    m_fontPixels = m_mapping.FontPixels(logicalHeight);
    m_escapement = escapementTenths;
}

const ViewPainter::FontEntry& ViewPainter::Font() const
{
    for (const FontEntry& entry : m_fonts)
        if (entry.pixels == m_fontPixels)
            return entry;
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setPixelSize(m_fontPixels);
    m_fonts.push_back({m_fontPixels, font, QFontMetricsF(font, m_painter.device())});
    return m_fonts.back();
}

QSizeF ViewPainter::GetTextExtentDevice(const std::string& text) const
{
    const FontEntry& entry = Font();
    return {entry.metrics.horizontalAdvance(QString::fromStdString(text)), entry.metrics.height()};
}

LogicalSize ViewPainter::GetTextExtent(const std::string& text) const
{
    const QSizeF size = GetTextExtentDevice(text);
    return {m_mapping.LogicalWidth(size.width()), m_mapping.LogicalHeight(size.height())};
}

bool ViewPainter::Visible(const QRect& deviceRect) const
{
    return deviceRect.intersects(m_bounds);
}

void ViewPainter::TextOut(int x, int y, const std::string& text, Align align)
{
    if (text.empty())
        return;
    const FontEntry& entry = Font();
    const QString qtext = QString::fromStdString(text);
    const double width = entry.metrics.horizontalAdvance(qtext);
    const double height = entry.metrics.height();
    double dx = 0;
    if (align == Align::Center)
        dx = -width / 2;
    else if (align == Align::Right)
        dx = -width;
    const QPoint origin = ToDevice(x, y);
    const double angle = -m_escapement / 10.0;
    if (m_escapement == 0) {
        const QRect cell = QRectF(origin.x() + dx, origin.y(), width, height).toAlignedRect();
        if (!Visible(cell))
            return;
    } else {
        const double reach = width + height;
        const QRect around(origin.x() - int(reach) - 1, origin.y() - int(reach) - 1, 2 * int(reach) + 2,
                           2 * int(reach) + 2);
        if (!Visible(around))
            return;
    }
    m_painter.save();
    m_painter.translate(origin);
    if (m_escapement != 0)
        m_painter.rotate(angle);
    m_painter.fillRect(QRectF(dx, 0, width, height), ColorFromRef(m_bkColor));
    m_painter.setFont(entry.font);
    m_painter.setPen(ColorFromRef(m_textColor));
    m_painter.drawText(QPointF(dx, entry.metrics.ascent()), qtext);
    m_painter.restore();
    m_painter.setPen(m_pen);
}

void ViewPainter::Line(int x0, int y0, int x1, int y1)
{
    const QPoint a = ToDevice(x0, y0);
    const QPoint b = ToDevice(x1, y1);
    const int pad = m_penPixels;
    if (!Visible(QRect(a, b).normalized().adjusted(-pad, -pad, pad, pad)))
        return;
    m_painter.drawLine(a, b);
}

void ViewPainter::Polylines(const std::vector<std::vector<LogicalPoint>>& lines)
{
    QImage* image = ThickLineRasterizer::Target(m_painter);
    if (!image) {
        for (const auto& line : lines)
            Polyline(line);
        return;
    }
    ThickLineRasterizer raster(*image, m_bounds, m_penColor, m_penPixels);
    for (const auto& points : lines) {
        if (points.empty())
            continue;
        QPoint previous = ToDevice(points[0].x, points[0].y);
        if (points.size() == 1)
            raster.Segment(previous, previous);
        for (size_t i = 1; i < points.size(); ++i) {
            const QPoint next = ToDevice(points[i].x, points[i].y);
            raster.Segment(previous, next);
            previous = next;
        }
    }
}

void ViewPainter::Polyline(const std::vector<LogicalPoint>& points)
{
    if (points.empty())
        return;
    if (points.size() == 1) {
        Line(points[0].x, points[0].y, points[0].x, points[0].y);
        return;
    }
    // Drawn in chunks so that a partial repaint only strokes the pieces inside the area.
    constexpr size_t kChunk = 64;
    const int pad = m_penPixels + 1;
    for (size_t start = 0; start + 1 < points.size(); start += kChunk) {
        const size_t end = std::min(points.size(), start + kChunk + 1);
        int minX = m_mapping.DeviceX(points[start].x), maxX = minX;
        int minY = m_mapping.DeviceY(points[start].y), maxY = minY;
        m_devicePoints.clear();
        for (size_t i = start; i < end; ++i) {
            const QPoint p = ToDevice(points[i].x, points[i].y);
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y());
            maxY = std::max(maxY, p.y());
            m_devicePoints.push_back(p);
        }
        if (!Visible(QRect(QPoint(minX - pad, minY - pad), QPoint(maxX + pad, maxY + pad))))
            continue;
        m_painter.drawPolyline(m_devicePoints.data(), int(m_devicePoints.size()));
    }
}

void ViewPainter::SetPixel(int x, int y, uint32_t color)
{
    const QPoint p = ToDevice(x, y);
    if (!Visible(QRect(p, QSize(1, 1))))
        return;
    m_painter.fillRect(QRect(p, QSize(1, 1)), ColorFromRef(color));
}

QRect ViewPainter::ToDevice(const LogicalRect& rect) const
{
    const QPoint topLeft = ToDevice(rect.left, rect.top);
    const QPoint bottomRight = ToDevice(rect.right, rect.bottom);
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

void ViewPainter::FillRect(const LogicalRect& rect, uint32_t color)
{
    const QRect device = ToDevice(rect).normalized();
    if (!Visible(device))
        return;
    m_painter.fillRect(device, ColorFromRef(color));
}

void ViewPainter::Rectangle(const LogicalRect& rect)
{
    Line(rect.left, rect.top, rect.right, rect.top);
    Line(rect.right, rect.top, rect.right, rect.bottom);
    Line(rect.right, rect.bottom, rect.left, rect.bottom);
    Line(rect.left, rect.bottom, rect.left, rect.top);
}

void ViewPainter::Save()
{
    m_painter.save();
    m_savedBounds.push_back(m_bounds);
}

void ViewPainter::Restore()
{
    m_painter.restore();
    if (!m_savedBounds.empty()) {
        m_bounds = m_savedBounds.back();
        m_savedBounds.pop_back();
    }
    m_painter.setPen(m_pen);
}

void ViewPainter::ClipTo(const LogicalRect& rect)
{
    const QRect device = ToDevice(rect).normalized();
    m_painter.setClipRect(device, Qt::IntersectClip);
    m_bounds = m_bounds.intersected(device);
}
