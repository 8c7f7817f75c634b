#pragma once
// The main window's placement in "Settings": "Maximized" and the normal rectangle "Window Left",
// "Window Top", "Window Right", "Window Bottom" (right and bottom exclusive, as stored).
class SettingsStore;

struct WindowRect {
    int left = 20;
    int top = 20;
    int right = 780;
    int bottom = 580;
    bool operator==(const WindowRect&) const = default;
};

// The stored rectangle on a screen of width w and height h: left to 0..w/2, top to 0..h/2,
// right to at least left + 400 and at most w, bottom to at least top + 400 and at most h; the
// lower bound wins when both apply.
WindowRect ClampWindowRect(const WindowRect& rect, int screenWidth, int screenHeight);

bool StoredMaximized(const SettingsStore& store);
WindowRect StoredWindowRect(const SettingsStore& store);
void StoreWindowPlacement(SettingsStore& store, bool maximized, const WindowRect& normal);
