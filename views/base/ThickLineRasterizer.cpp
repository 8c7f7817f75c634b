#include "views/base/ThickLineRasterizer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

QImage* ThickLineRasterizer::Target(QPainter& painter)
{
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || painter.transform().type() != QTransform::TxNone ||
        painter.testRenderHint(QPainter::Antialiasing))
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32 &&
        format != QImage::Format_ARGB32)
        return nullptr;
    return image;
}

ThickLineRasterizer::ThickLineRasterizer(QImage& image, const QRect& clip, QRgb color, int width)
    : m_bits(image.bits()),
      m_stride(image.bytesPerLine()),
      m_clip(clip.intersected(image.rect())),
      m_pixel(0xFF000000u | (color & 0xFFFFFFu)),
      m_radius(std::max(width, 1) / 2.0),
      m_offset(std::max(width, 1) % 2 ? 0.5 : 0.0),
      m_reach(std::min(kMaxReach, int(std::ceil(m_radius)) + 1)),
      m_pending(std::max(0, m_clip.width()))
{
    // A column's pixel centres lie (i + 0.5 - offset) from the centre line's column.
    for (int i = -m_reach; i <= m_reach; ++i) {
        const double dx = i + 0.5 - m_offset;
        const double rest = m_radius * m_radius - dx * dx;
        m_disc[i + kMaxReach] = rest > 0 ? std::sqrt(rest) : -1;
    }
}

ThickLineRasterizer::~ThickLineRasterizer()
{
    for (size_t i = 0; i < m_pending.size(); ++i)
        Write(m_clip.left() + int(i), m_pending[i].first, m_pending[i].last);
}

void ThickLineRasterizer::Write(int x, int first, int last)
{
    uchar* p = m_bits + first * m_stride + qsizetype(x) * 4;
    for (int y = first; y <= last; ++y, p += m_stride)
        *reinterpret_cast<quint32*>(p) = m_pixel;
}

void ThickLineRasterizer::Span(int x, double low, double high)
{
    // Rows whose pixel centres lie strictly inside (low, high).
    const int first = std::max(int(std::floor(low - 0.5)) + 1, m_clip.top());
    const int last = std::min(int(std::ceil(high - 0.5)) - 1, m_clip.bottom());
    if (first > last)
        return;
    Pending& pending = m_pending[size_t(x - m_clip.left())];
    if (pending.first <= pending.last && first <= pending.last + 1 && last >= pending.first - 1) {
        pending.first = std::min(pending.first, first);
        pending.last = std::max(pending.last, last);
        return;
    }
    Write(x, pending.first, pending.last);
    pending = {first, last};
}

void ThickLineRasterizer::Segment(QPoint from, QPoint to)
{
    const double r = m_radius;
    const double ax = from.x() + m_offset, ay = from.y() + m_offset;
    const double bx = to.x() + m_offset, by = to.y() + m_offset;
    const int x0 = std::max(std::min(from.x(), to.x()) - m_reach, m_clip.left());
    const int x1 = std::min(std::max(from.x(), to.x()) + m_reach, m_clip.right());
    if (x0 > x1 || std::max(ay, by) + r < m_clip.top() || std::min(ay, by) - r > m_clip.bottom() + 1)
        return;
    if (from.x() == to.x()) {
        const double low = std::min(ay, by), high = std::max(ay, by);
        for (int x = x0; x <= x1; ++x) {
            const double dy = Disc(x - from.x());
            if (dy > 0)
                Span(x, low - dy, high + dy);
        }
        return;
    }
    const double dxs = bx - ax, dys = by - ay;
    const double length = std::hypot(dxs, dys);
    const double ux = dxs / length, uy = dys / length;  // along the segment
    const double nx = -uy, ny = ux;                      // across it (ny is never 0 here)
    const double inverseNy = 1 / ny;
    const double inverseUy = uy != 0 ? 1 / uy : 0;
    for (int x = x0; x <= x1; ++x) {
        double low = HUGE_VAL, high = -HUGE_VAL;
        if (const double dy = Disc(x - from.x()); dy > 0) {
            low = ay - dy;
            high = ay + dy;
        }
        if (const double dy = Disc(x - to.x()); dy > 0) {
            low = std::min(low, by - dy);
            high = std::max(high, by + dy);
        }
        // The band: closer than r to the line and projecting inside the segment.
        const double px = x + 0.5 - ax;
        double a = ay + (-r - px * nx) * inverseNy, b = ay + (r - px * nx) * inverseNy;
        if (a > b)
            std::swap(a, b);
        double bandLow = a, bandHigh = b;
        const double along = px * ux;
        if (uy != 0) {
            double c = ay + (0 - along) * inverseUy, d = ay + (length - along) * inverseUy;
            if (c > d)
                std::swap(c, d);
            bandLow = std::max(bandLow, c);
            bandHigh = std::min(bandHigh, d);
        } else if (!(along > 0 && along < length)) {
            bandHigh = bandLow;
        }
        if (bandLow < bandHigh) {
            low = std::min(low, bandLow);
            high = std::max(high, bandHigh);
        }
        if (low < high)
            Span(x, low, high);
    }
}
