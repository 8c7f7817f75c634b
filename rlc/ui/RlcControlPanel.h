#pragma once
// The program's one RLC control panel: created by the "&RLC Control Panel..." command once the
// analyzer dialog of the current type is open, and kept until Settings opens or the program
// ends.
#include "rlc/ui/RlcPanelContext.h"

class RLCDialog;

// Creates and shows the panel if none exists; an existing panel is left as it is.
RLCDialog* ShowRlcControlPanel(const RlcPanelContext& context);
RLCDialog* CurrentRlcControlPanel();
void DestroyRlcControlPanel();
