#include "app/frame/DisplayFactory.h"

#include "app/frame/PlaceholderDisplay.h"
#include "views/dialogs/DisplayDialogHooks.h"
#include "views/gain/TalViewGain.h"
#include "views/imp/TalViewImp.h"
#include "views/nyq/TalViewNyq.h"
#include "views/text/TalViewText.h"

QWidget* CreateDisplay(DisplayKind kind, CTalDocument* doc, QWidget* parent)
{
    InstallDisplayDialogHooks();
    switch (kind) {
    case DisplayKind::Gain: return new CTalViewGain(doc, parent);
    case DisplayKind::Imp: return new CTalViewImp(doc, parent);
    case DisplayKind::Text: return new CTalViewText(doc, parent);
    case DisplayKind::Nyq: return new CTalViewNyq(doc, parent);
    case DisplayKind::Volt: break;
    }
    // There is no voltage display: a placeholder stands in for that recorded kind.
    return new PlaceholderDisplay(kind, doc, parent);
}
