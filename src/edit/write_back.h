#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "bytes/result.h"
#include "layout/clock_layout.h"
#include "layout/clock_set.h"

namespace clockvane {

// What the save reads from the window's controls.
struct SaveControls {
    std::array<int, kSliderCount> sliders{};             // whole MHz, by slider index
    std::array<std::string, kVcoreBoxCount> vcoreTexts;  // box texts, by box index
    bool uvdLinked = true;                               // UVD follows 3D High Power
    char decimalSeparator = '.';
};

// The controls as a window holds them right after an open: every slider on its clock after the
// range check, every box on its voltage, and the UVD box empty while the UVD clocks are linked.
SaveControls controlsAsOpened(const ClockSet& clocks, bool uvdLinked, char separator);

// The boxes a save reads: 0, 1, 2 and 4, and 3 only while the UVD clocks are unlinked.
bool saveReadsBox(std::size_t box, bool uvdLinked);

// Writes the twenty clock fields of the working copy from the sliders.
void writeBackClocks(ClockSet& clocks, const SaveControls& controls);

struct UnreadableVcoreBox {
    std::size_t box;  // the box index whose text is not a number
};
using BoxMillivolts = std::array<std::uint16_t, kVcoreBoxCount>;  // by box index

// The voltage of every box the save reads, in millivolts; the first box that holds no number
// is the error. Boxes the save does not read stay 0.
Result<BoxMillivolts, UnreadableVcoreBox> readVcoreBoxes(const SaveControls& controls);

// Writes the ten vcore fields of the working copy from the boxes' voltages.
void writeBackVcores(ClockSet& clocks, const BoxMillivolts& millivolts, bool uvdLinked);

}  // namespace clockvane
