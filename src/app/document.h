#pragma once

#include <cstdint>
#include <string>

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
};

}  // namespace clockvane::app
