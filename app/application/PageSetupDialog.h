#pragma once
// Page Setup: the platform's page-setup dialog seeded with the stored margins, minimum margins
// and orientation; after OK they are stored back, after Cancel they stay. Margins are kept in
// thousandths of an inch, the unit printing takes them in.
struct PageSetup;
class QPageLayout;
class QWidget;

// True when the dialog ended with OK.
bool RunPageSetupDialog(PageSetup& page, QWidget* parent);
// What OK stores from the dialog's layout: margins, orientation and the printer's minimum
// margins, the latter only when the printer reports any (zeros keep the stored ones).
void TakePageLayout(PageSetup& page, const QPageLayout& layout);
