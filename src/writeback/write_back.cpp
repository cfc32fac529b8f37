#include "writeback/write_back.h"

#include "writeback/encode.h"

#include "clocks/clock_limits.h"
#include "clocks/voltage_text.h"

namespace clockvane {

// Every save rewrites all twenty clock fields. The entries the window never shows (4, 5, 6,
// 8 and 9) get the values of the shown state they belong to, so a saved table is always
// consistent whatever the hidden copies held before.
const std::array<ClockWriteRow, kSliderCount> kClockWriteTable{{
    {0, 0, true, {0, kNoEntry, kNoEntry}, 1},   // BootUp GPU
    {1, 1, false, {0, kNoEntry, kNoEntry}, 1},  // BootUp RAM
    {2, 2, true, {1, 4, kNoEntry}, 2},          // 2D GPU
    {3, 3, false, {1, 4, kNoEntry}, 2},         // 2D RAM
    {4, 4, true, {3, 6, kNoEntry}, 2},          // 3D High Power GPU
    {5, 5, false, {3, 6, kNoEntry}, 2},         // 3D High Power RAM
    {6, 4, true, {7, 8, 9}, 3},                 // UVD GPU, or 3D High Power's while linked
    {7, 5, false, {7, 8, 9}, 3},                // UVD RAM, or 3D High Power's while linked
    {8, 8, true, {2, 5, kNoEntry}, 2},          // 3D Low Power GPU
    {9, 9, false, {2, 5, kNoEntry}, 2},         // 3D Low Power RAM
}};

// Boxes by index: 0 BootUp, 1 2D, 2 3D High Power, 3 UVD, 4 3D Low Power.
const std::array<VcoreWriteRow, kEntryCount> kVcoreWriteTable{{
    {0, 0, 0},
    {1, 1, 1},
    {4, 4, 2},
    {1, 1, 4},
    {4, 4, 5},
    {2, 2, 3},
    {2, 2, 6},
    {kUvdBox, k3DHighBox, 7},
    {kUvdBox, k3DHighBox, 8},
    {kUvdBox, k3DHighBox, 9},
}};

bool saveReadsBox(std::size_t box, bool uvdLinked)
{
    if (box >= kVcoreBoxCount) return false;
    return box != kUvdBox || !uvdLinked;
}

void writeBackClocks(ClockSet& clocks, const SaveControls& controls)
{
    for (const ClockWriteRow& row : kClockWriteTable) {
        const std::size_t source = controls.uvdLinked ? row.linkedSourceSlider : row.slider;
        // A slider holds a 16-bit value; its ranges (300-1700 MHz) fit with room to spare.
        const std::uint32_t field =
            EncodeClock(static_cast<std::int16_t>(controls.sliders[source]));
        for (std::size_t k = 0; k < row.entryCount; ++k) {
            ClockEntry& entry = clocks.working[row.entries[k]];
            (row.gpuField ? entry.gpuClock : entry.ramClock) = field;
        }
    }
}

std::optional<std::size_t> writeBackVcores(ClockSet& clocks, const SaveControls& controls)
{
    // Convert every box the save reads before writing anything, so that a box without a
    // number leaves the working copy exactly as it was.
    std::array<std::uint16_t, kVcoreBoxCount> millivolts{};
    for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
        if (!saveReadsBox(box, controls.uvdLinked)) continue;
        const auto value = EncodeVcore(controls.vcoreTexts[box], controls.decimalSeparator);
        if (!value) return box;
        millivolts[box] = *value;
    }
    for (const VcoreWriteRow& row : kVcoreWriteTable) {
        const std::size_t source = controls.uvdLinked ? row.linkedSourceBox : row.box;
        clocks.working[row.entry].vcore = millivolts[source];
    }
    return std::nullopt;
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
            formatMillivolts(clocks.working[state.entry].vcore, separator);
    }
    if (uvdLinked) controls.vcoreTexts[kUvdBox].clear();
    return controls;
}

}  // namespace clockvane
