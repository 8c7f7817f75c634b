#pragma once
// The keyboard's Caps, Num and Scroll Lock states, from the X server's keyboard indicators
// (libX11, opened at run time). All off where the platform cannot tell (offscreen, Wayland).

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

LockKeys ReadLockKeys();
