#pragma once

#include <QLabel>
#include <QWidget>

#include "layout/clock_layout.h"
#include "text/texts.h"

namespace clockvane::ui {

class ClockSlider;
class VcoreBox;

// One power state's column: heading, GPU and RAM sliders side by side with their value
// labels, and the VCore box under them.
class ClockColumn : public QWidget {
    Q_OBJECT

public:
    ClockColumn(const PowerState& state, const texts::PowerStateNames& names,
                QWidget* parent = nullptr);

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
