#pragma once

#include <windows.h>

#include <memory>

#include "layout/clock_layout.h"
#include "win32/vcore_box.h"

namespace clockvane::win32 {

struct DpiScale;

// One power state's column: heading, sub-heading, GPU and RAM sliders side by side with their
// value labels (Label3), and the VCore box under them. The captions are fixed texts.
class ClockColumn {
public:
    ClockColumn(HWND parent, std::size_t powerState);

    // Width of a column in 96-dpi pixels; the columns stand side by side from `x`.
    static constexpr int kWidth = 116;
    static constexpr int kHeadingTop = 34;
    void place(const DpiScale& scale, int x) const;
    void setFonts(HFONT normal, HFONT bold) const;

    HWND heading() const { return heading_; }
    HWND gpuSlider() const { return gpuSlider_; }
    HWND ramSlider() const { return ramSlider_; }
    HWND gpuLabel() const { return gpuLabel_; }
    HWND ramLabel() const { return ramLabel_; }
    VcoreBox& vcoreBox() const { return *vcoreBox_; }

private:
    HWND heading_, subHeading_, gpuCaption_, ramCaption_, vcoreCaption_;
    HWND gpuSlider_, ramSlider_, gpuLabel_, ramLabel_;
    std::unique_ptr<VcoreBox> vcoreBox_;
};

}  // namespace clockvane::win32
