#pragma once

#include <QScrollBar>

namespace clockvane::ui {

// A vertical clock slider in whole MHz with its upper limit at the top. A click on an arrow
// moves it by 1 MHz, a click in the track by 25 MHz; the arrow keys and Page Up/Down do the
// same. Qt's vertical scroll bar has its minimum at the top, so the bar holds the negated
// clock: then the top arrow, Up and Page Up all raise the clock.
class ClockSlider : public QScrollBar {
    Q_OBJECT

public:
    static constexpr int kArrowStep = 1;
    static constexpr int kTrackStep = 25;

    explicit ClockSlider(QWidget* parent = nullptr);

    int mhz() const { return -value(); }
    int lowerMhz() const { return -maximum(); }
    int upperMhz() const { return -minimum(); }
    void setMhz(int mhz) { setValue(-mhz); }
    void setMhzRange(int lower, int upper) { setRange(-upper, -lower); }

signals:
    // The clock changed; `dragging` while the user drags the thumb.
    void mhzChanged(int mhz, bool dragging);
};

}  // namespace clockvane::ui
