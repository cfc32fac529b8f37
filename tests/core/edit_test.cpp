// Saving: the write-back places, CorrectCRC, the classic correction, the save pipeline and the
// proposed save name.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bytes/sums.h"
#include "edit/correction.h"
#include "edit/save_pipeline.h"
#include "files/save_name.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/encode.h"

namespace clockvane {
namespace {

LoadedRom loadBuilt(const fixtures::ImageRecipe& recipe = {})
{
    auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
    EXPECT_TRUE(loaded.ok());
    return std::move(loaded).value();
}

void putLE(Bytes& bytes, std::size_t offset, std::size_t width, std::uint32_t value)
{
    for (std::size_t i = 0; i < width; ++i) bytes.at(offset + i) = std::uint8_t(value >> (8 * i));
}

TEST(WriteBack, PutsEverySliderAndBoxAtItsImageOffsetsAndNothingElse)
{
    const int sliders[10] = {301, 402, 503, 604, 705, 806, 907, 1008, 1109, 1210};
    const std::uint16_t mv[5] = {900, 1020, 1220, 1327, 1125};
    // Offsets after the signature P: slider -> GPU/RAM fields; box -> vcore fields. The UVD
    // sliders 6/7 and box 3 follow sliders 4/5 and box 2 while linked.
    const std::vector<std::vector<std::size_t>> clockPlaces{
        {12},      {15},      {28, 76},        {31, 79},
        {60, 108}, {63, 111}, {124, 140, 156}, {127, 143, 159},
        {44, 92},  {47, 95}};
    const std::vector<std::vector<std::size_t>> vcorePlaces{
        {18}, {34, 82}, {66, 114}, {130, 146, 162}, {50, 98}};
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "linked" : "unlinked");
        LoadedRom rom = loadBuilt();
        SaveControls controls;
        std::copy(std::begin(sliders), std::end(sliders), controls.sliders.begin());
        controls.vcoreTexts = {"0,9", "1,02", "1,22", linked ? "" : "1,327", "1,125"};
        controls.decimalSeparator = ',';
        controls.uvdLinked = linked;
        writeBackClocks(rom.clocks, controls);
        writeBackVcores(rom.clocks, readVcoreBoxes(controls).value(), linked);
        assembleOutputImage(rom.image, rom.clocks);

        Bytes expected = rom.image.fileImage;
        const std::size_t p = rom.image.signatureOffset;
        for (std::size_t s = 0; s < 10; ++s) {
            const std::size_t from = linked && (s == 6 || s == 7) ? s - 2 : s;
            for (const std::size_t at : clockPlaces[s])
                putLE(expected, p + at, 3, EncodeClock(std::int16_t(sliders[from])));
        }
        for (std::size_t box = 0; box < 5; ++box)
            for (const std::size_t at : vcorePlaces[box])
                putLE(expected, p + at, 2, mv[linked && box == 3 ? 2 : box]);
        EXPECT_EQ(rom.image.outputImage, expected);
        EXPECT_EQ(rom.clocks.asRead, loadBuilt().clocks.asRead);
    }
}

TEST(WriteBack, TheFirstBoxTheSaveReadsWithoutANumberIsReported)
{
    const std::tuple<bool, std::size_t, std::optional<std::size_t>> cases[] = {
        {false, 3, 3}, {false, 4, 4}, {true, 0, 0}, {true, 3, std::nullopt}};
    for (const auto& [linked, empty, reported] : cases) {
        SaveControls controls;
        controls.vcoreTexts = {"1", "1", "1", "1", "1"};
        controls.vcoreTexts[empty] = "";
        controls.uvdLinked = linked;
        const auto read = readVcoreBoxes(controls);
        EXPECT_EQ(read.ok() ? std::nullopt : std::optional(read.error().box), reported) << empty;
    }
}

// A working copy as the write-back leaves it (compensation bytes 0x7F, other value bytes 0x80)
// and an as-read copy whose clock-field sum is `workingMinusRead` lower.
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
    // A compensation byte the write-back did not set: the attempt fails and nothing is kept.
    ClockSet clocks = clocksWithDifference(1);
    clocks.working[5].ramClock = clocks.asRead[5].ramClock = 0x808010;
    const ClockSet before = clocks;
    EXPECT_FALSE(CorrectCRC(clocks));
    EXPECT_EQ(clocks.working, before.working);
}

// 1,200 bytes of head (a marker in it), the clock block and a tail of 300 bytes.
RomImage classicImage(std::optional<std::size_t> marker)
{
    RomImage image;
    Bytes& bytes = image.fileImage;
    for (std::size_t i = 0; i < 1200; ++i) bytes.push_back(static_cast<std::uint8_t>(0x10 + i % 7));
    if (marker) fixtures::putText(bytes, *marker, "ATI VER");
    bytes.insert(bytes.end(), 152, 0x11);
    bytes.insert(bytes.end(), 300, 0x02);
    image.signatureOffset = 1188;
    image.outputImage = bytes;
    return image;
}

TEST(ClassicCorrection, RewritesThe76BytesEnding54BeforeTheMarkerOrNothing)
{
    const auto area = [](std::initializer_list<std::pair<std::size_t, std::uint8_t>> runs) {
        Bytes bytes;
        for (const auto& [count, value] : runs) bytes.insert(bytes.end(), count, value);
        bytes.resize(76, 0x7F);
        return bytes;
    };
    // Marker, loaded sum minus the sum once the area holds 0x7F, the area (empty: unchanged).
    const std::tuple<std::optional<std::size_t>, int, Bytes> cases[] = {
        {400, 300, area({{2, 0xFE}, {1, 0xAD}})},
        {400, -100, area({{1, 0x1B}})},
        {400, 0, area({})},
        {400, 9651, area({{75, 0xFE}, {1, 0xFD}})},
        {400, -9651, area({{75, 0x00}, {1, 0x01}})},
        {400, 9652, {}},
        {400, -9652, {}},
        {129, 300, area({{2, 0xFE}, {1, 0xAD}})},
        {128, 300, {}},
        {993, -100, area({{1, 0x1B}})},
        {994, -100, {}},
        {std::nullopt, 300, {}}};
    for (const auto& [marker, difference, expectedArea] : cases) {
        SCOPED_TRACE(std::to_string(marker.value_or(0)) + " " + std::to_string(difference));
        RomImage image = classicImage(marker);
        const RomImage before = image;
        Bytes filled = image.outputImage;
        if (marker && *marker >= 129) std::fill_n(filled.begin() + long(*marker - 129), 76, 0x7F);
        const auto loaded = static_cast<std::uint16_t>(sum16(filled) + difference);
        EXPECT_EQ(ChecksummenKorrekturFinal(image, loaded), !expectedArea.empty());
        EXPECT_EQ(image.fileImage, before.fileImage);
        Bytes expected = before.outputImage;
        if (!expectedArea.empty())
            std::copy(expectedArea.begin(), expectedArea.end(),
                      expected.begin() + long(*marker - 129));
        EXPECT_EQ(image.outputImage, expected);
    }
    RomImage balanced = classicImage(std::nullopt);
    EXPECT_TRUE(ChecksummenKorrekturFinal(balanced, sum16(balanced.outputImage)));
}

// Clocks at 655.36 MHz raised to 1100 / 1650 MHz move the clock-field sum beyond the
// compensation bytes' reach but within the classic area's.
fixtures::ImageRecipe lowClockRecipe()
{
    fixtures::ImageRecipe recipe;
    for (ClockEntry& entry : recipe.entries) entry = {0x010000, 0x010000, 1000};
    return recipe;
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedRom session = loadBuilt(lowClockRecipe());
        for (const auto& [controls, answer, outcome] : c.saves) {
            FixedClassicAnswer sessionAnswer(answer), freshAnswer(answer);
            const auto again = runSavePipeline(session.image, session.clocks, session.loadedSum,
                                               controls, sessionAnswer);
            LoadedRom fresh = loadBuilt(lowClockRecipe());
            ASSERT_TRUE(
                runSavePipeline(fresh.image, fresh.clocks, fresh.loadedSum, controls, freshAnswer)
                    .ok());
            ASSERT_TRUE(again.ok());
            EXPECT_EQ(bytesToWrite(session.image), bytesToWrite(fresh.image));
            EXPECT_EQ(again->outcome, outcome);
            EXPECT_EQ(again->classicQuestionAsked, outcome != K);
            EXPECT_EQ(again->corrected(), sum16(session.image.outputImage) == session.loadedSum);
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

}  // namespace
}  // namespace clockvane
