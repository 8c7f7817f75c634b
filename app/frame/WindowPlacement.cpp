#include "app/frame/WindowPlacement.h"

#include <algorithm>

#include "app/core/SettingsNames.h"
#include "app/settings/SettingsStore.h"

namespace names = settings_names;

WindowRect ClampWindowRect(const WindowRect& rect, int screenWidth, int screenHeight)
{
    constexpr int kMinimumExtent = 400;
    WindowRect clamped;
    clamped.left = std::clamp(rect.left, 0, std::max(0, screenWidth / 2));
    clamped.top = std::clamp(rect.top, 0, std::max(0, screenHeight / 2));
    clamped.right = std::max(std::min(rect.right, screenWidth), clamped.left + kMinimumExtent);
    clamped.bottom = std::max(std::min(rect.bottom, screenHeight), clamped.top + kMinimumExtent);
    return clamped;
}

bool StoredMaximized(const SettingsStore& store)
{
    return store.GetInt(names::kSettings, names::kMaximized, 1) != 0;
}

WindowRect StoredWindowRect(const SettingsStore& store)
{
    WindowRect rect;
    rect.left = store.GetInt(names::kSettings, names::kWindowLeft, rect.left);
    rect.top = store.GetInt(names::kSettings, names::kWindowTop, rect.top);
    rect.right = store.GetInt(names::kSettings, names::kWindowRight, rect.right);
    rect.bottom = store.GetInt(names::kSettings, names::kWindowBottom, rect.bottom);
    return rect;
}

void StoreWindowPlacement(SettingsStore& store, bool maximized, const WindowRect& normal)
{
    store.WriteInt(names::kSettings, names::kMaximized, maximized ? 1 : 0);
    store.WriteInt(names::kSettings, names::kWindowLeft, normal.left);
    store.WriteInt(names::kSettings, names::kWindowTop, normal.top);
    store.WriteInt(names::kSettings, names::kWindowRight, normal.right);
    store.WriteInt(names::kSettings, names::kWindowBottom, normal.bottom);
}
