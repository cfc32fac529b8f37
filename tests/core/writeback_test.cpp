#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "edit/correction.h"
#include "edit/write_back.h"
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

// Ten distinct slider values within the ranges, and five distinct box texts.
SaveControls distinctControls(bool uvdLinked)
{
    SaveControls controls;
    controls.sliders = {301, 402, 503, 604, 705, 806, 907, 1008, 1109, 1210};
    controls.vcoreTexts = {"0,9", "1,02", "1,22", "1,327", "1,125"};
    controls.decimalSeparator = ',';
    controls.uvdLinked = uvdLinked;
    return controls;
}
constexpr std::array<std::uint16_t, kVcoreBoxCount> kDistinctMillivolts{900, 1020, 1220, 1327,
                                                                        1125};

std::uint32_t fieldAt(const Bytes& image, std::size_t offset, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(image.at(offset + i)) << (8 * i);
    return value;
}

// Where each slider's value lands in the image, relative to the signature offset P.
struct SliderPlaces {
    std::size_t slider;
    std::size_t linkedSource;
    std::vector<std::size_t> offsets;
};
const std::vector<SliderPlaces> kSliderPlaces{
    {0, 0, {12}},      {1, 1, {15}},      {2, 2, {28, 76}},        {3, 3, {31, 79}},
    {4, 4, {60, 108}}, {5, 5, {63, 111}}, {6, 4, {124, 140, 156}}, {7, 5, {127, 143, 159}},
    {8, 8, {44, 92}},  {9, 9, {47, 95}},
};

class ClockWriteBackPlaces : public ::testing::TestWithParam<bool> {};

TEST_P(ClockWriteBackPlaces, PutsEverySliderAtItsImageOffsets)
{
    const bool linked = GetParam();
    LoadedRom rom = loadBuilt();
    const SaveControls controls = distinctControls(linked);
    writeBackClocks(rom.clocks, controls);
    assembleOutputImage(rom.image, rom.clocks);

    const std::size_t p = rom.image.signatureOffset;
    std::set<std::size_t> written;
    for (const SliderPlaces& place : kSliderPlaces) {
        const std::size_t source = linked ? place.linkedSource : place.slider;
        const std::uint32_t expected =
            EncodeClock(static_cast<std::int16_t>(controls.sliders[source]));
        for (const std::size_t offset : place.offsets) {
            EXPECT_EQ(fieldAt(rom.image.outputImage, p + offset, 3), expected)
                << "slider " << place.slider;
            for (std::size_t i = 0; i < 3; ++i) written.insert(p + offset + i);
        }
    }
    // Every other byte, vcore fields and trailers included, is as it was read.
    for (std::size_t i = 0; i < rom.image.fileImage.size(); ++i) {
        if (!written.contains(i)) {
            ASSERT_EQ(rom.image.outputImage[i], rom.image.fileImage[i]) << "offset " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LinkedAndUnlinked, ClockWriteBackPlaces, ::testing::Bool());

TEST(ClockWriteBack, LinkedUvdTakesThe3DHighPowerClocksWhateverTheUvdSlidersShow)
{
    LoadedRom rom = loadBuilt();
    SaveControls controls = distinctControls(true);
    writeBackClocks(rom.clocks, controls);
    for (const std::size_t entry : {7u, 8u, 9u}) {
        EXPECT_EQ(rom.clocks.working[entry].gpuClock, EncodeClock(705));
        EXPECT_EQ(rom.clocks.working[entry].ramClock, EncodeClock(806));
    }
    controls.uvdLinked = false;
    writeBackClocks(rom.clocks, controls);
    for (const std::size_t entry : {7u, 8u, 9u}) {
        EXPECT_EQ(rom.clocks.working[entry].gpuClock, EncodeClock(907));
        EXPECT_EQ(rom.clocks.working[entry].ramClock, EncodeClock(1008));
    }
}

TEST(WriteBack, HiddenEntriesEqualTheirShownStateAfterASave)
{
    // The fixture's hidden entries 4-6 and 8-9 differ from every shown entry.
    LoadedRom rom = loadBuilt();
    ASSERT_NE(rom.clocks.working[4], rom.clocks.working[1]);
    ASSERT_NE(rom.clocks.working[9], rom.clocks.working[7]);
    for (const bool linked : {false, true}) {
        ClockSet clocks = rom.clocks;
        const SaveControls controls = distinctControls(linked);
        writeBackClocks(clocks, controls);
        writeBackVcores(clocks, readVcoreBoxes(controls).value(), linked);
        EXPECT_EQ(clocks.working[4], clocks.working[1]);
        EXPECT_EQ(clocks.working[5], clocks.working[2]);
        EXPECT_EQ(clocks.working[6], clocks.working[3]);
        EXPECT_EQ(clocks.working[8], clocks.working[7]);
        EXPECT_EQ(clocks.working[9], clocks.working[7]);
        // The as-read copy and the trailers stay as decoded.
        EXPECT_EQ(clocks.asRead, rom.clocks.asRead);
        EXPECT_EQ(clocks.trailers, rom.clocks.trailers);
    }
}

class VcoreWriteBackPlaces : public ::testing::TestWithParam<bool> {};

TEST_P(VcoreWriteBackPlaces, PutsEveryBoxAtItsImageOffsets)
{
    const bool linked = GetParam();
    LoadedRom rom = loadBuilt();
    SaveControls controls = distinctControls(linked);
    if (linked) controls.vcoreTexts[kUvdBox] = "";  // the window empties the UVD box while linked
    writeBackVcores(rom.clocks, readVcoreBoxes(controls).value(), linked);
    assembleOutputImage(rom.image, rom.clocks);

    const std::size_t uvdBox = linked ? k3DHighBox : kUvdBox;
    const std::vector<std::pair<std::size_t, std::size_t>> places{
        {18, 0}, {34, 1},  {50, 4},       {82, 1},       {98, 4},
        {66, 2}, {114, 2}, {130, uvdBox}, {146, uvdBox}, {162, uvdBox},
    };
    const std::size_t p = rom.image.signatureOffset;
    std::set<std::size_t> written;
    for (const auto& [offset, box] : places) {
        EXPECT_EQ(fieldAt(rom.image.outputImage, p + offset, 2), kDistinctMillivolts[box])
            << "offset P+" << offset;
        written.insert(p + offset);
        written.insert(p + offset + 1);
    }
    for (std::size_t i = 0; i < rom.image.fileImage.size(); ++i) {
        if (!written.contains(i)) {
            ASSERT_EQ(rom.image.outputImage[i], rom.image.fileImage[i]) << "offset " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LinkedAndUnlinked, VcoreWriteBackPlaces, ::testing::Bool());

TEST(VcoreWriteBack, TheFirstBoxTheSaveReadsWithoutANumberIsReported)
{
    struct Case {
        bool linked;
        std::size_t emptyBox;
        std::optional<std::size_t> reported;
    };
    for (const Case& c :
         {Case{false, 3, 3}, Case{false, 4, 4}, Case{true, 0, 0}, Case{true, 3, std::nullopt}}) {
        SaveControls controls = distinctControls(c.linked);
        controls.vcoreTexts[c.emptyBox] = "";
        const auto read = readVcoreBoxes(controls);
        EXPECT_EQ(read.ok() ? std::nullopt : std::optional(read.error().box), c.reported)
            << "box " << c.emptyBox;
    }
}

TEST(VcoreWriteBack, TheSaveReadsTheUvdBoxOnlyWhileUnlinked)
{
    for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
        EXPECT_TRUE(saveReadsBox(box, false)) << box;
        EXPECT_EQ(saveReadsBox(box, true), box != kUvdBox) << box;
    }
    EXPECT_FALSE(saveReadsBox(kVcoreBoxCount, false));
}

}  // namespace
}  // namespace clockvane
