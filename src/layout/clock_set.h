#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "bytes/bytes.h"
#include "layout/clock_layout.h"

namespace clockvane {

// The three value fields of one entry, held as plain numbers.
struct ClockEntry {
    std::uint32_t gpuClock = 0;  // 24 bits, units of 10 kHz
    std::uint32_t ramClock = 0;  // 24 bits, units of 10 kHz
    std::uint16_t vcore = 0;     // millivolts

    friend bool operator==(const ClockEntry&, const ClockEntry&) = default;
};

using ClockEntries = std::array<ClockEntry, kEntryCount>;
using Trailer = std::array<std::uint8_t, kTrailerField.width>;

// The decoded clock block. `working` receives the edited values on save; `asRead` stays as
// decoded, so every save balances against the image as loaded. Trailers are never edited.
struct ClockSet {
    ClockEntries working{};
    ClockEntries asRead{};
    std::array<Trailer, kTrailerCount> trailers{};
};

// Decodes a 152-byte block; nothing when the block has another size.
std::optional<ClockSet> decodeClockBlock(ByteView block);

// The 152-byte block of the working copy: value fields from `entries`, trailers as decoded.
Bytes encodeClockBlock(const ClockEntries& entries,
                       const std::array<Trailer, kTrailerCount>& trailers);
inline Bytes encodeClockBlock(const ClockSet& clocks)
{
    return encodeClockBlock(clocks.working, clocks.trailers);
}

// The raw clock field a slider shows: the GPU or memory clock of its power state's entry.
constexpr std::uint32_t shownClockField(const ClockEntries& entries, std::size_t slider)
{
    const ClockEntry& entry = entries[kPowerStates[powerStateOfSlider(slider)].entry()];
    return isGpuSlider(slider) ? entry.gpuClock : entry.ramClock;
}

// The least significant byte of a clock field: the byte a save uses to balance the image sum.
constexpr std::uint8_t compensationByte(std::uint32_t clockField)
{
    return static_cast<std::uint8_t>(clockField & 0xFF);
}
constexpr std::uint32_t withCompensationByte(std::uint32_t clockField, std::uint8_t byte)
{
    return (clockField & 0xFFFF00u) | byte;
}

// Sum of the bytes of every gpuClock, ramClock and vcore field of the ten entries.
// At most 10 x 8 x 255, never cut to 16 bits.
int ClockFieldSum(const ClockEntries& entries);

}  // namespace clockvane
