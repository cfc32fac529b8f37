#pragma once

#include <cstdint>

#include "image/rom_image.h"
#include "layout/clock_set.h"

namespace clockvane {

// Balances the clock-field sum of the working copy against the as-read copy by moving the
// compensation byte of all twenty clock fields. True when balanced. Out of its range it
// returns false and leaves every compensation byte at 0x7F.
bool CorrectCRC(ClockSet& clocks);

// Rebuilds clockBlock from the working copy and outputImage = head + clockBlock + tail, with
// head as loaded.
void assembleOutputImage(RomImage& image, const ClockSet& clocks);

// The classic correction: balances the whole image sum against `loadedSum` by rewriting the
// 76 bytes that end 54 bytes before the first "ATI VER" in the first 1,000 bytes of head.
// It works on the assembled outputImage and leaves head as loaded. True when balanced. Without a
// usable marker, when the area would cover a byte that identifies the image (see
// identifyingRanges), or when more than 75 full bytes would be needed, it returns false and
// changes nothing.
bool ChecksummenKorrekturFinal(RomImage& image, std::uint16_t loadedSum);

inline constexpr std::size_t kClassicAreaSize = 76;
inline constexpr std::size_t kClassicAreaStartBeforeMarker = 129;
inline constexpr std::size_t kClassicMarkerSearchLimit = 1000;

}  // namespace clockvane
