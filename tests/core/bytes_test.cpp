// The byte layer: hex texts, searching, little-endian fields and the 16-bit sums.

#include <gtest/gtest.h>

#include "bytes/byte_search.h"
#include "bytes/hex_codec.h"
#include "bytes/sums.h"
#include "layout/clock_set.h"

namespace clockvane {
namespace {

TEST(HexCodec, WritesTheLastByteFirstAndReadsBack)
{
    const struct {
        Bytes bytes;
        std::string text;
    } cases[] = {{{0x01, 0x95}, "9501"},
                 {{0x0F, 0x95}, "950F"},
                 {{0x00}, "00"},
                 {{0x0A}, "0A"},
                 {{}, ""},
                 {{0x7F, 0x2E, 0x01}, "012E7F"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ToHexLE(c.bytes), c.text);
        EXPECT_EQ(FromHexLE(c.text), c.bytes) << c.text;
    }
    EXPECT_EQ(FromHexLE("ABC"), (Bytes{0x0C, 0xAB}));  // a lone last digit is the first byte
    EXPECT_EQ(FromHexLE("950f"), (Bytes{0x0F, 0x95}));
}

TEST(ByteSearch, FindsOnlyWhatLiesWhollyBeforeTheLimit)
{
    const Bytes hay{9, 1, 2, 3, 1, 2, 3};
    const Bytes needle{1, 2, 3};
    EXPECT_EQ(findWithin(hay, needle, 4), 1u);
    EXPECT_EQ(findWithin(hay, needle, 3), std::nullopt);
    EXPECT_EQ(findWithin(hay, needle, 1000), 1u);  // the limit is clipped to the bytes
    EXPECT_EQ(readLE(hay, 3, 4), 0x03020103u);
    EXPECT_EQ(readLE(hay, 5, 3), std::nullopt);
    EXPECT_EQ(readLE(hay, 8, 1), std::nullopt);
    EXPECT_EQ(readLE(hay, 0, 5), std::nullopt);
    EXPECT_EQ(clippedSlice(hay, 5, 10).size(), 2u);
    EXPECT_TRUE(clippedSlice(hay, 7, 1).empty());
}

TEST(Sums, FourHexDigitsModulo65536)
{
    const struct {
        Bytes bytes;
        std::string sum;
    } cases[] = {{{}, "0000"},
                 {{0xFF}, "00FF"},
                 {{0x61, 0x62, 0x63}, "0126"},
                 {Bytes(257, 0xFF), "FFFF"},       // 65,535
                 {Bytes(258, 0xFF), "00FE"},       // 0x100FE
                 {Bytes(100'000, 0xFF), "1960"}};  // 25,500,000
    for (const auto& c : cases) EXPECT_EQ(SumBytes(c.bytes), c.sum) << c.bytes.size();
    const struct {
        std::string text, sum;
    } hex[] = {{"FF01", "0100"}, {"ff01", "0100"}, {"", "0000"},
               {"ABC", "00B7"},  {"F", "000F"},    {std::string(258 * 2, 'F'), "00FE"}};
    for (const auto& c : hex) EXPECT_EQ(SumHexBytes(c.text), c.sum) << c.text;
    EXPECT_EQ(formatSum16(0xA), "000A");
    EXPECT_EQ(formatSum16(0xABC), "0ABC");
    EXPECT_EQ(formatSum16(0x12345), "2345");
}

TEST(Sums, ClockFieldSumAddsTheEightValueBytesOfEveryEntryUncut)
{
    ClockEntries entries{};
    entries[4] = {0x00757F, 0x009C7F, 0x04B0};
    EXPECT_EQ(ClockFieldSum(entries), 707);  // 00+75+7F + 00+9C+7F + 04+B0
    entries[9] = {0x010203, 0x040506, 0x0708};
    EXPECT_EQ(ClockFieldSum(entries), 707 + 36);
    for (auto& entry : entries) entry = {0xFFFFFF, 0xFFFFFF, 0xFFFF};
    EXPECT_EQ(ClockFieldSum(entries), 20'400);
}

}  // namespace
}  // namespace clockvane
