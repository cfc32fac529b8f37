#include "win32/clock_column.h"

#include "text/texts.h"
#include "win32/clock_slider.h"
#include "win32/control_ids.h"
#include "win32/dpi_scale.h"
#include "win32/static_label.h"
#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

HWND caption(HWND parent, std::string_view text)
{
    const HWND label = createLabel(parent, -1);
    ::SetWindowTextW(label, wide(text).c_str());
    return label;
}

// Label3(i): the slider's clock, sunken, on a background that warns of high clocks.
HWND valueLabel(HWND parent, std::size_t slider)
{
    return createLabel(parent, kClockLabelId + static_cast<int>(slider), SS_CENTER | SS_CENTERIMAGE,
                       SS_SUNKEN);
}

}  // namespace

ClockColumn::ClockColumn(HWND parent, std::size_t powerState)
{
    const PowerState& state = kPowerStates[powerState];
    const texts::PowerStateNames& names = texts::kPowerStateNames[powerState];
    heading_ = caption(parent, names.heading);
    subHeading_ = caption(parent, names.subHeading);
    gpuCaption_ = caption(parent, texts::kGpuCaption);
    ramCaption_ = caption(parent, texts::kRamCaption);
    // Created in tab order: the GPU slider, the RAM slider, then the VCore box.
    gpuSlider_ = createClockSlider(parent, kSliderId + static_cast<int>(state.gpuSlider));
    ramSlider_ = createClockSlider(parent, kSliderId + static_cast<int>(state.ramSlider));
    gpuLabel_ = valueLabel(parent, state.gpuSlider);
    ramLabel_ = valueLabel(parent, state.ramSlider);
    vcoreCaption_ = caption(parent, texts::kVcoreCaption);
    vcoreBox_ = std::make_unique<VcoreBox>(parent, kVcoreBoxId + static_cast<int>(state.vcoreBox));
}

void ClockColumn::place(const DpiScale& scale, int x) const
{
    constexpr int kHalf = kWidth / 2;
    constexpr int kSliderWidth = 30;
    constexpr int kLabelWidth = 56;
    win32::place(heading_, scale, x, kHeadingTop, kWidth, 16);
    win32::place(subHeading_, scale, x, kHeadingTop + 16, kWidth, 16);
    win32::place(gpuCaption_, scale, x, 70, kHalf, 16);
    win32::place(ramCaption_, scale, x + kHalf, 70, kHalf, 16);
    win32::place(gpuSlider_, scale, x + (kHalf - kSliderWidth) / 2, 88, kSliderWidth, 220);
    win32::place(ramSlider_, scale, x + kHalf + (kHalf - kSliderWidth) / 2, 88, kSliderWidth, 220);
    win32::place(gpuLabel_, scale, x + (kHalf - kLabelWidth) / 2, 312, kLabelWidth, 20);
    win32::place(ramLabel_, scale, x + kHalf + (kHalf - kLabelWidth) / 2, 312, kLabelWidth, 20);
    win32::place(vcoreCaption_, scale, x, 340, kWidth, 16);
    // A drop-down combo box's height includes its list.
    win32::place(vcoreBox_->handle(), scale, x + 14, 358, kWidth - 28, 200);
}

void ClockColumn::setFonts(HFONT normal, HFONT bold) const
{
    auto set = [](HWND control, HFONT font) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    set(heading_, bold);
    for (HWND control : {subHeading_, gpuCaption_, ramCaption_, vcoreCaption_, gpuLabel_, ramLabel_,
                         vcoreBox_->handle()})
        set(control, normal);
}

}  // namespace clockvane::win32
