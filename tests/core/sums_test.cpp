// The 16-bit byte sums: of an image, of hex digit pairs, and of the clock fields.

#include <gtest/gtest.h>

#include <random>

#include "bytes/hex_codec.h"
#include "bytes/sums.h"
#include "layout/clock_set.h"

namespace clockvane {
namespace {

struct SumCase {
    Bytes bytes;
    std::string sum;
};

class SumBytesTable : public ::testing::TestWithParam<SumCase> {};

TEST_P(SumBytesTable, FourHexDigitsOfTheSumModulo65536)
{
    EXPECT_EQ(SumBytes(GetParam().bytes), GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(Table, SumBytesTable,
                         ::testing::Values(SumCase{{}, "0000"}, SumCase{{0xFF}, "00FF"},
                                           SumCase{Bytes(257, 0xFF), "FFFF"},  // 65,535
                                           SumCase{Bytes(258, 0xFF), "00FE"},  // 0x100FE
                                           SumCase{{0x61, 0x62, 0x63}, "0126"},
                                           SumCase{Bytes(16, 0x01), "0010"},
                                           SumCase{Bytes(100'000, 0xFF), "1960"}));  // 25,500,000

TEST(SumBytes, A64KiBImageOfZerosWithOne0x12)
{
    Bytes image(64 * 1024, 0x00);
    image[0x9C40] = 0x12;
    EXPECT_EQ(SumBytes(image), "0012");
    EXPECT_EQ(sum16(image), 0x0012);
}

struct HexSumCase {
    std::string text;
    std::string sum;
};

class SumHexBytesTable : public ::testing::TestWithParam<HexSumCase> {};

TEST_P(SumHexBytesTable, AddsDigitPairsAsBytes)
{
    EXPECT_EQ(SumHexBytes(GetParam().text), GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(Table, SumHexBytesTable,
                         ::testing::Values(HexSumCase{"FF01", "0100"}, HexSumCase{"ff01", "0100"},
                                           HexSumCase{"", "0000"},
                                           HexSumCase{"ABC", "00B7"},  // AB + 0C
                                           HexSumCase{"F", "000F"}, HexSumCase{"0a0B", "0015"},
                                           HexSumCase{std::string(257 * 2, 'F'), "FFFF"},
                                           HexSumCase{std::string(258 * 2, 'F'), "00FE"}));

TEST(FormatSum16, PadsToFourDigitsAndKeepsTheLastFour)
{
    EXPECT_EQ(formatSum16(0), "0000");
    EXPECT_EQ(formatSum16(0xA), "000A");
    EXPECT_EQ(formatSum16(0xAB), "00AB");
    EXPECT_EQ(formatSum16(0xABC), "0ABC");
    EXPECT_EQ(formatSum16(0xFFFF), "FFFF");
    EXPECT_EQ(formatSum16(0x10000), "0000");
    EXPECT_EQ(formatSum16(0x12345), "2345");
}

TEST(SumBytes, MatchesSumHexBytesOfTheSameBytes)
{
    std::mt19937 generator(9505);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(5000);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(generator));
    EXPECT_EQ(SumBytes(bytes), SumHexBytes(ToHexLE(bytes)));
}

// --- Clock-field sum -------------------------------------------------------------------------

TEST(ClockFieldSum, OneEntryContributesTheBytesOfItsThreeFields)
{
    ClockEntries entries{};
    entries[4] = {0x00757F, 0x009C7F, 0x04B0};
    EXPECT_EQ(ClockFieldSum(entries), 707);  // 00+75+7F + 00+9C+7F + 04+B0
}

TEST(ClockFieldSum, IsNeverCutTo16Bits)
{
    ClockEntries entries{};
    for (auto& entry : entries) entry = {0xFFFFFF, 0xFFFFFF, 0xFFFF};
    EXPECT_EQ(ClockFieldSum(entries), 20'400);
}

// The sum defined over the fields' hex texts, entry by entry, as the save compares it.
TEST(ClockFieldSum, EqualsTheSumOfTheFieldsHexTexts)
{
    std::mt19937 generator(3870);
    std::uniform_int_distribution<std::uint32_t> clock(0, 0xFFFFFF);
    std::uniform_int_distribution<std::uint32_t> vcore(0, 0xFFFF);
    for (int round = 0; round < 50; ++round) {
        ClockEntries entries{};
        int expected = 0;
        for (auto& entry : entries) {
            entry = {clock(generator), clock(generator),
                     static_cast<std::uint16_t>(vcore(generator))};
            const auto field = [](std::uint32_t value, std::size_t width) {
                Bytes bytes(width);
                for (std::size_t i = 0; i < width; ++i)
                    bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
                return ToHexLE(bytes);
            };
            const std::string text =
                field(entry.gpuClock, 3) + field(entry.ramClock, 3) + field(entry.vcore, 2);
            expected += std::stoi(SumHexBytes(text), nullptr, 16);
        }
        EXPECT_EQ(ClockFieldSum(entries), expected) << "round " << round;
    }
}

}  // namespace
}  // namespace clockvane
