#pragma once

#include <array>
#include <string>
#include <vector>

#include "bytes/result.h"
#include "edit/write_back.h"
#include "image/rom_loader.h"
#include "layout/clock_layout.h"
#include "layout/clock_limits.h"

namespace clockvane::cli {

// A file opened as the window opens it: validated and split by the core, with every shown
// clock put through the range check of its slider. Nothing is asked: a memory size the image
// does not state stays unknown.
struct OpenedImage {
    std::string path;
    LoadedRom rom;
    std::array<RangeCheck, kSliderCount> sliders{};  // by slider index
};

// Opens and validates a file. The error is a sentence naming the reason ("cannot open: No
// such file or directory", "not an ATI 38xx BIOS image: ..."); the caller adds the file name.
Result<OpenedImage, std::string> openImage(const std::string& path);

// The range messages of an open, one English clock line per clock outside its slider's
// range, in the order the clocks are checked (BootUp GPU, BootUp RAM, 2D GPU, ... UVD RAM).
std::vector<std::string> rangeLines(const OpenedImage& opened);

// The controls as the window holds them right after this open: sliders from the range check,
// boxes with the image's voltages, and the UVD box empty while the UVD clocks are linked
// (unlinked, it holds the image's UVD voltage as the window restores it). The separator is '.'.
SaveControls controlsAfterOpen(const OpenedImage& opened, bool uvdLinked);

// Every byte of the file as read: the image and whatever followed its first 100,000 bytes.
Bytes wholeFile(const RomImage& image);

}  // namespace clockvane::cli
