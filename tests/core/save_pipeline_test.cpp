#include <gtest/gtest.h>

#include <string>

#include "checksum/save_pipeline.h"
#include "checksum/sums.h"
#include "clocks/clock_limits.h"
#include "clocks/voltage_text.h"
#include "fixtures/image_builder.h"
#include "rom/rom_loader.h"
#include "writeback/encode.h"

namespace clockvane {
namespace {

LoadedRom loadBuilt(const fixtures::ImageRecipe& recipe)
{
    auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
    EXPECT_TRUE(loaded.ok());
    return std::move(loaded).value();
}

TEST(SavePipeline, AnUntouchedSaveIsBalancedByTheCompensationBytesWithoutAsking)
{
    LoadedRom rom = loadBuilt({});
    bool asked = false;
    const auto result = runSavePipeline({rom.image, rom.clocks, rom.loadedSum},
                                        controlsAsOpened(rom.clocks, true, ','), [&] {
                                            asked = true;
                                            return true;
                                        });
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->outcome, SaveOutcome::CorrectedByCompensation);
    EXPECT_FALSE(result->classicQuestionAsked);
    EXPECT_FALSE(asked);
    EXPECT_EQ(sum16(rom.image.outputImage), rom.loadedSum);
    EXPECT_NE(rom.image.outputImage, rom.image.fileImage);  // the clock fields were rewritten
}

// Clocks at 655.36 MHz raised to 1100 / 1650 MHz move the clock-field sum by far more than
// the compensation bytes can take back, yet by less than the classic area can.
fixtures::ImageRecipe lowClockRecipe()
{
    fixtures::ImageRecipe recipe;
    for (ClockEntry& entry : recipe.entries) entry = {0x010000, 0x010000, 1000};
    return recipe;
}
SaveControls highClocks()
{
    SaveControls controls;
    for (std::size_t i = 0; i < kSliderCount; ++i)
        controls.sliders[i] = isGpuSlider(i) ? 1100 : 1650;
    controls.vcoreTexts = {"1", "1", "1", "1", "1"};
    controls.uvdLinked = false;
    return controls;
}

TEST(SavePipeline, AskedAndAnsweredNoTheImageIsAssembledButNotCorrected)
{
    LoadedRom rom = loadBuilt(lowClockRecipe());
    for (const bool answerMissing : {false, true}) {
        std::function<bool()> ask = [] { return false; };
        if (answerMissing) ask = nullptr;
        const auto result =
            runSavePipeline({rom.image, rom.clocks, rom.loadedSum}, highClocks(), ask);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->outcome, SaveOutcome::NotCorrected);
        EXPECT_TRUE(result->classicQuestionAsked);
        EXPECT_NE(sum16(rom.image.outputImage), rom.loadedSum);
        // The compensation bytes stay where the write-back put them.
        EXPECT_EQ(rom.clocks.working[0].gpuClock, EncodeClock(1100));
        EXPECT_EQ(rom.image.head, Bytes(rom.image.fileImage.begin(),
                                        rom.image.fileImage.begin() +
                                            static_cast<std::ptrdiff_t>(rom.image.head.size())));
    }
}

TEST(SavePipeline, AskedAndAnsweredYesTheClassicCorrectionBalancesTheImage)
{
    LoadedRom rom = loadBuilt(lowClockRecipe());
    const auto result =
        runSavePipeline({rom.image, rom.clocks, rom.loadedSum}, highClocks(), [] { return true; });
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->outcome, SaveOutcome::CorrectedByClassic);
    EXPECT_TRUE(result->classicQuestionAsked);
    EXPECT_EQ(sum16(rom.image.outputImage), rom.loadedSum);
}

TEST(SavePipeline, ABoxWithoutANumberChangesNothingAndNamesTheBox)
{
    LoadedRom rom = loadBuilt({});
    const LoadedRom before = rom;
    SaveControls controls = controlsAsOpened(rom.clocks, false, ',');
    controls.sliders.fill(1000);
    controls.vcoreTexts[kUvdBox] = "";
    bool asked = false;
    const auto result = runSavePipeline({rom.image, rom.clocks, rom.loadedSum}, controls, [&] {
        asked = true;
        return true;
    });
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().box, kUvdBox);
    EXPECT_FALSE(asked);
    EXPECT_EQ(rom.clocks.working, before.clocks.working);
    EXPECT_TRUE(rom.image.outputImage.empty());
}

TEST(BytesToWrite, IsTheOutputImageFollowedByWhatLayBeyondIt)
{
    RomImage image;
    image.outputImage = {0x55, 0xAA, 0x0D};
    image.beyondImage = {0x0A, 0xFF};
    EXPECT_EQ(bytesToWrite(image), (Bytes{0x55, 0xAA, 0x0D, 0x0A, 0xFF}));
    image.beyondImage.clear();
    EXPECT_EQ(bytesToWrite(image), (Bytes{0x55, 0xAA, 0x0D}));  // no line end added
}

struct NameCase {
    std::string opened;
    std::string proposed;
    friend void PrintTo(const NameCase& c, std::ostream* out) { *out << c.opened; }
};

class DefaultSaveName : public ::testing::TestWithParam<NameCase> {};

TEST_P(DefaultSaveName, PutsModFourCharactersBeforeTheEnd)
{
    EXPECT_EQ(defaultSaveName(GetParam().opened), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DefaultSaveName,
    ::testing::Values(NameCase{"C:\\bios\\hd3870.rom", "C:\\bios\\hd3870_mod.rom"},
                      NameCase{"C:\\roms\\hd3850.bin", "C:\\roms\\hd3850_mod.bin"},
                      NameCase{"/home/user/card.rom2", "/home/user/card._modrom2"},
                      // Characters, not bytes: "ö" and "€" are two and three bytes in UTF-8.
                      NameCase{"/home/jörg/Grafikkarte.röm", "/home/jörg/Grafikkarte_mod.röm"},
                      NameCase{"karte.€€€", "karte_mod.€€€"}, NameCase{"x.ro", "_modx.ro"},
                      // Too short to have an extension: the suffix goes last.
                      NameCase{"rom", "rom_mod"}));

}  // namespace
}  // namespace clockvane
