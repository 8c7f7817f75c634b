#include "rlc/ui/RlcControlPanel.h"

#include <QPointer>

#include "rlc/ui/RLCDialog.h"

namespace {

// Owned here; the pointer also clears itself when the main window takes the panel with it.
QPointer<RLCDialog>& Panel()
{
    static QPointer<RLCDialog> panel;
    return panel;
}

}  // namespace

RLCDialog* ShowRlcControlPanel(const RlcPanelContext& context)
{
    if (Panel())
        return Panel();
    Panel() = new RLCDialog(context);
    Panel()->show();
    return Panel();
}

RLCDialog* CurrentRlcControlPanel()
{
    return Panel();
}

void DestroyRlcControlPanel()
{
    delete Panel().data();
}
