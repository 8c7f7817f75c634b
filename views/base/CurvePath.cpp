#include "views/base/CurvePath.h"

#include <algorithm>

void CurvePath::FlushColumn()
{
    if (!m_inColumn)
        return;
    m_inColumn = false;
    std::vector<LogicalPoint>& line = m_polylines.back();
    const auto push = [&line](LogicalPoint p) {
        if (!(line.back() == p))
            line.push_back(p);
    };
    // The extremes in the order they were reached, then the exit point.
    const bool lowFirst = m_lowAt <= m_highAt;
    const int first = lowFirst ? m_low : m_high;
    const int second = lowFirst ? m_high : m_low;
    push({m_columnX, first});
    push({m_columnX, second});
    push({m_columnX, m_last});
}

void CurvePath::AddPiece(LogicalPoint from, LogicalPoint to)
{
    const bool connected =
        !m_polylines.empty() && (m_inColumn ? (from.x == m_columnX && from.y == m_last) : m_polylines.back().back() == from);
    if (!connected) {
        FlushColumn();
        m_polylines.push_back({from});
    }
    if (from.x == to.x) {
        if (!m_inColumn || m_columnX != from.x) {
            FlushColumn();
            m_inColumn = true;
            m_columnX = from.x;
            m_low = m_high = m_last = from.y;
            m_step = m_lowAt = m_highAt = 0;
        }
        ++m_step;
        if (to.y < m_low) {
            m_low = to.y;
            m_lowAt = m_step;
        }
        if (to.y > m_high) {
            m_high = to.y;
            m_highAt = m_step;
        }
        m_last = to.y;
        return;
    }
    FlushColumn();
    m_polylines.back().push_back(to);
}

void CurvePath::AddMarker(int x, int y)
{
    m_markers.push_back({x, y});
}

void CurvePath::Finish(int half)
{
    FlushColumn();
    m_markerRects.clear();
    std::sort(m_markers.begin(), m_markers.end(),
              [](LogicalPoint a, LogicalPoint b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    for (size_t i = 0; i < m_markers.size();) {
        const int x = m_markers[i].x;
        int top = m_markers[i].y - half;
        int bottom = m_markers[i].y + half;
        size_t j = i + 1;
        while (j < m_markers.size() && m_markers[j].x == x && m_markers[j].y - half <= bottom) {
            bottom = std::max(bottom, m_markers[j].y + half);
            ++j;
        }
        m_markerRects.push_back({x - half, top, x + half, bottom});
        i = j;
    }
    m_markers.clear();
}
