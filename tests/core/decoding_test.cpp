// Decoding the 152-byte clock block: fields, image offsets, slider values and the round trip.

#include <gtest/gtest.h>

#include <random>

#include "bytes/byte_search.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/clock_set.h"

namespace clockvane {
namespace {

using fixtures::buildImage;
using fixtures::ImageRecipe;

TEST(ClockDecoding, ThreeLittleEndianBytesInUnitsOf10kHz)
{
    Bytes block(kClockBlockSize, 0);
    block[0] = 0xEC;
    block[1] = 0x34;
    block[2] = 0x01;
    const auto clocks = decodeClockBlock(block);
    ASSERT_TRUE(clocks.has_value());
    EXPECT_EQ(clocks->working[0].gpuClock, 79084u);
    EXPECT_DOUBLE_EQ(mhzFromRaw(clocks->working[0].gpuClock), 790.84);
    EXPECT_EQ(sliderValueFromRaw(clocks->working[0].gpuClock), 791);
}

TEST(ClockDecoding, EntryNineEndsTheBlockWithoutATrailer)
{
    Bytes block(kClockBlockSize, 0);
    const Bytes entry9{0x10, 0x27, 0x00, 0x20, 0x4E, 0x00, 0xB0, 0x04};  // 100, 200 MHz, 1.2 V
    std::copy(entry9.begin(), entry9.end(), block.end() - 8);
    const auto clocks = decodeClockBlock(block);
    ASSERT_TRUE(clocks.has_value());
    EXPECT_EQ(clocks->working[9], (ClockEntry{10000, 20000, 1200}));
    EXPECT_EQ(clocks->working[8], ClockEntry{});
    EXPECT_EQ(clocks->trailers[8], Trailer{});
}

TEST(ClockDecoding, RefusesABlockOfAnotherSize)
{
    EXPECT_FALSE(decodeClockBlock(Bytes(151, 0)).has_value());
    EXPECT_FALSE(decodeClockBlock(Bytes(153, 0)).has_value());
    EXPECT_FALSE(decodeClockBlock(Bytes{}).has_value());
}

// --- Slider values: whole MHz, halves to the even neighbour --------------------------------

struct RoundingCase {
    std::uint32_t raw;
    int slider;
};

class SliderRounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(SliderRounding, RoundsHalvesToEven)
{
    EXPECT_EQ(sliderValueFromRaw(GetParam().raw), GetParam().slider);
}

INSTANTIATE_TEST_SUITE_P(Table, SliderRounding,
                         ::testing::Values(RoundingCase{77750, 778}, RoundingCase{77850, 778},
                                           RoundingCase{77650, 776}, RoundingCase{77549, 775},
                                           RoundingCase{77551, 776}, RoundingCase{79084, 791},
                                           RoundingCase{77500, 775}, RoundingCase{0, 0},
                                           RoundingCase{50, 0}, RoundingCase{150, 2},
                                           RoundingCase{169950, 1700},
                                           RoundingCase{0xFFFFFF, 167772}));

// --- Where each shown field lies in the image ----------------------------------------------

// Offsets relative to the signature, as the image format fixes them.
struct PlaceCase {
    std::size_t state;
    std::size_t gpuOffset;  // the RAM clock follows at +3, the VCore at +6
};

class FieldPlaces : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(FieldPlaces, ShownStateReadsItsOwnImageBytes)
{
    ImageRecipe recipe;
    // Distinct values in every field, so a field read from a wrong place cannot pass.
    for (std::size_t j = 0; j < kEntryCount; ++j) {
        recipe.entries[j] = {static_cast<std::uint32_t>(0x0A1000 + j * 0x111),
                             static_cast<std::uint32_t>(0x0B2000 + j * 0x111),
                             static_cast<std::uint16_t>(0x0C30 + j)};
    }
    const auto loaded = loadRom(RawFile{buildImage(recipe), {}});
    ASSERT_TRUE(loaded.ok());
    const ByteView image{loaded->image.fileImage};
    const std::size_t p = loaded->image.signatureOffset;
    const ClockEntry& shown = loaded->clocks.working[kPowerStates[GetParam().state].entry()];
    EXPECT_EQ(readLE(image, p + GetParam().gpuOffset, 3), shown.gpuClock);
    EXPECT_EQ(readLE(image, p + GetParam().gpuOffset + 3, 3), shown.ramClock);
    EXPECT_EQ(readLE(image, p + GetParam().gpuOffset + 6, 2), shown.vcore);
}

INSTANTIATE_TEST_SUITE_P(Table, FieldPlaces,
                         ::testing::Values(PlaceCase{kBootUp, 12}, PlaceCase{k2D, 28},
                                           PlaceCase{k3DLow, 44}, PlaceCase{k3DHigh, 60},
                                           PlaceCase{kUvd, 124}));

TEST(FieldPlaces, SignatureAt0x5A10PutsBootUpGpuAndUvdRamAtTheirBytes)
{
    ImageRecipe recipe;
    recipe.signatureOffset = 0x5A10;
    Bytes bytes = buildImage(recipe);
    fixtures::putBytes(bytes, 0x5A1C, Bytes{0xEC, 0x34, 0x01});  // BootUp GPU 790.84 MHz
    fixtures::putBytes(bytes, 0x5A8F, Bytes{0xA0, 0x86, 0x01});  // UVD RAM 1000 MHz
    const auto loaded = loadRom(RawFile{bytes, {}});
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->clocks.working[kPowerStates[kBootUp].entry()].gpuClock, 79084u);
    EXPECT_EQ(loaded->clocks.working[kPowerStates[kUvd].entry()].ramClock, 100000u);
    EXPECT_EQ(loaded->image.clockBlockOffset(), 0x5A1Cu);
}

// Sliders and boxes of each shown state, as the window lays them out.
TEST(PowerStates, ControlsOfEachShownState)
{
    struct Controls {
        std::size_t entry, gpuSlider, ramSlider, box;
    };
    const Controls expected[] = {
        {0, 0, 1, 0}, {1, 2, 3, 1}, {2, 8, 9, 4}, {3, 4, 5, 2}, {7, 6, 7, 3}};
    for (std::size_t s = 0; s < kPowerStateCount; ++s) {
        EXPECT_EQ(kPowerStates[s].entry(), expected[s].entry) << s;
        EXPECT_EQ(kPowerStates[s].gpuSlider, expected[s].gpuSlider) << s;
        EXPECT_EQ(kPowerStates[s].ramSlider, expected[s].ramSlider) << s;
        EXPECT_EQ(kPowerStates[s].vcoreBox, expected[s].box) << s;
        EXPECT_EQ(powerStateOfSlider(expected[s].gpuSlider), s);
        EXPECT_EQ(powerStateOfSlider(expected[s].ramSlider), s);
        EXPECT_EQ(powerStateOfBox(expected[s].box), s);
    }
}

// --- Round trip ----------------------------------------------------------------------------

TEST(ClockDecoding, EncodingADecodedBlockGivesItsBytesBack)
{
    std::mt19937 generator(0x3870);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        Bytes block(kClockBlockSize);
        for (auto& b : block) b = static_cast<std::uint8_t>(byte(generator));
        const auto clocks = decodeClockBlock(block);
        ASSERT_TRUE(clocks.has_value());
        EXPECT_EQ(clocks->asRead, clocks->working);
        ASSERT_EQ(encodeClockBlock(*clocks), block) << "round " << round;
    }
}

TEST(ClockDecoding, EncodingTakesTheWorkingValues)
{
    const auto loaded = loadRom(RawFile{buildImage(ImageRecipe{}), {}});
    ASSERT_TRUE(loaded.ok());
    ClockSet clocks = loaded->clocks;
    clocks.working[3].gpuClock = 0x0186A0;  // 1000 MHz
    clocks.working[3].vcore = 0x052F;       // 1.327 V
    Bytes expected(loaded->image.clockBlock().begin(), loaded->image.clockBlock().end());
    fixtures::putBytes(expected, 48, Bytes{0xA0, 0x86, 0x01});
    fixtures::putBytes(expected, 54, Bytes{0x2F, 0x05});
    EXPECT_EQ(encodeClockBlock(clocks), expected);
}

}  // namespace
}  // namespace clockvane
