#pragma once

#include <cstdint>
#include <string>

namespace clockvane {

// Whole-MHz ranges of the sliders: GPU sliders (even indices) and memory sliders (odd).
struct SliderRange {
    int lower;
    int upper;
};
inline constexpr SliderRange kGpuRange{300, 1200};
inline constexpr SliderRange kRamRange{400, 1700};
// A click on a slider's arrow moves it by 1 MHz, a click in its track by 25 MHz; the arrow keys
// and Page Up/Down do the same.
inline constexpr int kSliderArrowStep = 1;
inline constexpr int kSliderTrackStep = 25;
// Values the sliders show before any image is loaded.
inline constexpr int kGpuDesignValue = 300;
inline constexpr int kRamDesignValue = 400;

SliderRange sliderRange(std::size_t slider);

// Whole MHz for a slider: raw / 100 rounded to the nearest integer, halves to even.
// Done in integers so that 777.50 and 778.50 never depend on floating-point luck.
int sliderValueFromRaw(std::uint32_t raw);

enum class RangeViolation { None, TooHigh, TooLow };

struct RangeCheck {
    int sliderValue;
    RangeViolation violation;
};

// The range check of one clock read from an image. The unrounded value is compared:
// 1200.01 MHz is too high for a GPU slider and the slider gets the limit it crossed.
RangeCheck checkClockRange(std::size_t slider, std::uint32_t raw);

// Warning bands of the clock labels.
enum class Band { Normal, Yellow, Red };
Band bandFor(std::size_t slider, int mhz, bool isGddr4);

}  // namespace clockvane
