#include "app/frame/DisplayFactory.h"

#include "app/frame/PlaceholderDisplay.h"

QWidget* CreateDisplay(DisplayKind kind, CTalDocument* doc, QWidget* parent)
{
    return new PlaceholderDisplay(kind, doc, parent);
}
