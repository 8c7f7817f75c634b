#include "views/base/LogicalMapping.h"

#include <algorithm>
#include <cmath>

LogicalMapping::LogicalMapping(int originX, int originY, int width, int height)
    : m_originX(originX), m_originY(originY), m_width(std::max(width, 1)), m_height(std::max(height, 1))
{
}

double LogicalMapping::ScaleUnit() const
{
    return std::sqrt(double(m_width) / double(m_height));
}

int LogicalMapping::LogicalX(int deviceX) const
{
    return TruncateCoordinate(std::floor((deviceX - m_originX) * double(kWindowExtent) / m_width + 0.5));
}

int LogicalMapping::LogicalY(int deviceY) const
{
    return TruncateCoordinate(std::floor((deviceY - m_originY) * double(kWindowExtent) / m_height + 0.5));
}

int LogicalMapping::LogicalWidth(double deviceWidth) const
{
    return TruncateCoordinate(std::floor(deviceWidth * kWindowExtent / m_width + 0.5));
}

int LogicalMapping::LogicalHeight(double deviceHeight) const
{
    return TruncateCoordinate(std::floor(deviceHeight * kWindowExtent / m_height + 0.5));
}

int LogicalMapping::PenPixels(int logicalWidth) const
{
    return std::max(1, TruncateCoordinate(std::floor(DeviceWidth(logicalWidth) + 0.5)));
}

int LogicalMapping::FontPixels(int logicalHeight) const
{
    return std::max(1, TruncateCoordinate(std::floor(DeviceHeight(std::abs(logicalHeight)) + 0.5)));
}
