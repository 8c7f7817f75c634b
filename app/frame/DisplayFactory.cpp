#include "app/frame/DisplayFactory.h"

#include "app/frame/PlaceholderDisplay.h"
#include "views/dialogs/DisplayDialogHooks.h"
#include "views/nyq/TalViewNyq.h"

QWidget* CreateDisplay(DisplayKind kind, CTalDocument* doc, QWidget* parent)
{
    InstallDisplayDialogHooks();
    if (kind == DisplayKind::Nyq)
        return new CTalViewNyq(doc, parent);
    return new PlaceholderDisplay(kind, doc, parent);
}
