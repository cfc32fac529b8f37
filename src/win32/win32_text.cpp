#include "win32/win32_text.h"

#include "files/windows_text_win32.h"
#include "text/line_breaks.h"

namespace clockvane::win32 {

std::wstring wide(std::string_view utf8) { return windows::toWide(utf8); }

std::string utf8(std::wstring_view text) { return windows::toUtf8(text); }

std::wstring displayText(std::string_view utf8)
{
    return wide(texts::withLineBreaks(utf8, texts::LineBreak::CarriageReturnLineFeed));
}

COLORREF colourOf(app::LabelColour colour)
{
    switch (colour) {
    case app::LabelColour::ButtonFace: return ::GetSysColor(COLOR_BTNFACE);
    case app::LabelColour::ButtonText: return ::GetSysColor(COLOR_BTNTEXT);
    case app::LabelColour::HighlightText: return ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    case app::LabelColour::Yellow: return RGB(0xFF, 0xFF, 0x00);
    case app::LabelColour::Red: return RGB(0xFF, 0x00, 0x00);
    case app::LabelColour::LightGrey: return RGB(0xC0, 0xC0, 0xC0);
    }
    return ::GetSysColor(COLOR_BTNTEXT);
}

std::wstring windowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace clockvane::win32
