#include <gtest/gtest.h>

#include <string>

#include "bytes/hex_codec.h"
#include "layout/encode.h"

namespace clockvane {
namespace {

// The three bytes of a clock field as they stand in the image.
Bytes clockFieldBytes(std::uint32_t field)
{
    return {static_cast<std::uint8_t>(field), static_cast<std::uint8_t>(field >> 8),
            static_cast<std::uint8_t>(field >> 16)};
}

struct ClockCase {
    std::int16_t mhz;
    std::uint32_t raw;
    Bytes bytes;
    friend void PrintTo(const ClockCase& c, std::ostream* out) { *out << c.mhz << " MHz"; }
};

class EncodeClockExamples : public ::testing::TestWithParam<ClockCase> {};

TEST_P(EncodeClockExamples, KeepsTheUpperBytesAndSetsTheLowestTo7F)
{
    const std::uint32_t raw = EncodeClock(GetParam().mhz);
    EXPECT_EQ(raw, GetParam().raw);
    EXPECT_EQ(clockFieldBytes(raw), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(SliderValues, EncodeClockExamples,
                         ::testing::Values(ClockCase{300, 30079, {0x7F, 0x75, 0x00}},
                                           ClockCase{400, 40063, {0x7F, 0x9C, 0x00}},
                                           ClockCase{775, 77439, {0x7F, 0x2E, 0x01}},
                                           ClockCase{800, 79999, {0x7F, 0x38, 0x01}},
                                           ClockCase{1200, 119935, {0x7F, 0xD4, 0x01}},
                                           ClockCase{1700, 170111, {0x7F, 0x98, 0x02}}));

TEST(EncodeClock, StaysWithinAByteAndAQuarterOfTheSliderValueOverTheWholeRange)
{
    for (int mhz = 300; mhz <= 1700; ++mhz) {
        const std::int32_t units = mhz * 100;
        const auto raw = static_cast<std::int32_t>(EncodeClock(static_cast<std::int16_t>(mhz)));
        EXPECT_EQ(raw & 0xFF, 0x7F) << mhz;
        EXPECT_GE(raw - units, -125) << mhz;
        EXPECT_LE(raw - units, 127) << mhz;
    }
}

struct VcoreCase {
    std::string volts;  // written with '.'; the test also writes it with ','
    std::uint16_t millivolts;
    Bytes bytes;
    friend void PrintTo(const VcoreCase& c, std::ostream* out) { *out << c.volts << " V"; }
};

class EncodeVcoreExamples : public ::testing::TestWithParam<VcoreCase> {};

TEST_P(EncodeVcoreExamples, GivesTheSameMillivoltsUnderEitherSeparator)
{
    std::string comma = GetParam().volts;
    for (char& c : comma) {
        if (c == '.') c = ',';
    }
    for (const auto& [text, separator] :
         {std::pair{GetParam().volts, '.'}, std::pair{comma, ','}}) {
        const auto mv = EncodeVcore(text, separator);
        ASSERT_TRUE(mv.has_value()) << text;
        EXPECT_EQ(*mv, GetParam().millivolts) << text;
        const Bytes field{static_cast<std::uint8_t>(*mv), static_cast<std::uint8_t>(*mv >> 8)};
        EXPECT_EQ(field, GetParam().bytes) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PresetsAndHalves, EncodeVcoreExamples,
    ::testing::Values(VcoreCase{"0.9", 900, {0x84, 0x03}}, VcoreCase{"0.974", 974, {0xCE, 0x03}},
                      VcoreCase{"1.02", 1020, {0xFC, 0x03}}, VcoreCase{"1.125", 1125, {0x65, 0x04}},
                      VcoreCase{"1.22", 1220, {0xC4, 0x04}}, VcoreCase{"1.274", 1274, {0xFA, 0x04}},
                      VcoreCase{"1.327", 1327, {0x2F, 0x05}},
                      // Exactly halfway: to the even neighbour.
                      VcoreCase{"1.0625", 1062, {0x26, 0x04}},
                      VcoreCase{"1.1875", 1188, {0xA4, 0x04}}));

TEST(EncodeVcore, ReadsOnlyTheCallersSeparator)
{
    EXPECT_FALSE(EncodeVcore("1.2", ',').has_value());
    EXPECT_FALSE(EncodeVcore("1,2", '.').has_value());
    EXPECT_EQ(EncodeVcore("1,2", ','), std::optional<std::uint16_t>{1200});
}

TEST(EncodeVcore, RefusesTextsThatAreNoNumberOrDoNotFitTheField)
{
    for (const char* text :
         {"", " ", ",", "abc", "1,2,3", "1.2V", "-1", "65,536", "99999999999999999999"}) {
        EXPECT_FALSE(EncodeVcore(text, ',').has_value()) << text;
    }
    EXPECT_EQ(EncodeVcore("65,535", ','), std::optional<std::uint16_t>{65535});
}

}  // namespace
}  // namespace clockvane
