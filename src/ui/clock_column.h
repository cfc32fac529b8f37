#pragma once

#include <array>
#include <string_view>

#include <QLabel>
#include <QWidget>

#include "layout/clock_layout.h"

namespace clockvane::ui {

class ClockSlider;
class VcoreBox;

// The fixed captions of the five columns, in window order (left to right, the order of
// kPowerStates). They read the same in both languages.
struct ColumnCaptions {
    std::string_view heading;
    std::string_view subHeading;  // empty: none
};
inline constexpr std::array<ColumnCaptions, kPowerStateCount> kColumnCaptions{{
    {"BootUp Clocks", ""},
    {"2D Clocks", ""},
    {"3D Clocks", "Low Power"},
    {"3D Clocks", "High Power"},
    {"UVD\u00AE Clocks", ""},
}};

// One power state's column: heading, GPU and RAM sliders side by side with their value
// labels, and the VCore box under them.
class ClockColumn : public QWidget {
    Q_OBJECT

public:
    ClockColumn(const PowerState& state, const ColumnCaptions& captions, QWidget* parent = nullptr);

    QLabel* heading() const { return heading_; }
    QLabel* subHeading() const { return subHeading_; }
    ClockSlider* gpuSlider() const { return gpuSlider_; }
    ClockSlider* ramSlider() const { return ramSlider_; }
    QLabel* gpuLabel() const { return gpuLabel_; }
    QLabel* ramLabel() const { return ramLabel_; }
    VcoreBox* vcoreBox() const { return vcoreBox_; }

private:
    QLabel* heading_;
    QLabel* subHeading_;
    ClockSlider* gpuSlider_;
    ClockSlider* ramSlider_;
    QLabel* gpuLabel_;
    QLabel* ramLabel_;
    VcoreBox* vcoreBox_;
};

}  // namespace clockvane::ui
