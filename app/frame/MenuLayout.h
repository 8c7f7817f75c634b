#pragma once
// The menu bar for each kind of active display (and for no document), with the exact item
// texts ("\t" separates the shortcut text), and the main window's context menu.
#include <optional>
#include <string>
#include <vector>

#include "data/DocumentView.h"

enum class MenuItemKind {
    Command,
    Separator,
    Submenu,
    RecentFiles,  // the recent-file entries
    WindowList,   // the open windows and "&Windows..."
};

struct MenuItem {
    MenuItemKind kind = MenuItemKind::Command;
    std::string text;
    int id = 0;
    std::vector<MenuItem> children;  // Submenu only
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

// The View menu's command that shows the "Simulated Instrument" window again (--simulate only).
inline constexpr int kShowSimulatorWindow = 32901;

// The menus shown while a display of `kind` is active; no kind: no document open. Separators
// never lead, trail or repeat. `simulated` adds the Simulated Instrument item.
std::vector<Menu> MenuBarFor(std::optional<DisplayKind> kind, bool simulated = false);

// The pop-up of a right click that reaches the main window.
std::vector<MenuItem> ContextMenuItems();
