#include "app/application/PageSetupDialog.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>

#include <cmath>

#include "app/core/ApplicationValues.h"

namespace {

constexpr double kPerInch = 1000.0;

int Thousandths(double inches)
{
    return static_cast<int>(std::lround(inches * kPerInch));
}

}  // namespace

void TakePageLayout(PageSetup& page, const QPageLayout& layout)
{
    const QMarginsF margins = layout.margins(QPageLayout::Inch);
    page.marginLeft = Thousandths(margins.left());
    page.marginTop = Thousandths(margins.top());
    page.marginRight = Thousandths(margins.right());
    page.marginBottom = Thousandths(margins.bottom());
    // A printer that reports no unprintable border (none installed, a PDF writer) says nothing
    // about the minimum margins: the stored ones stay.
    const QMarginsF minimum = layout.minimumMargins();
    const double toInch = layout.units() == QPageLayout::Inch ? 1.0
                          : layout.units() == QPageLayout::Millimeter ? 1.0 / 25.4
                          : layout.units() == QPageLayout::Point ? 1.0 / 72.0
                                                                 : 0.0;
    const bool reported = minimum.left() > 0.0 || minimum.top() > 0.0 || minimum.right() > 0.0 ||
                          minimum.bottom() > 0.0;
    if (toInch > 0.0 && reported) {
        page.minMarginLeft = Thousandths(minimum.left() * toInch);
        page.minMarginTop = Thousandths(minimum.top() * toInch);
        page.minMarginRight = Thousandths(minimum.right() * toInch);
        page.minMarginBottom = Thousandths(minimum.bottom() * toInch);
    }
    page.orientation = layout.orientation() == QPageLayout::Portrait ? 1 : 2;
}

bool RunPageSetupDialog(PageSetup& page, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(page.orientation == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(page.marginLeft / kPerInch, page.marginTop / kPerInch,
                                     page.marginRight / kPerInch, page.marginBottom / kPerInch),
                           QPageLayout::Inch);
    QPageSetupDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    TakePageLayout(page, printer.pageLayout());
    return true;
}
