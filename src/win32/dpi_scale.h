#pragma once

// The window is laid out in pixels of a 96-dpi screen and scaled to the monitor it is on: the
// manifest declares per-monitor awareness, so Windows leaves the scaling to the program and
// tells it of a new monitor's dpi with WM_DPICHANGED.

#include <windows.h>

namespace clockvane::win32 {

struct DpiScale {
    int dpi = USER_DEFAULT_SCREEN_DPI;
    int operator()(int pixelsAt96) const
    {
        return ::MulDiv(pixelsAt96, dpi, USER_DEFAULT_SCREEN_DPI);
    }
};

// The dpi of the monitor the window is on (GetDpiForWindow, Windows 10 1607 and later), else
// the system's.
DpiScale dpiScaleOf(HWND window);

// The desktop's message font at the given scale; the caller deletes it.
HFONT createMessageFont(const DpiScale& scale, bool bold = false);

}  // namespace clockvane::win32
