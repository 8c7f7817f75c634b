#include "views/base/ViewPrinting.h"

#include <cmath>

#include "views/base/LogicalMapping.h"

namespace {

std::function<PageMargins()>& PageSetupHook()
{
    static std::function<PageMargins()> hook;
    return hook;
}

}  // namespace

void SetPageSetupHook(std::function<PageMargins()> hook)
{
    PageSetupHook() = std::move(hook);
}

PageMargins CurrentPageSetup()
{
    return PageSetupHook() ? PageSetupHook()() : PageMargins{};
}

QRect PrintViewport(const PrintArea& area, const PageMargins& m)
{
    // Page size in thousandths of an inch.
    const double pageWidth = area.widthMM / 0.0254;
    const double pageHeight = area.heightMM / 0.0254;
    const double horizontalPixels = area.right - area.left;
    const double verticalPixels = area.bottom - area.top;
    int left = area.left, top = area.top, right = area.right, bottom = area.bottom;
    if (pageWidth > 0) {
        left += TruncateCoordinate((m.marginLeft - m.minLeft) * horizontalPixels / pageWidth);
        right -= TruncateCoordinate((m.marginRight - m.minRight) * horizontalPixels / pageWidth);
    }
    if (pageHeight > 0) {
        top += TruncateCoordinate((m.marginTop - m.minTop) * verticalPixels / pageHeight);
        bottom -= TruncateCoordinate((m.marginBottom - m.minBottom) * verticalPixels / pageHeight);
    }
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}
