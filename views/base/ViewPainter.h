#pragma once
// The drawing context of the displays: a QPainter on any device (screen buffer, QImage,
// printer) seen through the 1000 x 1000 logical mapping. Coordinates, pen widths and font
// heights are logical; text is laid out at device size from the logical font height and
// rotated by its escapement, never stretched by a non-uniform transform.
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRect>
#include <string>
#include <vector>

#include "views/base/LogicalMapping.h"

// 0x00BBGGRR as stored in documents and preferences.
QColor ColorFromRef(uint32_t colorRef);

struct LogicalSize {
    int cx = 0, cy = 0;
};

class ViewPainter {
public:
    enum class Align { Left, Center, Right };  // horizontal reference of a text, at its top

    ViewPainter(QPainter& painter, const LogicalMapping& mapping, bool printing = false);
    ViewPainter(const ViewPainter&) = delete;
    ViewPainter& operator=(const ViewPainter&) = delete;

    QPainter& Painter() { return m_painter; }
    const LogicalMapping& Mapping() const { return m_mapping; }
    // Set for printers and pictures: child dialogs are painted in (slide bars, descriptions).
    bool IsPrinting() const { return m_printing; }
    double ScaleUnit() const { return m_mapping.ScaleUnit(); }

    // The device area being repainted; drawing wholly outside it is skipped.
    void SetPaintBounds(const QRect& deviceRect) { m_bounds = deviceRect; }
    const QRect& PaintBounds() const { return m_bounds; }

    void SelectPen(uint32_t color, int logicalWidth);
    void SelectFont(int logicalHeight, int escapementTenths = 0);
    void SetTextColor(uint32_t color) { m_textColor = color; }
    void SetBkColor(uint32_t color) { m_bkColor = color; }
    uint32_t BkColor() const { return m_bkColor; }

    // Width and height of the text cell of the unrotated selected font, logical units.
    LogicalSize GetTextExtent(const std::string& text) const;
    // The same in device pixels.
    QSizeF GetTextExtentDevice(const std::string& text) const;
    // Writes the text with its cell's top at (x, y), rotated about that point by the escapement;
    // the cell is filled with the background colour first.
    void TextOut(int x, int y, const std::string& text, Align align = Align::Left);

    void Line(int x0, int y0, int x1, int y1);
    // A polyline with the selected pen.
    void Polyline(const std::vector<LogicalPoint>& points);
    // The pieces of a curve: into the display's own image through the ThickLineRasterizer,
    // elsewhere (printers, PDF) with Qt's pen.
    void Polylines(const std::vector<std::vector<LogicalPoint>>& lines);
    void SetPixel(int x, int y, uint32_t color);
    void FillRect(const LogicalRect& rect, uint32_t color);
    // The outline of the rectangle with the selected pen, not filled.
    void Rectangle(const LogicalRect& rect);

    void Save();
    void Restore();
    void ClipTo(const LogicalRect& rect);

    QPoint ToDevice(int x, int y) const { return {m_mapping.DeviceX(x), m_mapping.DeviceY(y)}; }
    QRect ToDevice(const LogicalRect& rect) const;

private:
    struct FontEntry {
        int pixels;
        QFont font;
        QFontMetricsF metrics;
    };
    const FontEntry& Font() const;
    bool Visible(const QRect& deviceRect) const;

    QPainter& m_painter;
    LogicalMapping m_mapping;
    bool m_printing;
    QRect m_bounds;
    QPen m_pen;
    int m_penPixels = 1;
    QRgb m_penColor = 0;
    int m_fontPixels = 12;
    int m_escapement = 0;
    uint32_t m_textColor = 0;
    uint32_t m_bkColor = 0xFFFFFF;
    mutable std::vector<FontEntry> m_fonts;
    std::vector<QRect> m_savedBounds;
    std::vector<QPoint> m_devicePoints;
};
