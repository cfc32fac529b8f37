// Saving: the write-back places, CorrectCRC, the classic correction, the save pipeline, its
// property test and the proposed save name.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "bytes/sums.h"
#include "edit/correction.h"
#include "edit/save_pipeline.h"
#include "files/save_name.h"
#include "fixtures/image_builder.h"
#include "fixtures/recipes.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/encode.h"
#include "layout/voltage_text.h"

namespace clockvane {
namespace {

LoadedRom loadBuilt(const fixtures::ImageRecipe& recipe = {})
{
    auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
    EXPECT_TRUE(loaded.ok());
    return std::move(loaded).value();
}

// A working copy as the write-back leaves it (compensation bytes 0x7F, other value bytes 0x80)
// and an as-read copy whose clock-field sum is `workingMinusRead` lower: its value bytes are
// moved by hand, down to 0x00 or up to 0xFF, so the sum must count each of the eight whole.
ClockSet clocksWithDifference(int workingMinusRead)
{
    ClockSet clocks;
    for (ClockEntry& entry : clocks.working) entry = {0x80807F, 0x80807F, 0x8080};
    Bytes block = encodeClockBlock(clocks);
    int remaining = -workingMinusRead;
    for (std::size_t i = 0; i < block.size(); ++i) {
        if (i % 16 >= 8) continue;  // trailer bytes do not count
        const int moved = std::clamp(block[i] + remaining, 0, 0xFF);
        remaining -= moved - block[i];
        block[i] = static_cast<std::uint8_t>(moved);
    }
    clocks.asRead = decodeClockBlock(block)->working;
    return clocks;
}

TEST(CorrectCRC, MovesTheTwentyCompensationBytesOrLeavesThemAt7F)
{
    // C - L, balanced, every compensation byte after the call except entry 0's GPU one.
    const std::tuple<int, bool, std::uint8_t, std::uint8_t> cases[] = {
        {0, true, 0x7F, 0x7F},     {1, true, 0x7F, 0x7E},     {-1, true, 0x7F, 0x80},
        {45, true, 0x7D, 0x78},    {2540, true, 0x00, 0x00},  {2539, false, 0x7F, 0x7F},
        {2541, false, 0x7F, 0x7F}, {-2560, true, 0xFF, 0xFF}, {-2561, false, 0x7F, 0x7F}};
    for (const auto& [difference, balanced, every, entry0Gpu] : cases) {
        SCOPED_TRACE(difference);
        ClockSet clocks = clocksWithDifference(difference);
        ASSERT_EQ(ClockFieldSum(clocks.working) - ClockFieldSum(clocks.asRead), difference);
        const ClockSet before = clocks;
        EXPECT_EQ(CorrectCRC(clocks), balanced);
        for (std::size_t j = 0; j < 10; ++j) {
            const ClockEntry& entry = clocks.working[j];
            EXPECT_EQ(entry.gpuClock, 0x808000u | (j == 0 ? entry0Gpu : every)) << j;
            EXPECT_EQ(entry.ramClock, 0x808000u | every) << j;
            EXPECT_EQ(entry.vcore, 0x8080u);
        }
        EXPECT_EQ(clocks.asRead, before.asRead);
    }
}

// 1,200 bytes of head with the marker at `marker` (0: none), the clock block and a tail of 300
// bytes; `structures` may place more bytes into head before the marker goes in.
RomImage classicImage(std::size_t marker, const std::function<void(Bytes&)>& structures = {})
{
    Bytes file;
    for (std::size_t i = 0; i < 1200; ++i) file.push_back(std::uint8_t(0x10 + i % 7));
    if (structures) structures(file);
    if (marker) fixtures::putText(file, marker, "ATI VER");
    file.insert(file.end(), 152, 0x11);
    file.insert(file.end(), 300, 0x02);
    RomImage image;
    image.fileImage = image.outputImage = file;
    image.signatureOffset = 1188;
    return image;
}

// Runs the classic correction on `image` with the loaded sum `difference` above the sum once
// the area (76 bytes from marker - 129) holds 0x7F; checks the outcome and the bytes: when
// balanced, `count` bytes of `run`, one byte `last`, the rest 0x7F; otherwise unchanged.
void expectClassic(RomImage image, std::size_t marker, int difference, bool balanced,
                   std::size_t count = 2, std::uint8_t run = 0xFE, std::uint8_t last = 0xAD)
{
    const Bytes file = image.fileImage;
    Bytes expected = file;
    if (marker >= 129) std::fill_n(expected.begin() + long(marker - 129), 76, 0x7F);
    const auto loaded = static_cast<std::uint16_t>(sum16(expected) + difference);
    if (balanced) std::fill_n(expected.begin() + long(marker - 129), count, run);
    if (balanced) expected[marker - 129 + count] = last;
    EXPECT_EQ(ChecksummenKorrekturFinal(image, loaded), balanced);
    EXPECT_EQ(image.outputImage, balanced ? expected : file);
    EXPECT_EQ(image.fileImage, file);
}

TEST(ClassicCorrection, RewritesThe76BytesEnding54BeforeTheMarkerOrNothing)
{
    // Marker (0: none), loaded sum minus the sum once the area holds 0x7F, balanced, and the
    // area then. The first area allowed starts at 0x8A, right after the device ID (marker 267):
    // before it, every area covers the option-ROM header, the pointer at 0x48 or 0x88-0x89.
    using Row = std::tuple<std::size_t, int, bool, std::size_t, std::uint8_t, std::uint8_t>;
    for (const auto& [marker, difference, balanced, count, run, last] :
         {Row{400, 300, true, 2, 0xFE, 0xAD}, Row{400, -100, true, 0, 0, 0x1B},
          Row{400, 0, true, 0, 0, 0x7F}, Row{400, 9651, true, 75, 0xFE, 0xFD},
          Row{400, -9651, true, 75, 0x00, 0x01}, Row{400, 9652, false, 0, 0, 0},
          Row{400, -9652, false, 0, 0, 0}, Row{267, 300, true, 2, 0xFE, 0xAD},
          Row{266, 300, false, 0, 0, 0}, Row{200, 300, false, 0, 0, 0},
          Row{129, 300, false, 0, 0, 0}, Row{128, 300, false, 0, 0, 0},
          Row{993, -100, true, 0, 0, 0x1B}, Row{994, -100, false, 0, 0, 0},
          Row{0, 300, false, 0, 0, 0}}) {
        SCOPED_TRACE(std::to_string(marker) + " " + std::to_string(difference));
        expectClassic(classicImage(marker), marker, difference, balanced, count, run, last);
    }
    RomImage plain;
    plain.fileImage = plain.outputImage = Bytes(2000, 1);
    EXPECT_TRUE(ChecksummenKorrekturFinal(plain, 2000));  // balanced without a marker
}

// "PCIR" at 0x200 (the word at 0x18 points to it) with the length its field at 0x20A gives,
// at least 24 bytes; the ATOM ROM header at 0x300 (the word at 0x48) with the size its first
// word gives, at least 0x22 bytes. The area is [marker - 129, marker - 54].
void putPciAndAtom(Bytes& file, std::uint16_t pciLength, std::uint16_t atomSize)
{
    fixtures::putBytes(file, 0x18, Bytes{0x00, 0x02});
    fixtures::putText(file, 0x200, "PCIR");
    fixtures::putBytes(file, 0x20A, Bytes{std::uint8_t(pciLength), std::uint8_t(pciLength >> 8)});
    fixtures::putBytes(file, 0x48, Bytes{0x00, 0x03});
    fixtures::putBytes(file, 0x300, Bytes{std::uint8_t(atomSize), std::uint8_t(atomSize >> 8)});
    fixtures::putText(file, 0x304, "ATOM");
}

TEST(ClassicCorrection, NeverCoversThePciDataStructureOrTheAtomRomHeader)
{
    // Marker, PCI data length field, ATOM ROM header size field, balanced.
    using Row = std::tuple<std::size_t, std::uint16_t, std::uint16_t, bool>;
    for (const auto& [marker, pci, atom, balanced] :
         {Row{565, 0x18, 0x10, true},     // area ends at 0x1FF, right before "PCIR"
          Row{566, 0x18, 0x10, false},    // ends on "P"
          Row{664, 0x18, 0x10, false},    // starts at 0x217, its 24th byte
          Row{665, 0x18, 0x10, true},     // starts at 0x218
          Row{664, 0x10, 0x10, false},    // a shorter length field still keeps 24 bytes
          Row{668, 0x1C, 0x10, false},    // a longer one counts: 0x21B is its 28th byte
          Row{669, 0x1C, 0x10, true},     // 0x21C
          Row{821, 0x18, 0x10, true},     // ends at 0x2FF, right before the ATOM ROM header
          Row{822, 0x18, 0x10, false},    // ends on its first byte
          Row{930, 0x18, 0x10, false},    // starts at 0x321, the last of its 0x22 bytes
          Row{931, 0x18, 0x10, true},     // starts at 0x322
          Row{960, 0x18, 0x40, false},    // a size of 0x40 counts: 0x33F is its last byte
          Row{961, 0x18, 0x40, true}}) {  // 0x340
        SCOPED_TRACE(marker);
        const auto structures = [&](Bytes& file) { putPciAndAtom(file, pci, atom); };
        expectClassic(classicImage(marker, structures), marker, 300, balanced);
    }
}

SaveControls clocksAt(int gpu, int ram)
{
    SaveControls controls;
    for (std::size_t i = 0; i < 10; ++i) controls.sliders[i] = i % 2 == 0 ? gpu : ram;
    controls.vcoreTexts = {"1", "1", "1", "1", "1"};
    controls.uvdLinked = false;
    return controls;
}

TEST(SavePipeline, EverySaveBalancesAgainstTheFileAsOpened)
{
    const SaveControls high = clocksAt(1100, 1650), near = clocksAt(656, 656);
    const auto C = SaveOutcome::CorrectedByClassic, K = SaveOutcome::CorrectedByCompensation;
    // Two saves in one session: controls, classic answer and outcome of each.
    const struct {
        const char* name;
        std::tuple<SaveControls, bool, SaveOutcome> saves[2];
    } cases[] = {{"classic then compensation", {{high, true, C}, {near, false, K}}},
                 {"compensation then classic", {{near, false, K}, {high, true, C}}},
                 {"no then yes", {{high, false, SaveOutcome::NotCorrected}, {high, true, C}}},
                 {"classic twice", {{high, true, C}, {clocksAt(1000, 1500), true, C}}}};
    const auto save = [](LoadedRom& rom, const SaveControls& controls, bool answer) {
        FixedClassicAnswer observer(answer);
        return runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, observer).value();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedRom session = loadBuilt(fixtures::lowClocks());
        for (const auto& [controls, answer, outcome] : c.saves) {
            const SaveResult again = save(session, controls, answer);
            LoadedRom fresh = loadBuilt(fixtures::lowClocks());
            save(fresh, controls, answer);
            EXPECT_EQ(bytesToWrite(session.image), bytesToWrite(fresh.image));
            EXPECT_EQ(again.outcome, outcome);
            EXPECT_EQ(again.classicQuestionAsked, outcome != K);
            EXPECT_EQ(again.corrected(), sum16(session.image.outputImage) == session.loadedSum);
        }
    }
}

TEST(SavePipeline, ABoxWithoutANumberChangesNothingAndNamesTheBox)
{
    LoadedRom rom = loadBuilt();
    SaveControls controls = clocksAt(1000, 1000);
    controls.vcoreTexts[3] = "";
    FixedClassicAnswer yes(true);
    const auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, yes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().box, 3u);
    EXPECT_EQ(rom.clocks.working, rom.clocks.asRead);
    EXPECT_TRUE(rom.image.outputImage.empty());

    rom.image.outputImage = {0x55, 0xAA, 0x0D};
    rom.image.beyondImage = {0x0A, 0xFF};
    EXPECT_EQ(bytesToWrite(rom.image), (Bytes{0x55, 0xAA, 0x0D, 0x0A, 0xFF}));
}

TEST(SaveName, PutsModFourCharactersBeforeTheEndNeverInTheFolder)
{
    for (const std::string row :
         {"C:\\bios\\hd3870.rom -> C:\\bios\\hd3870_mod.rom",
          "/home/user/card.rom2 -> /home/user/card._modrom2",
          "/home/jörg/Grafikkarte.röm -> /home/jörg/Grafikkarte_mod.röm",
          "karte.€€€ -> karte_mod.€€€", "x.ro -> _modx.ro", "rom -> rom_mod",
          "dumps/v1 -> dumps/v1_mod", "a/b/c -> a/b/c_mod", "/x -> /x_mod",
          "C:\\bios\\v1 -> C:\\bios\\v1_mod", "dumps/ä€ -> dumps/ä€_mod"}) {
        const std::size_t arrow = row.find(" -> ");
        EXPECT_EQ(defaultSaveName(row.substr(0, arrow)), row.substr(arrow + 4));
    }
}

// Generated images of many shapes saved with random controls: a save touches only the value
// fields (and the classic area when the user agreed), keeps the sum when it says so, and the
// image reopens to the values that were saved, in every entry each slider and box writes.
TEST(SaveProperty, KeepsTheSumTouchesOnlyItsFieldsAndReopensToTheSavedValues)
{
    std::mt19937 random(20071210);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // Written out by hand from the card's table: the entries each slider writes; box b writes
    // those of slider 2b.
    const std::vector<std::vector<std::size_t>> entriesOfSlider{
        {0}, {0}, {1, 4}, {1, 4}, {3, 6}, {3, 6}, {7, 8, 9}, {7, 8, 9}, {2, 5}, {2, 5}};
    constexpr int kImages = 2000;
    int outcomes[3] = {};

    for (int n = 0; n < kImages; ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        fixtures::ImageRecipe recipe;
        const int shape = pick(0, 39);
        recipe.length = shape == 0 ? 65'536 : shape == 1 ? 100'000 : std::size_t(pick(1536, 4096));
        // Past the texts at the start, short of the 50,000-byte limit and the checksum byte.
        const int lastSignature = std::min<int>(49'988, int(recipe.length) - 164 - 600);
        recipe.signatureOffset = std::size_t(pick(0x200, lastSignature));
        recipe.fillSeed = static_cast<std::uint32_t>(random());
        if (pick(0, 9) == 0) recipe.versionMarkerOffset.reset();  // no classic correction
        // A third of the tables hold near-zero fields: the save must then ask.
        const bool nearZero = pick(0, 2) == 0;
        for (ClockEntry& entry : recipe.entries) {
            entry.gpuClock = std::uint32_t(nearZero ? pick(0, 0xFF) : pick(20'000, 200'000));
            entry.ramClock = std::uint32_t(nearZero ? pick(0, 0xFF) : pick(20'000, 200'000));
            entry.vcore = std::uint16_t(nearZero ? pick(0, 0xFF) : pick(800, 1400));
        }
        LoadedRom rom = loadBuilt(recipe);

        // Half the time the controls stay near the opened values.
        SaveControls controls;
        const bool nearOpened = pick(0, 1) == 0;
        for (std::size_t i = 0; i < 10; ++i) {
            const SliderRange range = sliderRange(i);
            const ClockEntry& entry = rom.clocks.asRead[entriesOfSlider[i][0]];
            const int opened =
                checkClockRange(i, i % 2 ? entry.ramClock : entry.gpuClock).sliderValue;
            const int value = nearOpened ? opened + pick(-20, 20) : pick(range.lower, range.upper);
            controls.sliders[i] = std::clamp(value, range.lower, range.upper);
        }
        controls.decimalSeparator = pick(0, 1) == 0 ? ',' : '.';
        controls.uvdLinked = pick(0, 1) == 0;
        int millivolts[5];
        for (std::size_t box = 0; box < 5; ++box) {
            millivolts[box] = pick(900, 1327);
            controls.vcoreTexts[box] = formatMillivolts(millivolts[box], controls.decimalSeparator);
        }
        if (controls.uvdLinked && pick(0, 1) == 0) controls.vcoreTexts[3] = "";
        const bool yes = pick(0, 1) == 0;

        FixedClassicAnswer answer(yes);
        const auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, answer);
        ASSERT_TRUE(result.ok());
        ++outcomes[int(result->outcome)];
        const Bytes& input = rom.image.fileImage;
        const Bytes output = bytesToWrite(rom.image);
        ASSERT_EQ(output.size(), input.size());
        ASSERT_EQ(result->corrected(), sum16(output) == sum16(input));

        // The eight value bytes of each entry, and the 76 bytes ending 54 before "ATI VER".
        std::vector<bool> allowed(input.size(), false);
        for (std::size_t i = 0; i < 160; ++i)
            allowed[*recipe.signatureOffset + 12 + i] = i % 16 < 8;
        if (result->classicQuestionAsked && yes && recipe.versionMarkerOffset)
            std::fill_n(allowed.begin() + long(*recipe.versionMarkerOffset - 129), 76, true);
        for (std::size_t i = 0; i < input.size(); ++i)
            if (output[i] != input[i] && !allowed[i]) FAIL() << "changed byte at " << i;

        const auto reopened = loadRom(RawFile{output, {}});
        ASSERT_TRUE(reopened.ok());
        const ClockEntries& read = reopened->clocks.asRead;
        for (std::size_t i = 0; i < 10; ++i) {
            const bool followsHighPower = controls.uvdLinked && (i == 6 || i == 7);
            const int saved = controls.sliders[followsHighPower ? i - 2 : i];
            for (const std::size_t written : entriesOfSlider[i]) {
                const std::uint32_t raw = i % 2 ? read[written].ramClock : read[written].gpuClock;
                ASSERT_LE(std::abs(int(raw) - saved * 100), 255) << "slider " << i;
                ASSERT_EQ(read[written].vcore, millivolts[followsHighPower ? 2 : i / 2]) << i;
            }
        }
    }
    for (const int count : outcomes) EXPECT_GT(count, kImages / 20);  // every road was taken
}

}  // namespace
}  // namespace clockvane
