#include "win32/dpi_scale.h"

namespace clockvane::win32 {

namespace {

int systemDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

DpiScale dpiScaleOf(HWND window)
{
    // Looked up at run time: the program still starts on Windows 7, which lacks it.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return {static_cast<int>(dpi)};
    }
    return {systemDpi()};
}

HFONT createMessageFont(const DpiScale& scale, bool bold)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    // The system's metrics are for the system's dpi; the window may be on another monitor.
    font.lfHeight = ::MulDiv(font.lfHeight, scale.dpi, systemDpi());
    if (bold) font.lfWeight = FW_BOLD;
    return ::CreateFontIndirectW(&font);
}

}  // namespace clockvane::win32
