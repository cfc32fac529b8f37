#include "win32/clock_slider.h"

#include <windows.h>

#include <commctrl.h>

#include "layout/clock_limits.h"

namespace clockvane::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The bar holds the negated clock, so its own Home (to its minimum, the top) would give the
// highest clock: Home and End trade places, and Home gives the lowest clock, End the highest.
LRESULT CALLBACK sliderProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR)
{
    if (message == WM_KEYDOWN && (wParam == VK_HOME || wParam == VK_END))
        wParam = wParam == VK_HOME ? VK_END : VK_HOME;
    return ::DefSubclassProc(slider, message, wParam, lParam);
}

}  // namespace

HWND createClockSlider(HWND parent, int id)
{
    const HWND slider = ::CreateWindowExW(
        0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_VERT | TBS_NOTICKS, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessageW(slider, TBM_SETLINESIZE, 0, kSliderArrowStep);
    ::SendMessageW(slider, TBM_SETPAGESIZE, 0, kSliderTrackStep);
    ::SetWindowSubclass(slider, sliderProc, kSubclassId, 0);
    return slider;
}

int sliderMhz(HWND slider) { return -static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)); }

void setSliderMhz(HWND slider, int mhz)
{
    if (sliderMhz(slider) != mhz) ::SendMessageW(slider, TBM_SETPOS, TRUE, -mhz);
}

void setSliderRange(HWND slider, int lower, int upper)
{
    const auto min = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    const auto max = static_cast<int>(::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    if (min == -upper && max == -lower) return;
    ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, -upper);
    ::SendMessageW(slider, TBM_SETRANGEMAX, TRUE, -lower);
}

SliderMove sliderMoveOf(int scrollCode)
{
    switch (scrollCode) {
    case TB_THUMBTRACK: return SliderMove::Dragging;
    // Sent after every key press and click, once the value has been reported.
    case TB_ENDTRACK: return SliderMove::Ended;
    default: return SliderMove::Changed;  // keys, clicks, and letting go of the thumb
    }
}

}  // namespace clockvane::win32
