#include "win32/static_label.h"

#include "win32/dpi_scale.h"

namespace clockvane::win32 {

HWND createLabel(HWND parent, int id, DWORD alignment, DWORD extraStyle)
{
    return ::CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | alignment | extraStyle,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void place(HWND control, const DpiScale& scale, int x, int y, int width, int height)
{
    ::MoveWindow(control, scale(x), scale(y), scale(width), scale(height), FALSE);
}

}  // namespace clockvane::win32
