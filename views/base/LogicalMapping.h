#pragma once
// The fixed 1000 x 1000 logical drawing space of every display, mapped anisotropically onto a
// device rectangle (the client area, a bitmap or the printed page area).
#include <cmath>
#include <cstdint>

struct LogicalPoint {
    int x = 0, y = 0;
    bool operator==(const LogicalPoint&) const = default;
};

// Left, top, right, bottom in logical units; right and bottom are exclusive for hit tests.
struct LogicalRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const LogicalRect&) const = default;
};

// Converts a computed coordinate to an integer by truncation towards zero, as every mapping
// of the displays does; values beyond the drawable range (or not numbers) are pinned so that
// the conversion stays defined.
inline int TruncateCoordinate(double value)
{
    constexpr double kLimit = 1e8;  // far beyond any device
    if (!(value > -kLimit))         // also a value that is no number
        return value != value ? 0 : -int(kLimit);
    return value < kLimit ? int(value) : int(kLimit);
}

class LogicalMapping {
public:
    static constexpr int kWindowExtent = 1000;

    LogicalMapping() = default;
    LogicalMapping(int originX, int originY, int width, int height);

    int OriginX() const { return m_originX; }
    int OriginY() const { return m_originY; }
    int ViewportWidth() const { return m_width; }
    int ViewportHeight() const { return m_height; }
    // s = sqrt(viewport width / viewport height): how fonts follow the aspect ratio.
    double ScaleUnit() const;

    // Logical to device, rounded to the nearest device pixel.
    int DeviceX(int x) const { return m_originX + TruncateCoordinate(std::floor(x * double(m_width) / kWindowExtent + 0.5)); }
    int DeviceY(int y) const { return m_originY + TruncateCoordinate(std::floor(y * double(m_height) / kWindowExtent + 0.5)); }
    double DeviceXF(double x) const { return m_originX + x * m_width / double(kWindowExtent); }
    double DeviceYF(double y) const { return m_originY + y * m_height / double(kWindowExtent); }
    // Device to logical (mouse positions).
    int LogicalX(int deviceX) const;
    int LogicalY(int deviceY) const;
    // Lengths in either direction.
    double DeviceWidth(double logicalWidth) const { return logicalWidth * m_width / kWindowExtent; }
    double DeviceHeight(double logicalHeight) const { return logicalHeight * m_height / kWindowExtent; }
    int LogicalWidth(double deviceWidth) const;
    int LogicalHeight(double deviceHeight) const;
    // A pen of `logicalWidth` as a device width (horizontal scale, at least one pixel).
    int PenPixels(int logicalWidth) const;
    // A font of logical character height |h| as a device pixel size (at least one pixel).
    int FontPixels(int logicalHeight) const;

private:
    int m_originX = 0, m_originY = 0;
    int m_width = kWindowExtent, m_height = kWindowExtent;
};
