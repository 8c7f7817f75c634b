#pragma once
// The button images of the toolbar "Standard", drawn at the toolbar's icon size.
#include <QIcon>

// The image of a toolbar command id; a null icon for ids without a button.
QIcon ToolbarIcon(int id);
