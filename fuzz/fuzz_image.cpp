// Feeds arbitrary bytes through everything that reads an image and, for every image the
// editor accepts, through a save with control values derived from the input. Aborts when one
// of the core's own invariants does not hold.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "bytes/byte_search.h"
#include "bytes/hex_codec.h"
#include "bytes/sums.h"
#include "edit/correction.h"
#include "edit/save_pipeline.h"
#include "files/rom_file.h"
#include "image/bios_info.h"
#include "image/card_identity.h"
#include "image/option_rom.h"
#include "image/rom_loader.h"
#include "image/rom_structure.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"

namespace {

using namespace clockvane;

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Every byte a save may change: the twenty clock fields, the ten vcore fields and, when the
// classic correction ran, its 76-byte area.
std::set<std::size_t> writableOffsets(const RomImage& image, bool classicRan)
{
    std::set<std::size_t> offsets;
    const std::size_t block = image.clockBlockOffset();
    for (std::size_t j = 0; j < kEntryCount; ++j) {
        for (std::size_t k = 0; k < 8; ++k) offsets.insert(block + entryOffset(j) + k);
    }
    if (classicRan) {
        const auto m = findWithin(image.head(), kVersionMarker, kClassicMarkerSearchLimit);
        for (std::size_t k = 0; m && *m >= kClassicAreaStartBeforeMarker && k < kClassicAreaSize;
             ++k) {
            offsets.insert(*m - kClassicAreaStartBeforeMarker + k);
        }
    }
    return offsets;
}

// The structure reader on any bytes: it reads nothing outside them (the sanitizers watch), and
// what it reports lies inside them where it says it read there.
void checkStructure(ByteView file)
{
    const RomStructure structure = readRomStructure(file);
    if (structure.optionRomLength) {
        require(*structure.optionRomLength % kOptionRomBlockSize == 0 &&
                    *structure.optionRomLength <= kLongestOptionRom,
                "declared length in whole blocks");
        require(structure.cutShort == (file.size() < *structure.optionRomLength),
                "cut short exactly when shorter than declared");
    } else {
        require(!structure.cutShort, "no length, never cut short");
    }
    require(structure.atomHeader || (!structure.subsystemId && !structure.powerPlay),
            "IDs and PowerPlay table only under an ATOM header");
    if (structure.powerPlay) {
        require(structure.powerPlay->offset + 4 <= file.size(), "PowerPlay header inside");
        if (const auto& layout = structure.powerPlay->layout) {
            require(structure.powerPlay->formatRevision == 4, "layout read for format 4 only");
            require(!layout->clockInfoCount || *layout->clockInfoCount <= 256,
                    "clock-info count from 8-bit indices");
        }
    }
    (void)checkClockTable(structure, FoundClockTable{0, 16, 10});
}

void checkTexts(ByteView data)
{
    // The voltage box rules on arbitrary text: whatever survives validation as a number is one
    // the card can be given.
    const std::string text(reinterpret_cast<const char*>(data.data()),
                           std::min<std::size_t>(data.size(), 12));
    for (const char separator : {',', '.'}) {
        const std::string validated = validateVcoreText(text, separator);
        if (const auto volts = parseVolts(validated, separator)) {
            require(*volts >= kVcoreMinVolts && *volts <= kVcoreMaxVolts,
                    "validated voltage within limits");
        }
    }
    const std::string hex = ToHexLE(data.first(std::min<std::size_t>(data.size(), 512)));
    require(FromHexLE(hex) ==
                Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(hex.size() / 2)),
            "hex round trip");
    require(SumHexBytes(hex) == SumBytes(data.first(hex.size() / 2)), "hex sum equals byte sum");
}

void saveWithRandomControls(LoadedRom& rom, std::uint32_t seed)
{
    std::mt19937 random(seed);
    SaveControls controls;
    for (std::size_t i = 0; i < kSliderCount; ++i) {
        const SliderRange range = sliderRange(i);
        controls.sliders[i] = std::uniform_int_distribution<int>(range.lower, range.upper)(random);
    }
    controls.decimalSeparator = random() % 2 ? ',' : '.';
    for (std::size_t b = 0; b < kVcoreBoxCount; ++b) {
        const int mv = std::uniform_int_distribution<int>(900, 1327)(random);
        controls.vcoreTexts[b] = formatMillivolts(mv, controls.decimalSeparator);
    }
    controls.uvdLinked = random() % 2 == 0;
    if (controls.uvdLinked) controls.vcoreTexts[kUvdBox].clear();
    const bool answerYes = random() % 2 == 0;

    const RomImage before = rom.image;
    const ClockEntries asRead = rom.clocks.asRead;
    FixedClassicAnswer answer(answerYes);
    auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, answer);
    const bool asked = result.ok() && result->classicQuestionAsked;
    require(result.ok(), "validated controls always save");
    require(rom.clocks.asRead == asRead, "as-read copy unchanged");
    require(rom.image.fileImage == before.fileImage, "fileImage unchanged");

    const Bytes& out = rom.image.outputImage;
    require(out.size() == before.fileImage.size(), "output as long as the image");
    require(result->corrected() == (sum16(out) == rom.loadedSum), "corrected iff the sum holds");
    if (result->corrected()) {
        // A save the front-ends would write: every change inside the option ROM. Its own 8-bit
        // checksum then holds after the save exactly when it held at open.
        // (A classic area reaching down to the header's first three bytes would change the
        // declared length itself; the sums then cover different bytes.)
        const bool headerKept = std::equal(
            out.begin(),
            out.begin() + std::min<std::ptrdiff_t>(3, static_cast<std::ptrdiff_t>(out.size())),
            before.fileImage.begin());
        if (headerKept && !firstChangePastOptionRom(before.fileImage, out)) {
            Bytes opened = before.fileImage;
            opened.insert(opened.end(), before.beyondImage.begin(), before.beyondImage.end());
            require((optionRomChecksum(opened) == OptionRomChecksum::Valid) ==
                        (optionRomChecksum(bytesToWrite(rom.image)) == OptionRomChecksum::Valid),
                    "option-ROM checksum kept by a corrected save");
        }
    }
    const bool classicRan = asked && answerYes;
    const auto allowed = writableOffsets(before, classicRan);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] != before.fileImage[i])
            require(allowed.count(i) == 1, "only allowed bytes change");
    }
    const Bytes written = bytesToWrite(rom.image);
    require(written.size() == out.size() + before.beyondImage.size(), "beyond bytes appended");

    // A block that starts before the device ID may hold it inside a clock field; the save then
    // rewrites it like any other field byte, and the result is no longer an image of these cards.
    const bool deviceIdKept = deviceIdText(out) == deviceIdText(before.fileImage);
    if (!classicRan && deviceIdKept) {
        auto reopened = loadRom(RawFile{out, {}});
        require(reopened.ok(), "saved image opens again");
        require(reopened->image.signatureOffset == before.signatureOffset, "block stays in place");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteView input{data, size};
    checkTexts(input);
    checkStructure(input);

    const RawFile raw = splitFileBytes(input);

    // Identification never needs a valid image.
    (void)deviceIdText(input);
    (void)detectMemory(input);
    (void)x2FileNumber(input);
    (void)versionText(input);
    (void)dateText(input);

    auto loaded = loadRom(raw);
    if (!loaded) return 0;
    LoadedRom& rom = *loaded;
    require(rom.image.beyondImage == raw.beyond, "beyond kept");
    require(rom.loadedSum == sum16(rom.image.fileImage), "loaded sum");
    require(rom.structure.cutShort == isCutShort(input, size), "loader sees the whole file");
    const ByteView block = rom.image.clockBlock();
    require(encodeClockBlock(rom.clocks) == Bytes(block.begin(), block.end()),
            "block decodes and encodes back");
    (void)cardLine({rom.model, rom.memory.isGddr4, rom.memory.size});
    for (const PowerState& state : kPowerStates) {
        const auto& entry = rom.clocks.working[state.entry()];
        const RangeCheck gpu = checkClockRange(state.gpuSlider, entry.gpuClock);
        const RangeCheck ram = checkClockRange(state.ramSlider, entry.ramClock);
        require(gpu.sliderValue >= kGpuRange.lower && gpu.sliderValue <= kGpuRange.upper,
                "gpu slider in range");
        require(ram.sliderValue >= kRamRange.lower && ram.sliderValue <= kRamRange.upper,
                "ram slider in range");
    }

    std::uint32_t seed = 2166136261u;
    for (std::size_t i = 0; i < size; i += 97) seed = (seed ^ data[i]) * 16777619u;
    saveWithRandomControls(rom, seed ^ static_cast<std::uint32_t>(size));
    return 0;
}
