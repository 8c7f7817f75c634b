#pragma once
// Collects the drawn pieces of one curve and turns them into few polylines: connected pieces
// are joined, and a run of vertical pieces in one logical column (many points falling on the
// same x) is reduced to its first, lowest, highest and last point, which covers the same
// pixels. Selection squares in one column are merged where they overlap.
#include <vector>

#include "views/base/LogicalMapping.h"

class CurvePath {
public:
    void AddPiece(LogicalPoint from, LogicalPoint to);
    // A selection square of half side `half` centred on the point.
    void AddMarker(int x, int y);
    void Finish(int markerHalf);

    const std::vector<std::vector<LogicalPoint>>& Polylines() const { return m_polylines; }
    const std::vector<LogicalRect>& Markers() const { return m_markerRects; }
    bool IsEmpty() const { return m_polylines.empty(); }

private:
    void FlushColumn();

    std::vector<std::vector<LogicalPoint>> m_polylines;
    bool m_inColumn = false;
    int m_columnX = 0;
    int m_low = 0, m_high = 0, m_last = 0;
    int m_step = 0, m_lowAt = 0, m_highAt = 0;
    std::vector<LogicalPoint> m_markers;
    std::vector<LogicalRect> m_markerRects;
};
