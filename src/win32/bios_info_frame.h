#pragma once

#include <windows.h>

#include <array>

namespace clockvane::win32 {

struct DpiScale;

// The "BIOS info's" group box (Frame1): three captions (Label1) beside their values (Label2
// 0..2), and the two hints (Label2 3 and 4) across the whole frame. The labels are siblings
// of the group box, drawn over it, so that a click or a drop on them reaches the window.
class BiosInfoFrame {
public:
    explicit BiosInfoFrame(HWND parent);

    static constexpr int kWidth = 280;
    static constexpr int kHeight = 150;
    void place(const DpiScale& scale, int x, int y) const;
    void setFonts(HFONT normal, HFONT fixed) const;

    HWND frame() const { return frame_; }
    HWND versionCaption() const { return captions_[0]; }
    HWND dateCaption() const { return captions_[1]; }
    HWND cardCaption() const { return captions_[2]; }
    HWND version() const { return values_[0]; }
    HWND date() const { return values_[1]; }
    HWND card() const { return values_[2]; }
    HWND openHint() const { return values_[3]; }
    HWND dropHint() const { return values_[4]; }
    // Every label of the frame, for the tool tip they share.
    std::array<HWND, 8> labels() const;

private:
    HWND frame_;
    std::array<HWND, 3> captions_{};
    std::array<HWND, 5> values_{};
};

}  // namespace clockvane::win32
