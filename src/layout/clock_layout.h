#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace clockvane {

// The clock block: 152 bytes right after a 12-byte signature. The signature reads as three
// groups of a state number and its three entry numbers; entry 0 is the boot entry.
inline constexpr std::array<std::uint8_t, 12> kClockBlockSignature{
    0x01, 0x01, 0x02, 0x03, 0x02, 0x04, 0x05, 0x06, 0x03, 0x07, 0x08, 0x09};
// The signature counts only when it lies wholly within the image's first 50,000 bytes.
inline constexpr std::size_t kSignatureSearchLimit = 50'000;
inline constexpr std::size_t kClockBlockSize = 152;
inline constexpr std::size_t kEntrySize = 16;
inline constexpr std::size_t kEntryCount = 10;

// Fields of one 16-byte entry, little-endian. Entry 9 is cut after its vcore field: nine whole
// entries and the eight value bytes of the tenth make up the block exactly.
struct FieldLayout {
    std::size_t offset;
    std::size_t width;
};
inline constexpr FieldLayout kGpuClockField{0, 3};  // engine clock, units of 10 kHz
inline constexpr FieldLayout kRamClockField{3, 3};  // memory clock, units of 10 kHz
inline constexpr FieldLayout kVcoreField{6, 2};     // millivolts
inline constexpr FieldLayout kTrailerField{8, 8};   // not interpreted, carried unchanged
inline constexpr std::size_t kTrailerCount = 9;

constexpr std::size_t entryOffset(std::size_t entry) { return entry * kEntrySize; }

inline constexpr std::size_t kSliderCount = 10;
inline constexpr std::size_t kVcoreBoxCount = 5;
inline constexpr std::size_t kPowerStateCount = 5;

// The entries each power state writes on save: its shown entry first, then the hidden entries
// that the card reads for the same state and that a save fills with the same values. Each list
// is as long as its entries: no count to keep in step with them.
inline constexpr std::size_t kBootUpEntries[] = {0};
inline constexpr std::size_t k2DEntries[] = {1, 4};
inline constexpr std::size_t k3DLowEntries[] = {2, 5};
inline constexpr std::size_t k3DHighEntries[] = {3, 6};
inline constexpr std::size_t kUvdEntries[] = {7, 8, 9};

// The five power states the editor shows, in window column order (left to right), which is
// also the order in which their clocks are range-checked. Each state owns a GPU slider (even
// index), a memory slider (odd index) and a VCore box. This table is the one description of
// the states: the write-back, the window's controls and the tools all derive from it. What the
// states are called is a text, kept with the other texts (texts::kPowerStateNames).
struct PowerState {
    std::string_view key;  // stable identifier for tools: bootup, 2d, 3d_low, 3d, uvd
    std::size_t gpuSlider;
    std::size_t ramSlider;
    std::size_t vcoreBox;
    std::span<const std::size_t> writtenEntries;  // the shown entry first

    constexpr std::size_t entry() const { return writtenEntries.front(); }  // read and shown
};

enum PowerStateIndex : std::size_t { kBootUp = 0, k2D = 1, k3DLow = 2, k3DHigh = 3, kUvd = 4 };

inline constexpr std::array<PowerState, kPowerStateCount> kPowerStates{{
    {"bootup", 0, 1, 0, kBootUpEntries},
    {"2d", 2, 3, 1, k2DEntries},
    {"3d_low", 8, 9, 4, k3DLowEntries},
    {"3d", 4, 5, 2, k3DHighEntries},
    {"uvd", 6, 7, 3, kUvdEntries},
}};
static_assert(kPowerStates[kBootUp].key == "bootup" && kPowerStates[k2D].key == "2d" &&
                  kPowerStates[k3DLow].key == "3d_low" && kPowerStates[k3DHigh].key == "3d" &&
                  kPowerStates[kUvd].key == "uvd",
              "each index names its row of the table");

// While the UVD link holds, the UVD state takes this state's clocks and voltage.
inline constexpr PowerStateIndex kUvdFollows = k3DHigh;

// Slider index -> the power state it belongs to, and whether it is a GPU or a memory clock.
constexpr std::size_t powerStateOfSlider(std::size_t slider)
{
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        if (kPowerStates[s].gpuSlider == slider || kPowerStates[s].ramSlider == slider) return s;
    }
    return kPowerStates.size();
}
constexpr bool isGpuSlider(std::size_t slider)
{
    for (const PowerState& state : kPowerStates) {
        if (state.gpuSlider == slider) return true;
    }
    return false;
}

constexpr std::size_t powerStateOfBox(std::size_t box)
{
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        if (kPowerStates[s].vcoreBox == box) return s;
    }
    return kPowerStates.size();
}

// The UVD sliders and box, and the 3D High Power ones they follow while linked.
inline constexpr std::size_t kUvdGpuSlider = kPowerStates[kUvd].gpuSlider;
inline constexpr std::size_t kUvdRamSlider = kPowerStates[kUvd].ramSlider;
inline constexpr std::size_t kUvdBox = kPowerStates[kUvd].vcoreBox;
inline constexpr std::size_t k3DHighGpuSlider = kPowerStates[kUvdFollows].gpuSlider;
inline constexpr std::size_t k3DHighRamSlider = kPowerStates[kUvdFollows].ramSlider;
inline constexpr std::size_t k3DHighBox = kPowerStates[kUvdFollows].vcoreBox;

// The state whose controls are read for `state`'s entries on save.
constexpr std::size_t savedFrom(std::size_t state, bool uvdLinked)
{
    return uvdLinked && state == kUvd ? kUvdFollows : state;
}

// Whether an entry is one of the hidden copies the window never shows.
constexpr bool isHiddenEntry(std::size_t entry)
{
    for (const PowerState& state : kPowerStates) {
        for (std::size_t k = 1; k < state.writtenEntries.size(); ++k) {
            if (state.writtenEntries[k] == entry) return true;
        }
    }
    return false;
}

}  // namespace clockvane
