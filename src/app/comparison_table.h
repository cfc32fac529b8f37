#pragma once

#include <string>
#include <vector>

#include "image/card_identity.h"
#include "image/image_diff.h"
#include "image/rom_loader.h"
#include "text/ui_language.h"

namespace clockvane::app {

// One line of the comparison window: what is compared, its value in each file, and whether
// the two differ (the window marks such lines).
struct ComparisonRow {
    std::string label;
    std::string first;
    std::string second;
    bool differs = false;
    std::string note{};  // why a line is marked: "different", "compensation byte only"
};

// What the window shows of a comparison: a title, the heading of each file's column and the
// rows, top to bottom.
struct ComparisonTable {
    std::string title;
    std::string firstHeading;
    std::string secondHeading;
    std::vector<ComparisonRow> rows;
};

// A compared file as the window knows it: its shown name, the loaded image and its card.
struct ComparedImage {
    std::string name;  // printable: bytes that are not text are escaped
    const LoadedRom& rom;
    CardModel card;
    bool sizeKnown = true;  // false: the image does not say, and nobody was asked
};

// The table of everything `compareImages` found, in the order the tool's diff reports it: card,
// memory and version, the five states' clocks and VCores, the hidden entries that differ, the
// byte ranges outside the clock fields, the lengths, the sums and the structure checks. At most
// `kShownByteRanges` ranges are listed; a last line counts the rest.
inline constexpr std::size_t kShownByteRanges = 40;
ComparisonTable comparisonTable(const ComparedImage& first, const ComparedImage& second,
                                const ImageDiff& diff, UiLanguage language, char separator);

// The table as plain lines ("label: first | second"), for a desktop without a table window.
std::string comparisonText(const ComparisonTable& table);

}  // namespace clockvane::app
