// Slider ranges, the range check of a clock read from an image, its messages, and the
// warning bands of the clock labels.

#include <gtest/gtest.h>

#include "layout/clock_limits.h"
#include "text/texts.h"

namespace clockvane {
namespace {

TEST(SliderRanges, GpuSlidersAreEvenMemorySlidersOdd)
{
    for (std::size_t slider = 0; slider < 10; ++slider) {
        const SliderRange range = sliderRange(slider);
        EXPECT_EQ(range.lower, slider % 2 == 0 ? 300 : 400) << slider;
        EXPECT_EQ(range.upper, slider % 2 == 0 ? 1200 : 1700) << slider;
    }
}

struct RangeCase {
    std::size_t slider;
    std::uint32_t raw;
    int sliderValue;
    RangeViolation violation;
};

class RangeCheckTable : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeCheckTable, ComparesTheUnroundedClock)
{
    const RangeCheck check = checkClockRange(GetParam().slider, GetParam().raw);
    EXPECT_EQ(check.sliderValue, GetParam().sliderValue);
    EXPECT_EQ(check.violation, GetParam().violation);
}

using RV = RangeViolation;
INSTANTIATE_TEST_SUITE_P(
    Table, RangeCheckTable,
    ::testing::Values(RangeCase{0, 120000, 1200, RV::None}, RangeCase{0, 120001, 1200, RV::TooHigh},
                      RangeCase{6, 120050, 1200,
                                RV::TooHigh},  // would round to 1200, still too high
                      RangeCase{2, 0xFFFFFF, 1200, RV::TooHigh}, RangeCase{4, 30000, 300, RV::None},
                      RangeCase{0, 29999, 300, RV::TooLow},  // 299.99 MHz
                      RangeCase{8, 0, 300, RV::TooLow}, RangeCase{1, 40000, 400, RV::None},
                      RangeCase{1, 39999, 400, RV::TooLow}, RangeCase{9, 0, 400, RV::TooLow},
                      RangeCase{3, 170000, 1700, RV::None}, RangeCase{7, 170001, 1700, RV::TooHigh},
                      RangeCase{5, 169950, 1700, RV::None},  // 1699.5 rounds to the limit
                      RangeCase{0, 77750, 778, RV::None}, RangeCase{1, 120000, 1200, RV::None}));

// --- Messages --------------------------------------------------------------------------------

struct MessageCase {
    std::size_t slider;
    RangeViolation violation;
    UiLanguage language;
    std::string title;
    std::string text;
};

class RangeMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(RangeMessages, NameTheClockAndAskForACorrection)
{
    const texts::MessageText message =
        texts::rangeMessage(GetParam().slider, GetParam().violation, GetParam().language);
    EXPECT_EQ(message.title, GetParam().title);
    EXPECT_EQ(message.text, GetParam().text);
}

using L = UiLanguage;
INSTANTIATE_TEST_SUITE_P(
    Table, RangeMessages,
    ::testing::Values(
        MessageCase{0, RV::TooHigh, L::German, "Takt zu hoch!",
                    "BootUp GPU Takt über Limit\r\rBitte die Einstellung überprüfen"},
        MessageCase{0, RV::TooHigh, L::English, "Clock read error",
                    "BootUp GPU clock exceeds limit\r\rPlease correct the setting"},
        MessageCase{9, RV::TooLow, L::German, "Takt zu niedrig!",
                    "3D Low Power RAM Takt unter Limit\r\rBitte die Einstellung überprüfen"},
        MessageCase{9, RV::TooLow, L::English, "Clock read error",
                    "3D Low Power RAM clock below limit\r\rPlease correct the setting"},
        MessageCase{7, RV::TooHigh, L::English, "Clock read error",
                    "UVD RAM clock exceeds limit\r\rPlease correct the setting"},
        MessageCase{4, RV::TooLow, L::German, "Takt zu niedrig!",
                    "3D GPU Takt unter Limit\r\rBitte die Einstellung überprüfen"}));

// Every slider names its own clock: the power state of its column and GPU or RAM.
TEST(RangeMessages, EverySliderNamesItsClock)
{
    const char* names[10] = {"BootUp GPU",       "BootUp RAM",      "2D GPU",  "2D RAM",
                             "3D GPU",           "3D RAM",          "UVD GPU", "UVD RAM",
                             "3D Low Power GPU", "3D Low Power RAM"};
    for (std::size_t slider = 0; slider < 10; ++slider) {
        const std::string name = names[slider];
        EXPECT_EQ(texts::rangeLine(slider, RV::TooHigh, L::English), name + " clock exceeds limit");
        EXPECT_EQ(texts::rangeLine(slider, RV::TooLow, L::English), name + " clock below limit");
        EXPECT_EQ(texts::rangeLine(slider, RV::TooHigh, L::German), name + " Takt über Limit");
        EXPECT_EQ(texts::rangeLine(slider, RV::TooLow, L::German), name + " Takt unter Limit");
    }
}

// --- Warning bands -----------------------------------------------------------------------------

struct BandCase {
    std::size_t slider;
    int mhz;
    bool isGddr4;
    Band band;
};

class Bands : public ::testing::TestWithParam<BandCase> {};

TEST_P(Bands, BoundsAreInclusive)
{
    EXPECT_EQ(bandFor(GetParam().slider, GetParam().mhz, GetParam().isGddr4), GetParam().band);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Bands,
    ::testing::Values(
        // GPU sliders, whatever the memory type.
        BandCase{0, 850, false, Band::Normal}, BandCase{2, 851, false, Band::Yellow},
        BandCase{4, 950, true, Band::Yellow}, BandCase{8, 951, true, Band::Red},
        BandCase{6, 300, false, Band::Normal},
        // Memory sliders of a GDDR3 image.
        BandCase{1, 900, false, Band::Normal}, BandCase{3, 901, false, Band::Yellow},
        BandCase{5, 1000, false, Band::Yellow}, BandCase{9, 1001, false, Band::Red},
        // Memory sliders of a GDDR4 image.
        BandCase{7, 1000, true, Band::Normal}, BandCase{1, 1250, true, Band::Normal},
        BandCase{3, 1251, true, Band::Yellow}, BandCase{5, 1350, true, Band::Yellow},
        BandCase{9, 1351, true, Band::Red}));

}  // namespace
}  // namespace clockvane
