#pragma once
// Printing arithmetic: the logical space is mapped onto the printable area shrunk by the
// application's page-setup margins beyond the printer's minimum margins.
#include <QRect>
#include <functional>

// Margins in thousandths of an inch, as the application's page setup keeps them.
struct PageMargins {
    int marginLeft = 1000, marginTop = 1000, marginRight = 1000, marginBottom = 1000;
    int minLeft = 40, minTop = 250, minRight = 586, minBottom = 250;
    int orientation = 2;  // 1 portrait, 2 landscape
};

// The application supplies its page setup; without one the defaults above apply.
void SetPageSetupHook(std::function<PageMargins()> hook);
PageMargins CurrentPageSetup();

// The printable area in device pixels and its physical size.
struct PrintArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    int widthMM = 0, heightMM = 0;  // printable size in whole millimetres
};

// The viewport (device pixels) the logical space is drawn into on the page.
QRect PrintViewport(const PrintArea& area, const PageMargins& margins);
