#pragma once

namespace clockvane::ui {

// Tells Qt's accessibility layer how to present the clock sliders and the VCore boxes, so a
// screen reader hears "3D High Power GPU clock, 775 MHz" rather than an unnamed scroll bar at
// -775 (the bar holds the negated clock) and "1,2 V" rather than a bare "1,2". The names are
// the widgets' accessible names, which the window sets in the current language. Safe to call
// any number of times; the widgets call it when they are made.
void installAccessibleControls();

}  // namespace clockvane::ui
