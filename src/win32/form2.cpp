#include "win32/form2.h"

#include "win32/dpi_scale.h"
#include "win32/resource_ids.h"
#include "win32/static_label.h"
#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

enum : int { kPicture = 101 };

HWND textLabel(HWND dialog, const std::string& text, HFONT font)
{
    const HWND label = createLabel(dialog, -1, SS_LEFT);
    ::SetWindowTextW(label, displayText(text).c_str());
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

}  // namespace

void Form2::create(HWND dialog)
{
    const DpiScale scale = dpiScaleOf(dialog);
    font_ = createMessageFont(scale);
    bold_ = createMessageFont(scale, true);
    ::SetWindowTextW(dialog, wide(texts_.caption).c_str());

    // The program's icon, large; a click opens the home page.
    const HWND picture = createLabel(dialog, kPicture, SS_ICON | SS_CENTERIMAGE);
    const auto icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconResource), IMAGE_ICON,
                     scale(96), scale(96), LR_DEFAULTCOLOR));
    if (icon) ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    ::SetClassLongPtrW(picture, GCLP_HCURSOR,
                       reinterpret_cast<LONG_PTR>(::LoadCursorW(nullptr, IDC_HAND)));
    place(picture, scale, 16, 16, 96, 96);

    const HWND version = textLabel(dialog, texts_.versionLine, font_);
    ::SetWindowLongW(version, GWL_STYLE, ::GetWindowLongW(version, GWL_STYLE) | SS_CENTER);
    place(version, scale, 16, 118, 96, 18);
    place(textLabel(dialog, texts_.riskNotice, bold_), scale, 128, 16, 440, 64);
    const HWND rule = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0,
                                        0, 0, 0, dialog, nullptr, nullptr, nullptr);
    place(rule, scale, 128, 86, 440, 2);
    place(textLabel(dialog, texts_.usageSteps, font_), scale, 128, 96, 440, 110);

    // No button: the close box, Escape and Enter close the window.
    sizeAndCentre(dialog, scale(584), scale(222));
}

void Form2::command(HWND dialog, int id, int code)
{
    if (id == kPicture && code == STN_CLICKED) {
        if (pictureClicked_) pictureClicked_();
        return;
    }
    if (id == IDCANCEL || id == IDOK) {
        ::DeleteObject(font_);
        ::DeleteObject(bold_);
        ::EndDialog(dialog, id);
    }
}

}  // namespace clockvane::win32
