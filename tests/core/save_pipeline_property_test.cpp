#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "bytes/sums.h"
#include "edit/correction.h"
#include "edit/save_pipeline.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"

namespace clockvane {
namespace {

// Generated images of many shapes, saved with random controls: whatever the save does, it
// must touch only the clock fields (and the classic area when the user agreed), keep the sum
// when it says so, and give back on reopening the values that were saved.
class SaveProperty {
public:
    explicit SaveProperty(std::uint32_t seed) : random_(seed) {}

    fixtures::ImageRecipe image()
    {
        fixtures::ImageRecipe recipe;
        const int shape = pick(0, 39);
        recipe.length = shape == 0   ? 64 * 1024
                        : shape == 1 ? 100'000
                                     : static_cast<std::size_t>(pick(1536, 4096));
        // Past the identification texts at the start, short of the 50,000-byte limit and of
        // the option ROM's checksum byte at the end.
        const std::size_t lastSignature =
            std::min<std::size_t>(49'988, recipe.length - kClockBlockSize - 12 - 600);
        recipe.signatureOffset =
            static_cast<std::size_t>(pick(0x200, static_cast<int>(lastSignature)));
        recipe.deviceId = std::array{"9501", "9505", "950F"}[pick(0, 2)];
        recipe.fillSeed = static_cast<std::uint32_t>(random_());
        if (pick(0, 9) == 0)
            recipe.versionMarkerOffset.reset();  // the classic correction cannot run
        // A third of the tables hold near-zero fields: every save then raises the clock-field
        // sum by more than the compensation bytes can take back, and the user is asked.
        const bool nearZero = pick(0, 2) == 0;
        for (ClockEntry& entry : recipe.entries) {
            entry.gpuClock =
                static_cast<std::uint32_t>(nearZero ? pick(0, 0xFF) : pick(20'000, 200'000));
            entry.ramClock =
                static_cast<std::uint32_t>(nearZero ? pick(0, 0xFF) : pick(20'000, 200'000));
            entry.vcore = static_cast<std::uint16_t>(nearZero ? pick(0, 0xFF) : pick(800, 1400));
        }
        return recipe;
    }

    // Half the time the controls stay near the opened values: small edits the compensation
    // bytes balance.
    SaveControls controls(const LoadedRom& rom, std::array<int, kVcoreBoxCount>& millivolts)
    {
        SaveControls controls;
        const bool nearOpened = pick(0, 1) == 0;
        for (std::size_t i = 0; i < kSliderCount; ++i) {
            const SliderRange range = sliderRange(i);
            const PowerState& state = kPowerStates[powerStateOfSlider(i)];
            const ClockEntry& entry = rom.clocks.asRead[state.entry()];
            const int opened =
                checkClockRange(i, isGpuSlider(i) ? entry.gpuClock : entry.ramClock).sliderValue;
            const int value = nearOpened ? opened + pick(-20, 20) : pick(range.lower, range.upper);
            controls.sliders[i] = std::clamp(value, range.lower, range.upper);
        }
        controls.decimalSeparator = pick(0, 1) == 0 ? ',' : '.';
        controls.uvdLinked = pick(0, 1) == 0;
        for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
            millivolts[box] = pick(900, 1327);
            controls.vcoreTexts[box] = formatMillivolts(millivolts[box], controls.decimalSeparator);
        }
        if (controls.uvdLinked && pick(0, 1) == 0) controls.vcoreTexts[kUvdBox] = "";
        return controls;
    }

    bool answer() { return pick(0, 1) == 0; }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::mt19937 random_;
};

// The bytes a save may change: the eight value bytes of each of the ten entries.
std::vector<bool> valueFieldBytes(std::size_t imageLength, std::size_t signatureOffset)
{
    std::vector<bool> bytes(imageLength, false);
    for (std::size_t j = 0; j < kEntryCount; ++j) {
        const std::size_t entry = signatureOffset + 12 + entryOffset(j);
        for (std::size_t k = 0; k < kTrailerField.offset; ++k) bytes[entry + k] = true;
    }
    return bytes;
}

TEST(SaveProperty, KeepsTheSumTouchesOnlyItsFieldsAndReopensToTheSavedValues)
{
    constexpr int kImages = 2000;
    SaveProperty generate(20071210);
    std::map<SaveOutcome, int> outcomes;

    for (int n = 0; n < kImages; ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        const fixtures::ImageRecipe recipe = generate.image();
        auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
        ASSERT_TRUE(loaded.ok());
        LoadedRom rom = std::move(loaded).value();
        std::array<int, kVcoreBoxCount> millivolts{};
        const SaveControls controls = generate.controls(rom, millivolts);
        const bool yes = generate.answer();

        FixedClassicAnswer answer(yes);
        const auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, answer);
        ASSERT_TRUE(result.ok());
        ++outcomes[result->outcome];
        const Bytes& input = rom.image.fileImage;
        const Bytes output = bytesToWrite(rom.image);
        ASSERT_EQ(output.size(), input.size());
        ASSERT_EQ(result->corrected(), sum16(output) == sum16(input));

        std::vector<bool> allowed = valueFieldBytes(input.size(), rom.image.signatureOffset);
        if (result->classicQuestionAsked && yes && recipe.versionMarkerOffset) {
            const std::size_t areaStart =
                *recipe.versionMarkerOffset - kClassicAreaStartBeforeMarker;
            for (std::size_t i = 0; i < kClassicAreaSize; ++i) allowed[areaStart + i] = true;
        }
        for (std::size_t i = 0; i < input.size(); ++i) {
            if (output[i] != input[i] && !allowed[i]) FAIL() << "changed byte at " << i;
        }

        auto reopened = loadRom(RawFile{output, {}});
        ASSERT_TRUE(reopened.ok());
        // Written out by hand from the card's table, not taken from the editor's own.
        static const std::array<std::vector<std::size_t>, kSliderCount> kEntriesOfSlider{
            {{0}, {0}, {1, 4}, {1, 4}, {3, 6}, {3, 6}, {7, 8, 9}, {7, 8, 9}, {2, 5}, {2, 5}}};
        static const std::array<std::vector<std::size_t>, kVcoreBoxCount> kEntriesOfBox{
            {{0}, {1, 4}, {3, 6}, {7, 8, 9}, {2, 5}}};
        const ClockEntries& read = reopened->clocks.asRead;
        for (std::size_t i = 0; i < kSliderCount; ++i) {
            const bool followsHighPower = controls.uvdLinked && (i == 6 || i == 7);
            const int saved = controls.sliders[followsHighPower ? i - 2 : i];
            for (const std::size_t written : kEntriesOfSlider[i]) {
                const ClockEntry& entry = read[written];
                const std::uint32_t raw = i % 2 == 0 ? entry.gpuClock : entry.ramClock;
                ASSERT_LE(std::abs(static_cast<int>(raw) - saved * 100), 255) << "slider " << i;
                ASSERT_LE(std::abs(checkClockRange(i, raw).sliderValue - saved), 3)
                    << "slider " << i;
            }
        }
        for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
            const std::size_t source = controls.uvdLinked && box == 3 ? 2 : box;
            for (const std::size_t written : kEntriesOfBox[box])
                ASSERT_EQ(read[written].vcore, millivolts[source]) << "box " << box;
        }
    }
    // Every road through the save was taken many times.
    EXPECT_GT(outcomes[SaveOutcome::CorrectedByCompensation], kImages / 20);
    EXPECT_GT(outcomes[SaveOutcome::CorrectedByClassic], kImages / 20);
    EXPECT_GT(outcomes[SaveOutcome::NotCorrected], kImages / 20);
}

}  // namespace
}  // namespace clockvane
