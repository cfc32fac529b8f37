#include "edit/write_back.h"

#include "layout/encode.h"

#include "layout/clock_limits.h"
#include "layout/voltage_text.h"

namespace clockvane {

bool saveReadsBox(std::size_t box, bool uvdLinked)
{
    if (box >= kVcoreBoxCount) return false;
    return box != kUvdBox || !uvdLinked;
}

// Every save rewrites all twenty clock fields. The entries the window never shows get the
// values of the shown state they belong to, so a saved table is always consistent whatever
// the hidden copies held before.
void writeBackClocks(ClockSet& clocks, const SaveControls& controls)
{
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        const PowerState& source = kPowerStates[savedFrom(s, controls.uvdLinked)];
        // A slider holds a 16-bit value; its ranges (300-1700 MHz) fit with room to spare.
        const std::uint32_t gpu =
            EncodeClock(static_cast<std::int16_t>(controls.sliders[source.gpuSlider]));
        const std::uint32_t ram =
            EncodeClock(static_cast<std::int16_t>(controls.sliders[source.ramSlider]));
        for (const std::size_t entry : kPowerStates[s].writtenEntries) {
            clocks.working[entry].gpuClock = gpu;
            clocks.working[entry].ramClock = ram;
        }
    }
}

Result<BoxMillivolts, UnreadableVcoreBox> readVcoreBoxes(const SaveControls& controls)
{
    BoxMillivolts millivolts{};
    for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
        if (!saveReadsBox(box, controls.uvdLinked)) continue;
        const auto value = EncodeVcore(controls.vcoreTexts[box], controls.decimalSeparator);
        if (!value) return UnreadableVcoreBox{box};
        millivolts[box] = *value;
    }
    return millivolts;
}

void writeBackVcores(ClockSet& clocks, const BoxMillivolts& millivolts, bool uvdLinked)
{
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        const std::size_t box = kPowerStates[savedFrom(s, uvdLinked)].vcoreBox;
        for (const std::size_t entry : kPowerStates[s].writtenEntries)
            clocks.working[entry].vcore = millivolts[box];
    }
}

SaveControls controlsAsOpened(const ClockSet& clocks, bool uvdLinked, char separator)
{
    SaveControls controls;
    controls.decimalSeparator = separator;
    controls.uvdLinked = uvdLinked;
    for (std::size_t slider = 0; slider < kSliderCount; ++slider) {
        controls.sliders[slider] =
            checkClockRange(slider, shownClockField(clocks.working, slider)).sliderValue;
    }
    for (const PowerState& state : kPowerStates) {
        controls.vcoreTexts[state.vcoreBox] =
            formatMillivolts(clocks.working[state.entry()].vcore, separator);
    }
    if (uvdLinked) controls.vcoreTexts[kUvdBox].clear();
    return controls;
}

}  // namespace clockvane
