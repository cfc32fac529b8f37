#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "clocks/clock_set.h"
#include "rom/result.h"
#include "rom/rom_image.h"
#include "writeback/write_back.h"

namespace clockvane {

enum class SaveOutcome {
    CorrectedByCompensation,  // CorrectCRC balanced the sum; nothing was asked
    CorrectedByClassic,       // the user agreed and the classic correction balanced it
    NotCorrected,             // declined, or the chosen correction failed
};

struct SaveResult {
    SaveOutcome outcome;
    bool classicQuestionAsked;  // CorrectCRC failed and the caller was asked
};

struct UnreadableVcoreBox {
    std::size_t box;  // the box index whose text is not a number
};

// The document a save works on: the loaded image, its clocks and its sum as loaded.
struct SaveTarget {
    RomImage& image;
    ClockSet& clocks;
    std::uint16_t loadedSum;
};

// The whole save from control values to outputImage, in the one order both front-ends use:
// clock write-back, VCore write-back, CorrectCRC, (ask) rebuild and assembly, classic
// correction when the answer was yes. `askClassic` is called only when CorrectCRC fails.
// When a box the save reads holds no number, nothing is changed and the box is reported.
Result<SaveResult, UnreadableVcoreBox> runSavePipeline(SaveTarget target,
                                                       const SaveControls& controls,
                                                       const std::function<bool()>& askClassic);

// The bytes that go to disk: outputImage, then the bytes a longer file had past offset
// 99,999, unchanged. No line end is added.
Bytes bytesToWrite(const RomImage& image);

// "_mod" four characters before the end of the opened file's path:
// C:\bios\hd3870.rom -> C:\bios\hd3870_mod.rom, card.rom2 -> card._modrom2. Characters,
// not bytes, are counted, so a UTF-8 path is never cut inside a character.
std::string defaultSaveName(std::string_view openedPath);

}  // namespace clockvane
