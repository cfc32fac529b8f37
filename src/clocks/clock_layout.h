#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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

// The five power states the editor shows, in window column order (left to right), which is
// also the order in which their clocks are range-checked. Each state owns one shown entry and
// the hidden entries that a save fills with the same values.
struct PowerState {
    std::string_view name;  // as used in the clock messages: "3D Low Power GPU ..."
    std::string_view key;   // stable identifier for tools: bootup, 2d, 3d_low, 3d, uvd
    std::size_t entry;      // the entry that is read and shown
    std::size_t gpuSlider;
    std::size_t ramSlider;
    std::size_t vcoreBox;
    std::array<std::size_t, 3> writtenEntries;  // shown entry first; unused slots are kNoEntry
    std::size_t writtenEntryCount;
};
inline constexpr std::size_t kNoEntry = 99;

enum PowerStateIndex : std::size_t { kBootUp = 0, k2D = 1, k3DLow = 2, k3DHigh = 3, kUvd = 4 };

inline constexpr std::array<PowerState, kPowerStateCount> kPowerStates{{
    {"BootUp", "bootup", 0, 0, 1, 0, {0, kNoEntry, kNoEntry}, 1},
    {"2D", "2d", 1, 2, 3, 1, {1, 4, kNoEntry}, 2},
    {"3D Low Power", "3d_low", 2, 8, 9, 4, {2, 5, kNoEntry}, 2},
    {"3D", "3d", 3, 4, 5, 2, {3, 6, kNoEntry}, 2},
    {"UVD", "uvd", 7, 6, 7, 3, {7, 8, 9}, 3},
}};

// Slider index -> the power state it belongs to and whether it is the GPU (even) or memory
// (odd) clock.
constexpr std::size_t powerStateOfSlider(std::size_t slider)
{
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        if (kPowerStates[s].gpuSlider == slider || kPowerStates[s].ramSlider == slider) return s;
    }
    return kPowerStates.size();
}
constexpr bool isGpuSlider(std::size_t slider) { return slider % 2 == 0; }

constexpr std::size_t powerStateOfBox(std::size_t box)
{
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        if (kPowerStates[s].vcoreBox == box) return s;
    }
    return kPowerStates.size();
}

// The UVD sliders and box, and the 3D High Power ones they follow while linked.
inline constexpr std::size_t kUvdGpuSlider = 6;
inline constexpr std::size_t kUvdRamSlider = 7;
inline constexpr std::size_t kUvdBox = 3;
inline constexpr std::size_t k3DHighBox = 2;

}  // namespace clockvane
