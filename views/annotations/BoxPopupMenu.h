#pragma once
// The popup menu of a box (menu 218): "Remove", "Select Font", the "Justify..." submenu and
// "Show Title" or "Hide Title". Its choices go to the display as commands.
class CTalView;
class QMenu;

QMenu* BuildBoxPopupMenu(CTalView& view, bool titleShown);
