#include "views/base/HitGeometry.h"

#include <algorithm>

void HitGeometry::Clear()
{
    m_rects.clear();
    m_bands.clear();
}

void HitGeometry::AddRect(const LogicalRect& rect)
{
    if (!rect.IsEmpty())
        m_rects.push_back(rect);
}

void HitGeometry::AddSquare(int x, int y, int half)
{
    AddRect({x - half, y - half, x + half, y + half});
}

void HitGeometry::AddBand(int x0, int y0, int x1, int y1, int half)
{
    if (x0 == x1)
        return;
    if (x1 < x0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    m_bands.push_back({x0, y0, x1, y1, half});
}

void HitGeometry::Append(const HitGeometry& other)
{
    m_rects.insert(m_rects.end(), other.m_rects.begin(), other.m_rects.end());
    m_bands.insert(m_bands.end(), other.m_bands.begin(), other.m_bands.end());
}

bool HitGeometry::Contains(int x, int y) const
{
    for (const LogicalRect& rect : m_rects)
        if (rect.Contains(x, y))
            return true;
    for (const Band& band : m_bands) {
        if (x < band.x0 || x >= band.x1)
            continue;
        // Centre line of the band at x, by linear interpolation between the two ends.
        const double centre = band.y0 + double(band.y1 - band.y0) * (x - band.x0) / (band.x1 - band.x0);
        if (y >= centre - band.half && y < centre + band.half)
            return true;
    }
    return false;
}
