#pragma once

// The window's bridge between the program's texts (UTF-8, lines joined by a bare carriage
// return) and the wide Windows API, which wants UTF-16 and CR LF line breaks.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/window_state.h"

namespace clockvane::win32 {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// A text as a static control or a message box shows it: every line break as CR LF, since a
// bare CR shows as nothing (or as a box) there.
std::wstring displayText(std::string_view utf8);

// The colour a label takes; the three system colours are read when asked, so a change of the
// desktop's theme shows at the next render.
COLORREF colourOf(app::LabelColour colour);

// A control's whole text.
std::wstring windowText(HWND window);

}  // namespace clockvane::win32
