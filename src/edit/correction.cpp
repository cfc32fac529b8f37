#include "edit/correction.h"

#include <algorithm>
#include <cstdlib>

#include "bytes/byte_search.h"
#include "bytes/sums.h"
#include "image/bios_info.h"
#include "image/rom_structure.h"
#include "layout/encode.h"

namespace clockvane {
namespace {

// Twenty adjustable bytes: the lowest byte of gpuClock and ramClock in each of ten entries.
constexpr int kAdjustableBytes = 2 * static_cast<int>(kEntryCount);
// One full byte of the classic area moves the image sum by this much (0x7F -> 0x00 or 0xFE).
constexpr int kClassicFullStep = 127;
constexpr std::uint8_t kClassicDown = 0x00;
constexpr std::uint8_t kClassicUp = 0xFE;

}  // namespace

bool CorrectCRC(ClockSet& clocks)
{
    const int loaded = ClockFieldSum(clocks.asRead);
    const int current = ClockFieldSum(clocks.working);
    if (current == loaded) return true;

    // Spread the difference evenly over the twenty bytes and put the remainder on entry 0's
    // gpuClock. The write-back left every one of them at 0x7F, so this moves the sum by
    // exactly the difference, provided no byte leaves 0x00-0xFF.
    const int direction = current > loaded ? -1 : 1;
    const int difference = std::abs(current - loaded);
    const int quotient = difference / kAdjustableBytes;
    const int remainder = difference % kAdjustableBytes;
    const int common = kCompensationMiddle + direction * quotient;
    const int first = common + direction * remainder;
    if (first < 0x00 || first > 0xFF) return false;

    // Work on a copy and keep it only when it balances: a failed attempt leaves the fields as
    // the write-back made them.
    ClockEntries corrected = clocks.working;
    for (std::size_t j = kEntryCount; j-- > 0;) {
        ClockEntry& entry = corrected[j];
        const auto byte = static_cast<std::uint8_t>(j == 0 ? first : common);
        entry.gpuClock = withCompensationByte(entry.gpuClock, byte);
        entry.ramClock = withCompensationByte(entry.ramClock, static_cast<std::uint8_t>(common));
    }
    if (ClockFieldSum(corrected) != loaded) return false;
    clocks.working = corrected;
    return true;
}

void assembleOutputImage(RomImage& image, const ClockSet& clocks)
{
    // Always from the bytes as loaded: whatever an earlier save's classic correction wrote
    // lives only in that save's output.
    const Bytes block = encodeClockBlock(clocks);
    image.outputImage = image.fileImage;
    std::copy(block.begin(), block.end(),
              image.outputImage.begin() + static_cast<std::ptrdiff_t>(image.clockBlockOffset()));
}

bool ChecksummenKorrekturFinal(RomImage& image, std::uint16_t loadedSum)
{
    const std::uint16_t before = sum16(image.outputImage);
    if (before == loadedSum) return true;

    // The area: 76 bytes ending 54 bytes before the first "ATI VER" that lies wholly within
    // the first 1,000 bytes of head. A marker closer than 129 bytes to the start would put
    // the area before the image.
    const auto marker = findWithin(image.head(), kVersionMarker, kClassicMarkerSearchLimit);
    if (!marker || *marker < kClassicAreaStartBeforeMarker) return false;
    const std::size_t areaStart = *marker - kClassicAreaStartBeforeMarker;
    if (image.outputImage.size() < areaStart + kClassicAreaSize) return false;
    // Nothing says what the area holds. Where it would cover a byte by which the image is known
    // (its headers, the PCI data structure, the device ID), a rewrite would leave a file no
    // flash tool, and not this program either, takes for a video BIOS: refused like a missing
    // marker. The clock block needs no such check: it follows head, and the area ends more than
    // 54 bytes before a marker that lies inside head.
    const std::size_t areaEnd = areaStart + kClassicAreaSize;
    for (const OffsetRange& kept : identifyingRanges(image.fileImage)) {
        if (kept.begin < areaEnd && areaStart < kept.end) return false;
    }
    // The marker is looked for in head as loaded; the area is rewritten in the output only.
    const auto area =
        std::span<std::uint8_t>(image.outputImage).subspan(areaStart, kClassicAreaSize);

    // The sum once the area is filled with 0x7F, computed before anything is changed.
    const std::uint32_t areaSum = sum16(area);
    const std::uint32_t filledAreaSum = kClassicAreaSize * kCompensationMiddle;
    const auto filled = static_cast<std::uint16_t>((before - areaSum + filledAreaSum) & 0xFFFFu);

    // The plain difference of the two 16-bit sums, not taken modulo 0x10000: a pair on either
    // side of the wrap looks like a huge difference and is refused.
    const int signedDifference = static_cast<int>(filled) - static_cast<int>(loadedSum);
    const int difference = std::abs(signedDifference);
    const std::size_t fullBytes = static_cast<std::size_t>(difference / kClassicFullStep);
    const int remainder = difference % kClassicFullStep;
    if (fullBytes >= kClassicAreaSize) return false;

    std::fill(area.begin(), area.end(), kCompensationMiddle);
    const bool down = signedDifference > 0;
    std::fill_n(area.begin(), fullBytes, down ? kClassicDown : kClassicUp);
    area[fullBytes] = static_cast<std::uint8_t>(down ? kCompensationMiddle - remainder
                                                     : kCompensationMiddle + remainder);

    // Only the area changed since `before` was taken, so the new sum follows from it without
    // another pass over the image.
    const std::uint32_t after = before - areaSum + sum16(area);
    return static_cast<std::uint16_t>(after & 0xFFFFu) == loadedSum;
}

}  // namespace clockvane
