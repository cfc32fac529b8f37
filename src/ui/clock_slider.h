#pragma once

#include <QScrollBar>

namespace clockvane::ui {

// A vertical clock slider in whole MHz with its upper limit at the top, moving by the steps of
// kSliderArrowStep and kSliderTrackStep. Qt's vertical scroll bar has its minimum at the top, so
// the bar holds the negated clock: then the top arrow, Up and Page Up all raise the clock. A screen
// reader hears the clock ("775 MHz"), and a slider with the keyboard focus is outlined in the
// highlight colour, which most styles do not do for scroll bars. Home and End go to the lowest and
// the highest clock: for the negated bar Qt would send Home to the top, the highest clock.
class ClockSlider : public QScrollBar {
    Q_OBJECT

public:
    explicit ClockSlider(QWidget* parent = nullptr);

    int mhz() const { return -value(); }
    int lowerMhz() const { return -maximum(); }
    int upperMhz() const { return -minimum(); }
    void setMhz(int mhz) { setValue(-mhz); }
    void setMhzRange(int lower, int upper) { setRange(-upper, -lower); }

    // The clock a screen reader hears: the one the label shows, which for a linked UVD slider
    // is not the slider's own position.
    int spokenMhz() const { return spokenMhz_; }
    void setSpokenMhz(int mhz) { spokenMhz_ = mhz; }

signals:
    // The clock changed; `dragging` while the user drags the thumb.
    void mhzChanged(int mhz, bool dragging);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int spokenMhz_ = 0;
};

}  // namespace clockvane::ui
