// Generated images of many shapes saved with random controls: a save touches only the value
// fields (and the classic area when the user agreed), keeps the sum when it says so, and the
// image reopens to the values that were saved.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bytes/sums.h"
#include "edit/save_pipeline.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"

namespace clockvane {
namespace {

TEST(SaveProperty, KeepsTheSumTouchesOnlyItsFieldsAndReopensToTheSavedValues)
{
    std::mt19937 random(20071210);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // Written out by hand from the card's table: the entries each slider and box writes.
    const std::vector<std::vector<std::size_t>> entriesOfSlider{
        {0}, {0}, {1, 4}, {1, 4}, {3, 6}, {3, 6}, {7, 8, 9}, {7, 8, 9}, {2, 5}, {2, 5}};
    const std::vector<std::vector<std::size_t>> entriesOfBox{
        {0}, {1, 4}, {3, 6}, {7, 8, 9}, {2, 5}};
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
        recipe.deviceId = std::array{"9501", "9505", "950F"}[pick(0, 2)];
        recipe.fillSeed = static_cast<std::uint32_t>(random());
        if (pick(0, 9) == 0) recipe.versionMarkerOffset.reset();  // no classic correction
        // A third of the tables hold near-zero fields: the save must then ask.
        const bool nearZero = pick(0, 2) == 0;
        for (ClockEntry& entry : recipe.entries) {
            entry.gpuClock = std::uint32_t(nearZero ? pick(0, 0xFF) : pick(20'000, 200'000));
            entry.ramClock = std::uint32_t(nearZero ? pick(0, 0xFF) : pick(20'000, 200'000));
            entry.vcore = std::uint16_t(nearZero ? pick(0, 0xFF) : pick(800, 1400));
        }
        auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
        ASSERT_TRUE(loaded.ok());
        LoadedRom rom = std::move(loaded).value();

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
            const int saved =
                controls.sliders[controls.uvdLinked && (i == 6 || i == 7) ? i - 2 : i];
            for (const std::size_t written : entriesOfSlider[i]) {
                const std::uint32_t raw = i % 2 ? read[written].ramClock : read[written].gpuClock;
                ASSERT_LE(std::abs(int(raw) - saved * 100), 255) << "slider " << i;
            }
        }
        for (std::size_t box = 0; box < 5; ++box)
            for (const std::size_t written : entriesOfBox[box])
                ASSERT_EQ(read[written].vcore,
                          millivolts[controls.uvdLinked && box == 3 ? 2 : box]);
    }
    for (const int count : outcomes) EXPECT_GT(count, kImages / 20);  // every road was taken
}

}  // namespace
}  // namespace clockvane
