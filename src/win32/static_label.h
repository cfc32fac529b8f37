#pragma once

#include <windows.h>

namespace clockvane::win32 {

// A static text control of the window (SS_NOTIFY, so that a tool tip can find it).
HWND createLabel(HWND parent, int id, DWORD alignment = SS_CENTER, DWORD extraStyle = 0);

// Moves a control to a rectangle given in 96-dpi pixels.
struct DpiScale;
void place(HWND control, const DpiScale& scale, int x, int y, int width, int height);

}  // namespace clockvane::win32
