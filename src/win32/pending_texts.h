#pragma once

// Stand-ins for texts and steps that are moving out of the Qt window into src/text and
// src/layout on another branch; removed once that branch is merged.
#include <array>
#include <string_view>

#include "layout/clock_layout.h"
#include "text/texts.h"

namespace clockvane {
inline constexpr int kSliderArrowStep = 1;
inline constexpr int kSliderTrackStep = 25;
}  // namespace clockvane

namespace clockvane::texts {
inline constexpr std::string_view kGpuCaption = "GPU";
inline constexpr std::string_view kRamCaption = "RAM";
inline constexpr std::string_view kVcoreCaption = "VCore";
struct PowerStateNames {
    std::string_view heading;
    std::string_view subHeading;
};
inline constexpr std::array<PowerStateNames, kPowerStateCount> kPowerStateNames{{
    {"BootUp Clocks", ""},
    {"2D Clocks", ""},
    {"3D Clocks", "Low Power"},
    {"3D Clocks", "High Power"},
    {"UVD\u00AE Clocks", ""},
}};
inline constexpr std::string_view kEditorDescription =
    "Edits the GPU clock, memory clock and VCore of the five power states in a video BIOS image "
    "of a Radeon HD 3850, HD 3870 or HD 3870 X2 card, and saves a modified copy. The editor "
    "never talks to the hardware.";
inline constexpr std::string_view kEditorHelpOption = "Shows this help and ends.";
inline constexpr std::string_view kEditorFileArgument =
    "BIOS image to open (*.rom or *.bin), as with File > Open ROM file.";
inline constexpr std::string_view kEditorOneFileOnly = "Only one FILE can be opened.";
}  // namespace clockvane::texts
