#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/rom_loader.h"
#include "layout/clock_layout.h"

namespace clockvane {

enum class ClockField { Gpu, Ram, Vcore };

// One field of both images. For a clock, `match` ignores the compensation byte (the least
// significant one, which every save moves to balance the checksum); a VCore must be equal.
struct FieldComparison {
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    bool match = true;
};

struct StateComparison {
    FieldComparison gpu;
    FieldComparison ram;
    FieldComparison vcore;
};

// A field of an entry the window never shows (4, 5, 6, 8, 9) that differs in any byte.
struct HiddenDifference {
    std::size_t entry;
    ClockField field;
    std::uint32_t a;
    std::uint32_t b;
};

// Differing bytes first..last (inclusive) at the same offsets of both files.
struct ByteRange {
    std::size_t first;
    std::size_t last;
};

struct ImageDiff {
    std::array<StateComparison, kPowerStateCount> states;  // in kPowerStates order
    std::vector<HiddenDifference> hidden;
    // Bytes that differ outside the clock fields (the gpuClock, ramClock and vcore fields of
    // both images' clock blocks), compared over the length the two files share.
    std::vector<ByteRange> otherBytes;
    std::size_t lengthA = 0;
    std::size_t lengthB = 0;
    bool settingsMatch = true;    // every shown clock (apart from its compensation byte) and VCore
    bool structuresMatch = true;  // the `structure` objects `info` shows are the same

    // Settings, lengths and structures all agree: what the exit code tells.
    bool same() const { return settingsMatch && lengthA == lengthB && structuresMatch; }
};

// The five shown states of two clock tables, in kPowerStates order.
using StateComparisons = std::array<StateComparison, kPowerStateCount>;
StateComparisons compareStates(const ClockEntries& a, const ClockEntries& b);

// What the tool's diff and the window's comparison report: the same code for both, so a file
// read back from the card is judged alike wherever it is compared.
ImageDiff compareImages(const LoadedRom& a, const LoadedRom& b);

// Whether the two images' own tables say the same: the clock table check, the ATOM ROM header,
// and the PowerPlay table's place, revision and clock-info layout.
bool sameStructure(const LoadedRom& a, const LoadedRom& b);

// Whether every byte of the two files is the same, past offset 99,999 too.
bool sameFileBytes(const RomImage& a, const RomImage& b);

}  // namespace clockvane
