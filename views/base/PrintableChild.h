#pragma once
// A child window of a display that paints itself into printed pages and pictures (description
// windows, slide-bar dialogs): the display converts its placement to logical units and asks it
// to draw its title and contents there.
#include "views/base/LogicalMapping.h"

class ViewPainter;

class PrintableChild {
public:
    virtual ~PrintableChild() = default;
    virtual void Paint(ViewPainter& dc, const LogicalRect& rect) const = 0;
};
