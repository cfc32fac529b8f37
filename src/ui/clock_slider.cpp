#include "ui/clock_slider.h"

namespace clockvane::ui {

ClockSlider::ClockSlider(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    setSingleStep(kArrowStep);
    setPageStep(kTrackStep);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(220);
    connect(this, &QScrollBar::valueChanged, this,
            [this](int value) { emit mhzChanged(-value, isSliderDown()); });
    // Dragging reports every step with `dragging`; letting go reports the final value once more
    // as a plain change.
    connect(this, &QScrollBar::sliderReleased, this, [this] { emit mhzChanged(mhz(), false); });
}

}  // namespace clockvane::ui
