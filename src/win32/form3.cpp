#include "win32/form3.h"

#include "win32/dpi_scale.h"
#include "win32/static_label.h"
#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

enum : int { kButton256 = 101, kButton512 = 102 };

HWND button(HWND dialog, int id, const std::string& text)
{
    return ::CreateWindowExW(0, L"BUTTON", wide(text).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

void Form3::create(HWND dialog)
{
    const DpiScale scale = dpiScaleOf(dialog);
    font_ = createMessageFont(scale);
    ::SetWindowTextW(dialog, wide(texts_.caption).c_str());
    const HWND question = createLabel(dialog, -1);
    ::SetWindowTextW(question, displayText(texts_.question).c_str());
    const HWND button256 = button(dialog, kButton256, texts_.button256);
    const HWND button512 = button(dialog, kButton512, texts_.button512);
    for (HWND control : {question, button256, button512})
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    place(question, scale, 16, 16, 320, 48);
    place(button256, scale, 76, 76, 90, 28);
    place(button512, scale, 186, 76, 90, 28);
    sizeAndCentre(dialog, scale(352), scale(120));
}

void Form3::command(HWND dialog, int id, int)
{
    if (id != kButton256 && id != kButton512) return;  // IDOK (Enter) and IDCANCEL: nothing
    answer_ = id == kButton256 ? app::MemoryAnswer::MB256 : app::MemoryAnswer::MB512;
    ::DeleteObject(font_);
    ::EndDialog(dialog, id);
}

}  // namespace clockvane::win32
