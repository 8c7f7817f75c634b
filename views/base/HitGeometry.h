#pragma once
// Where a click selects a data set: the union of squares around single points, bands of
// +-6 logical units around drawn curve pieces and label boxes, collected while drawing.
#include <vector>

#include "views/base/LogicalMapping.h"

class HitGeometry {
public:
    static constexpr int kHalfBand = 6;

    void Clear();
    bool IsEmpty() const { return m_rects.empty() && m_bands.empty(); }
    void AddRect(const LogicalRect& rect);
    // The square with corners at (x +- half, y +- half).
    void AddSquare(int x, int y, int half = kHalfBand);
    // The quadrilateral (x0, y0 - half), (x0, y0 + half), (x1, y1 + half), (x1, y1 - half); a
    // vertical piece (x0 == x1) encloses no area and adds nothing.
    void AddBand(int x0, int y0, int x1, int y1, int half = kHalfBand);
    void Append(const HitGeometry& other);
    bool Contains(int x, int y) const;
    // The rectangles and squares added (slide-bar regions are made of these only).
    const std::vector<LogicalRect>& Rects() const { return m_rects; }

private:
    struct Band {
        int x0, y0, x1, y1, half;
    };
    std::vector<LogicalRect> m_rects;
    std::vector<Band> m_bands;
};
