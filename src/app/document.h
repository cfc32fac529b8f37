#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "files/rom_file.h"
#include "image/card_identity.h"
#include "image/rom_image.h"
#include "image/rom_structure.h"
#include "layout/clock_set.h"

namespace clockvane::app {

// The image the window is editing: replaced as a whole by each successful open.
struct LoadedDocument {
    RomImage image;
    ClockSet clocks;
    CardModel card;
    std::uint16_t loadedSum = 0;  // 16-bit byte sum of the file as opened
    std::string path;             // the file it came from; the save proposes its "_mod" name
    RomStructure structure;       // the image's own tables
    ClockTableCheck clockTableCheck = ClockTableCheck::NotAvailable;
    // The file on disk as the editor last knew it (opened or saved over), to notice another
    // program changing it before a save writes over it.
    std::optional<FileStamp> onDisk;
    std::uint16_t onDiskSum = 0;  // 16-bit sum of all its bytes, past offset 99,999 too
};

}  // namespace clockvane::app
