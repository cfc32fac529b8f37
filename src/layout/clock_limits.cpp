#include "layout/clock_limits.h"

#include "layout/clock_layout.h"

namespace clockvane {

SliderRange sliderRange(std::size_t slider) { return isGpuSlider(slider) ? kGpuRange : kRamRange; }

int sliderValueFromRaw(std::uint32_t raw)
{
    const std::uint32_t whole = raw / 100;
    const std::uint32_t rest = raw % 100;
    if (rest > 50 || (rest == 50 && whole % 2 == 1)) return static_cast<int>(whole + 1);
    return static_cast<int>(whole);
}

RangeCheck checkClockRange(std::size_t slider, std::uint32_t raw)
{
    // Compared in units of 10 kHz, so the unrounded value decides: 120001 is above 1200 MHz.
    const SliderRange range = sliderRange(slider);
    if (raw > static_cast<std::uint32_t>(range.upper) * 100)
        return {range.upper, RangeViolation::TooHigh};
    if (raw < static_cast<std::uint32_t>(range.lower) * 100)
        return {range.lower, RangeViolation::TooLow};
    return {sliderValueFromRaw(raw), RangeViolation::None};
}

Band bandFor(std::size_t slider, int mhz, bool isGddr4)
{
    struct Bounds {
        int normalUpTo;
        int yellowUpTo;
    };
    constexpr Bounds kGpu{850, 950};
    constexpr Bounds kGddr4{1250, 1350};
    constexpr Bounds kGddr3{900, 1000};
    const Bounds bounds = isGpuSlider(slider) ? kGpu : (isGddr4 ? kGddr4 : kGddr3);
    if (mhz <= bounds.normalUpTo) return Band::Normal;
    if (mhz <= bounds.yellowUpTo) return Band::Yellow;
    return Band::Red;
}

}  // namespace clockvane
