#include "win32/bios_info_frame.h"

#include "win32/control_ids.h"
#include "win32/dpi_scale.h"
#include "win32/static_label.h"

namespace clockvane::win32 {

BiosInfoFrame::BiosInfoFrame(HWND parent)
{
    frame_ = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0, 0,
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFrameId)),
                               nullptr, nullptr);
    for (std::size_t i = 0; i < captions_.size(); ++i)
        captions_[i] = createLabel(parent, kInfoCaptionId + static_cast<int>(i), SS_LEFT);
    for (std::size_t i = 0; i < values_.size(); ++i)
        values_[i] =
            createLabel(parent, kInfoValueId + static_cast<int>(i), i < 3 ? SS_LEFT : SS_CENTER);
}

std::array<HWND, 8> BiosInfoFrame::labels() const
{
    return {captions_[0], captions_[1], captions_[2], values_[0],
            values_[1],   values_[2],   values_[3],   values_[4]};
}

void BiosInfoFrame::place(const DpiScale& scale, int x, int y) const
{
    win32::place(frame_, scale, x, y, kWidth, kHeight);
    constexpr int kCaptionWidth = 84;  // "Datum/Uhrzeit" on one line
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        const int top = y + 22 + static_cast<int>(i) * 22;
        win32::place(captions_[i], scale, x + 10, top, kCaptionWidth, 18);
        win32::place(values_[i], scale, x + 12 + kCaptionWidth, top, kWidth - kCaptionWidth - 16,
                     18);
    }
    win32::place(values_[3], scale, x + 8, y + 96, kWidth - 16, 18);
    win32::place(values_[4], scale, x + 8, y + 118, kWidth - 16, 18);
}

void BiosInfoFrame::setFonts(HFONT normal, HFONT fixed) const
{
    auto set = [](HWND control, HFONT font) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    set(frame_, normal);
    for (HWND caption : captions_) set(caption, normal);
    // The BIOS version and date are fixed-width fields of the image: keep them aligned.
    set(values_[0], fixed);
    set(values_[1], fixed);
    for (std::size_t i = 2; i < values_.size(); ++i) set(values_[i], normal);
}

}  // namespace clockvane::win32
