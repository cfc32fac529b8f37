#include "ui/clock_slider.h"

#include <QKeyEvent>
#include <QPainter>

#include "layout/clock_limits.h"
#include "ui/accessible_controls.h"

namespace clockvane::ui {

ClockSlider::ClockSlider(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    setSingleStep(kSliderArrowStep);
    setPageStep(kSliderTrackStep);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(220);
    connect(this, &QScrollBar::valueChanged, this,
            [this](int value) { emit mhzChanged(-value, isSliderDown()); });
    // Dragging reports every step with `dragging`; letting go reports the final value once more
    // as a plain change.
    connect(this, &QScrollBar::sliderReleased, this, [this] { emit mhzChanged(mhz(), false); });
    installAccessibleControls();
}

void ClockSlider::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
            setMhz(event->key() == Qt::Key_Home ? lowerMhz() : upperMhz());
            return;
        }
    }
    QScrollBar::keyPressEvent(event);
}

void ClockSlider::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    constexpr int kWidth = 2;
    painter.setPen(QPen(palette().color(QPalette::Highlight), kWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}

}  // namespace clockvane::ui
