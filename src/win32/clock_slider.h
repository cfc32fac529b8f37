#pragma once

#include <windows.h>

namespace clockvane::win32 {

// A vertical clock slider (a trackbar) in whole MHz with its upper limit at the top. A
// vertical trackbar has its minimum at the top, so the bar holds the negated clock: then Up,
// Page Up and a click above the thumb all raise the clock; Home gives the lowest clock and End
// the highest, as in the Qt window.
HWND createClockSlider(HWND parent, int id);

int sliderMhz(HWND slider);
void setSliderMhz(HWND slider, int mhz);
// Sets the range only when it differs, so that the thumb does not jump while rendering.
void setSliderRange(HWND slider, int lower, int upper);

// What a WM_VSCROLL from a trackbar reports: the thumb being dragged (ScrollBar1_Scroll), a
// new value (ScrollBar1_Change), or the end of a move that was already reported.
enum class SliderMove { Dragging, Changed, Ended };
SliderMove sliderMoveOf(int scrollCode);

}  // namespace clockvane::win32
