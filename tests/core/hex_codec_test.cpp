#include <gtest/gtest.h>

#include "bytes/hex_codec.h"

namespace clockvane {
namespace {

struct HexCase {
    Bytes bytes;
    std::string text;
};

class HexRoundTrip : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexRoundTrip, EncodesLastByteFirstAndDecodesBack)
{
    EXPECT_EQ(ToHexLE(GetParam().bytes), GetParam().text);
    EXPECT_EQ(FromHexLE(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Examples, HexRoundTrip,
                         ::testing::Values(HexCase{{0x01, 0x95}, "9501"},
                                           HexCase{{0x0F, 0x95}, "950F"},
                                           HexCase{{0x05, 0x95}, "9505"}, HexCase{{0x00}, "00"},
                                           HexCase{{0x0A}, "0A"}, HexCase{{}, ""},
                                           HexCase{{0x7F, 0x2E, 0x01}, "012E7F"}));

TEST(FromHexLE, OddLengthTextMakesItsLastDigitTheFirstByte)
{
    EXPECT_EQ(FromHexLE("ABC"), (Bytes{0x0C, 0xAB}));
    EXPECT_EQ(FromHexLE("7"), (Bytes{0x07}));
}

TEST(FromHexLE, ReadsLowerCaseDigits) { EXPECT_EQ(FromHexLE("950f"), (Bytes{0x0F, 0x95})); }

TEST(HexCodec, A152ByteBlockSurvivesTheRoundTrip)
{
    Bytes block(152);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i * 37 + 11);
    const std::string text = ToHexLE(block);
    ASSERT_EQ(text.size(), 304u);
    // Digit pair k from the left is byte 151-k of the block.
    EXPECT_EQ(text.substr(0, 2), ToHexLE(Bytes{block[151]}));
    EXPECT_EQ(text.substr(302, 2), ToHexLE(Bytes{block[0]}));
    EXPECT_EQ(FromHexLE(text), block);
}

}  // namespace
}  // namespace clockvane
