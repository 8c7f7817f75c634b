#pragma once
// Wide curves straight into a 32-bit image: every segment is the set of pixels whose centres
// lie closer than half the pen width to it (round ends and joins, like the pens of the
// curves). Qt's wide-pen stroker needs microseconds per segment; this fills a few short
// column spans per segment, so a full repaint of many dense curves stays fast.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

class QPainter;

class ThickLineRasterizer {
public:
    // The image the painter draws into, when it is a 32-bit image without a transform; else null.
    static QImage* Target(QPainter& painter);

    // Pixels outside `clip` (device pixels) are left alone.
    ThickLineRasterizer(QImage& image, const QRect& clip, QRgb color, int width);
    // Writes what is still pending.
    ~ThickLineRasterizer();
    ThickLineRasterizer(const ThickLineRasterizer&) = delete;
    ThickLineRasterizer& operator=(const ThickLineRasterizer&) = delete;

    // A segment between two device points (integer pixel positions, as Qt's aliased pens use).
    void Segment(QPoint from, QPoint to);

private:
    // Rows [first, last] of column x. Overlapping rows of one column are merged before they
    // are written, so that each pixel of a dense curve is written once.
    void Span(int x, double low, double high);
    void Write(int x, int first, int last);


    uchar* m_bits;
    qsizetype m_stride;
    QRect m_clip;
    quint32 m_pixel;
    double m_radius;
    double m_offset;  // pixel-centre offset of the centre line: even widths sit on pixel edges
    // Half height of the pen's disc in the column i pixels right of its centre's column
    // (negative outside the disc), for i in [-kReach, kReach].
    static constexpr int kMaxReach = 64;
    int m_reach;
    double m_disc[2 * kMaxReach + 1];
    double Disc(int i) const { return i < -m_reach || i > m_reach ? -1 : m_disc[i + kMaxReach]; }
    struct Pending {
        int first = 1, last = 0;  // empty
    };
    std::vector<Pending> m_pending;  // per column of the clip
};
