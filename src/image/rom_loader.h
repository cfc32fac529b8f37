#pragma once

#include <cstdint>
#include <string>

#include "bytes/result.h"
#include "image/card_identity.h"
#include "image/rom_image.h"
#include "image/rom_structure.h"
#include "layout/clock_set.h"

namespace clockvane {

enum class LoadErrorKind {
    WrongDeviceId,  // not one of the three supported IDs, or too short to hold one
    NoClockBlock,   // no signature wholly within bytes 0-49,999, or the block runs past the end
};

struct LoadError {
    LoadErrorKind kind;
    std::string deviceIdText;  // what was found at 0x88 ("" when the image is too short)
};

// Everything an accepted image gives before any question is asked. The memory size may
// still be unknown; the caller decides it (by asking the user) and fills `card.size`.
struct LoadedRom {
    RomImage image;
    ClockSet clocks;
    CardType model = CardType::HD3870;
    MemoryInfo memory;
    X2File x2File = X2File::NotX2;
    std::uint16_t loadedSum = 0;  // 16-bit byte sum of fileImage
    // The image's own tables, and whether they confirm the clock block the signature found.
    RomStructure structure;
    ClockTableCheck clockTableCheck = ClockTableCheck::NotAvailable;
};

// Validates and splits a file's bytes. Checks run in the order the editor needs them: the
// device ID first, then the clock block. A failure leaves nothing behind. A file cut short or
// a clock table its own tables contradict is not refused here: the caller warns about it.
Result<LoadedRom, LoadError> loadRom(RawFile raw);

}  // namespace clockvane
