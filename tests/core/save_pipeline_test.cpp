#include <gtest/gtest.h>

#include <string>

#include "bytes/sums.h"
#include "edit/save_pipeline.h"
#include "files/save_name.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/encode.h"
#include "layout/voltage_text.h"

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
    FixedClassicAnswer yes(true);
    const auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum,
                                        controlsAsOpened(rom.clocks, true, ','), yes);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->outcome, SaveOutcome::CorrectedByCompensation);
    EXPECT_FALSE(result->classicQuestionAsked);
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
SaveControls clocksAt(int gpu, int ram)
{
    SaveControls controls;
    for (std::size_t i = 0; i < kSliderCount; ++i) controls.sliders[i] = isGpuSlider(i) ? gpu : ram;
    controls.vcoreTexts = {"1", "1", "1", "1", "1"};
    controls.uvdLinked = false;
    return controls;
}
SaveControls highClocks() { return clocksAt(1100, 1650); }
// Within CorrectCRC's reach from the low-clock recipe's 655.36 MHz.
SaveControls nearClocks() { return clocksAt(656, 656); }

TEST(SavePipeline, TheClassicQuestionDecidesWhetherTheImageIsCorrected)
{
    for (const bool yes : {false, true}) {
        LoadedRom rom = loadBuilt(lowClockRecipe());
        FixedClassicAnswer answer(yes);
        const auto result =
            runSavePipeline(rom.image, rom.clocks, rom.loadedSum, highClocks(), answer);
        ASSERT_TRUE(result.ok());
        EXPECT_TRUE(result->classicQuestionAsked);
        EXPECT_EQ(result->outcome,
                  yes ? SaveOutcome::CorrectedByClassic : SaveOutcome::NotCorrected);
        EXPECT_EQ(sum16(rom.image.outputImage) == rom.loadedSum, yes);
        // The compensation bytes stay where the write-back put them.
        EXPECT_EQ(rom.clocks.working[0].gpuClock, EncodeClock(1100));
    }
}

// A second save in the same session writes what one save of the same controls writes from
// the freshly opened file, whatever the first save did: the classic area of an earlier save
// never leaks into a later one.
struct RepeatedSaveCase {
    const char* name;
    std::vector<std::pair<SaveControls, bool>> saves;  // controls and the classic answer
};

TEST(SavePipeline, EverySaveBalancesAgainstTheFileAsOpened)
{
    const std::vector<RepeatedSaveCase> cases{
        {"classic then compensation", {{highClocks(), true}, {nearClocks(), false}}},
        {"compensation then classic", {{nearClocks(), false}, {highClocks(), true}}},
        {"no then yes", {{highClocks(), false}, {highClocks(), true}}},
        {"classic twice", {{highClocks(), true}, {clocksAt(1000, 1500), true}}},
    };
    for (const RepeatedSaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedRom session = loadBuilt(lowClockRecipe());
        for (const auto& [controls, answer] : c.saves) {
            FixedClassicAnswer sessionAnswer(answer);
            const auto again = runSavePipeline(session.image, session.clocks, session.loadedSum,
                                               controls, sessionAnswer);
            LoadedRom fresh = loadBuilt(lowClockRecipe());
            FixedClassicAnswer freshAnswer(answer);
            const auto once =
                runSavePipeline(fresh.image, fresh.clocks, fresh.loadedSum, controls, freshAnswer);
            ASSERT_TRUE(again.ok() && once.ok());
            EXPECT_EQ(bytesToWrite(session.image), bytesToWrite(fresh.image));
            EXPECT_EQ(again->outcome, once->outcome);
            EXPECT_EQ(again->corrected(), sum16(session.image.outputImage) == session.loadedSum);
        }
    }
}

TEST(SavePipeline, ABoxWithoutANumberChangesNothingAndNamesTheBox)
{
    LoadedRom rom = loadBuilt({});
    const LoadedRom before = rom;
    SaveControls controls = controlsAsOpened(rom.clocks, false, ',');
    controls.sliders.fill(1000);
    controls.vcoreTexts[kUvdBox] = "";
    FixedClassicAnswer yes(true);
    const auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, yes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().box, kUvdBox);
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

TEST_P(DefaultSaveName, PutsModFourCharactersBeforeTheEndOfTheFileName)
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
                      NameCase{"rom", "rom_mod"}, NameCase{"v1", "v1_mod"},
                      // "_mod" never lands in the folder part of the path.
                      NameCase{"dumps/v1", "dumps/v1_mod"}, NameCase{"a/b/c", "a/b/c_mod"},
                      NameCase{"/x", "/x_mod"}, NameCase{"/proc/self/fd/7", "/proc/self/fd/7_mod"},
                      NameCase{"C:\\bios\\v1", "C:\\bios\\v1_mod"},
                      NameCase{"dumps/ä€", "dumps/ä€_mod"}));

}  // namespace
}  // namespace clockvane
