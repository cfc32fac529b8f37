// The byte rules under the editor: hex texts and sums, the clock block's layout, slider values
// and ranges, bands, messages, the encoders and the VCore box texts.

#include <gtest/gtest.h>

#include "bytes/ascii.h"
#include "bytes/byte_search.h"
#include "bytes/hex_codec.h"
#include "bytes/sums.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/clock_set.h"
#include "layout/encode.h"
#include "layout/voltage_text.h"
#include "text/line_breaks.h"
#include "text/printable.h"
#include "text/texts.h"

namespace clockvane {
namespace {

TEST(HexCodec, WritesTheLastByteFirstAndReadsBack)
{
    EXPECT_EQ(ToHexLE(Bytes{0x7F, 0x2E, 0x01}), "012E7F");
    for (const std::string text : {"9501", "950F", "00", "0A", "", "012E7F"})
        EXPECT_EQ(ToHexLE(FromHexLE(text)), text);
    EXPECT_EQ(FromHexLE("ABC"), (Bytes{0x0C, 0xAB}));  // a lone last digit is the first byte
    EXPECT_EQ(FromHexLE("950f"), (Bytes{0x0F, 0x95}));
}

// Only A to Z fold, so no locale decides what a file ending or a stored word means.
TEST(AsciiCase, FoldsOnlyTheLettersAToZ)
{
    EXPECT_TRUE(equalsIgnoringAsciiCase("AZ@[`{", "az@[`{"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("@[", "`{"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("\xC3\x84", "\xC3\xA4"));  // Ä and ä
    EXPECT_TRUE(endsWithIgnoringAsciiCase("ROM", "rom") && !endsWithIgnoringAsciiCase("om", "rom"));
}

// The search looks at the first `limit` bytes only, and finds no empty needle.
TEST(ByteSearch, FindsANeedleWhollyWithinTheLimit)
{
    const Bytes hay{1, 2, 3};
    EXPECT_EQ(findWithin(hay, Bytes{2, 3}, 3), std::optional<std::size_t>(1));
    EXPECT_FALSE(findWithin(hay, Bytes{2, 3}, 2).has_value());
    EXPECT_FALSE(findWithin(hay, Bytes{}, 3).has_value());
}

TEST(Sums, FourHexDigitsModulo65536)
{
    // Count bytes of one value, the sum: 257 x 0xFF = 65,535; 258 x 0xFF = 0x100FE.
    const std::tuple<std::size_t, std::uint8_t, const char*> cases[] = {
        {0, 0, "0000"},      {1, 0xFF, "00FF"},   {3, 0x42, "00C6"},
        {257, 0xFF, "FFFF"}, {258, 0xFF, "00FE"}, {100'000, 0xFF, "1960"}};
    for (const auto& [count, value, sum] : cases) EXPECT_EQ(SumBytes(Bytes(count, value)), sum);
    const std::pair<std::string, const char*> hex[] = {
        {"FF01", "0100"}, {"ff01", "0100"}, {"", "0000"},
        {"ABC", "00B7"},  {"F", "000F"},    {std::string(258 * 2, 'F'), "00FE"}};
    for (const auto& [text, sum] : hex) EXPECT_EQ(SumHexBytes(text), sum) << text;
}

TEST(ClockBlock, DecodesEveryEntryFromItsPlaceInTheImage)
{
    fixtures::ImageRecipe recipe;           // signature at 0x5A10: the block starts at 0x5A1C
    for (std::uint32_t j = 0; j < 10; ++j)  // distinct values, so no field can pass from elsewhere
        recipe.entries[j] = {0x0A1000 + j * 0x111, 0x0B2000 + j * 0x111,
                             static_cast<std::uint16_t>(0x0C30 + j)};
    Bytes bytes = fixtures::buildImage(recipe);
    fixtures::putBytes(bytes, 0x5A1C, Bytes{0xEC, 0x34, 0x01});  // entry 0 GPU: 790.84 MHz
    fixtures::putBytes(bytes, 0x5AAF, Bytes{0xA0, 0x86, 0x01});  // entry 9 RAM: 1000 MHz
    fixtures::putBytes(bytes, 0x5AB2, Bytes{0x2F, 0x05});        // entry 9 VCore, last bytes
    const auto rom = loadRom(RawFile{bytes, {}});
    ASSERT_TRUE(rom.ok());
    EXPECT_EQ(rom->image.clockBlockOffset(), 0x5A1Cu);
    recipe.entries[0].gpuClock = 79084;
    recipe.entries[9] = {recipe.entries[9].gpuClock, 100000, 1327};
    EXPECT_EQ(rom->clocks.working, recipe.entries);
    EXPECT_EQ(rom->clocks.trailers, recipe.trailers);
    EXPECT_FALSE(decodeClockBlock(Bytes(151, 0)).has_value());
    EXPECT_FALSE(decodeClockBlock(Bytes(153, 0)).has_value());

    ClockSet clocks = rom->clocks;
    clocks.working[3] = {0x0186A0, 0x010203, 0x052F};
    clocks.working[9].vcore = 0x1234;  // the block's last two bytes
    Bytes expected(rom->image.clockBlock().begin(), rom->image.clockBlock().end());
    fixtures::putBytes(expected, 48, Bytes{0xA0, 0x86, 0x01, 0x03, 0x02, 0x01, 0x2F, 0x05});
    fixtures::putBytes(expected, 150, Bytes{0x34, 0x12});
    EXPECT_EQ(encodeClockBlock(clocks), expected);

    // The sum over the value fields' bytes, three of a clock and two of a VCore.
    ClockEntries one{};
    one[3] = {0xFF0186A0, 0x010203, 0x052F};  // the clock's fourth byte is no field byte
    EXPECT_EQ(ClockFieldSum(one), 0xA0 + 0x86 + 0x01 + 0x03 + 0x02 + 0x01 + 0x2F + 0x05);
}

TEST(SliderValues, WholeMegahertzWithHalvesToEvenAndTheUnroundedClockInItsRange)
{
    const std::pair<std::uint32_t, int> cases[] = {
        {77750, 778}, {77850, 778}, {77650, 776}, {77549, 775},   {77551, 776},      {79084, 791},
        {0, 0},       {50, 0},      {150, 2},     {169950, 1700}, {0xFFFFFF, 167772}};
    for (const auto& [raw, mhz] : cases) EXPECT_EQ(sliderValueFromRaw(raw), mhz) << raw;

    using RV = RangeViolation;
    using Row = std::tuple<std::size_t, std::uint32_t, int, RV>;
    for (const auto& [slider, raw, value, violation] :
         {Row{0, 120000, 1200, RV::None}, Row{0, 120001, 1200, RV::TooHigh},
          Row{6, 120050, 1200, RV::TooHigh}, Row{4, 30000, 300, RV::None},
          Row{0, 29999, 300, RV::TooLow}, Row{8, 0, 300, RV::TooLow}, Row{1, 40000, 400, RV::None},
          Row{1, 39999, 400, RV::TooLow}, Row{3, 170000, 1700, RV::None},
          Row{7, 170001, 1700, RV::TooHigh}, Row{5, 169950, 1700, RV::None},
          Row{0, 77750, 778, RV::None}, Row{1, 120000, 1200, RV::None}}) {
        const RangeCheck check = checkClockRange(slider, raw);
        EXPECT_EQ(check.sliderValue, value) << slider << " " << raw;
        EXPECT_EQ(check.violation, violation) << slider << " " << raw;
    }
}

TEST(SliderRanges, MessagesNameEveryClock)
{
    using L = UiLanguage;
    const char* names[10] = {"BootUp GPU",       "BootUp RAM",      "2D GPU",  "2D RAM",
                             "3D GPU",           "3D RAM",          "UVD GPU", "UVD RAM",
                             "3D Low Power GPU", "3D Low Power RAM"};
    for (std::size_t s = 0; s < 10; ++s) {
        EXPECT_EQ(texts::rangeLine(s, RangeViolation::TooHigh, L::English),
                  std::string(names[s]) + " clock exceeds limit");
        EXPECT_EQ(texts::rangeLine(s, RangeViolation::TooLow, L::German),
                  std::string(names[s]) + " Takt unter Limit");
    }
    EXPECT_EQ(texts::rangeLine(3, RangeViolation::TooLow, L::English), "2D RAM clock below limit");
    EXPECT_EQ(texts::rangeLine(3, RangeViolation::TooHigh, L::German), "2D RAM Takt über Limit");
    const auto message = texts::rangeMessage(0, RangeViolation::TooHigh, L::German);
    EXPECT_EQ(message.title + message.text,
              "Takt zu hoch!BootUp GPU Takt über Limit\r\rBitte die Einstellung überprüfen");
    EXPECT_EQ(texts::rangeMessage(9, RangeViolation::TooLow, L::English).title, "Clock read error");
}

// Every place a power state is named, from the one table of names; only the clock messages
// above keep the short "3D".
TEST(SliderRanges, EachStateHasOneNameInEveryControl)
{
    using L = UiLanguage;
    using Row = std::tuple<std::size_t, std::size_t, const char*, const char*, const char*>;
    for (const auto& [slider, box, spoken, heading, toolTip] :
         {Row{0, 0, "BootUp GPU clock|BootUp VCore", "BootUp Clocks|", "BootUP VCore in Volts"},
          Row{3, 1, "2D memory clock|2D VCore", "2D Clocks|", "2D VCore in Volts"},
          Row{4, 2, "3D High Power GPU clock|3D High Power VCore", "3D Clocks|High Power",
              "3D High Power  VCore in Volts"},
          Row{7, 3, "UVD memory clock|UVD VCore", "UVD\u00AE Clocks|",
              "Unified Video Decoder (UVD) VCore in Volts"},
          Row{8, 4, "3D Low Power GPU clock|3D Low Power VCore", "3D Clocks|Low Power",
              "3D Low Power VCore in Volts"}}) {
        EXPECT_EQ(texts::sliderName(slider, L::English) + "|" + texts::vcoreBoxName(box, L::German),
                  spoken);
        const texts::PowerStateNames& names = texts::namesOfSlider(slider);
        EXPECT_EQ(std::string(names.heading) + "|" + std::string(names.subHeading), heading);
        EXPECT_EQ(texts::namesOfBox(box).vcoreToolTip, toolTip);
    }
    EXPECT_EQ(texts::sliderName(5, L::German), "3D High Power Speichertakt");
    EXPECT_EQ(texts::mhzText(775) + "|" + texts::voltsText("1,2") + "|" + texts::voltsText(""),
              "775 MHz|1,2 V|");
}

// The texts' bare carriage returns, as each front-end's controls want their line breaks.
TEST(LineBreaks, EveryBreakBecomesTheFrontEndsOwn)
{
    const std::string text = "Warning:\r\rline\r\nÖ X²\nend\r";
    EXPECT_EQ(texts::withLineBreaks(text, texts::LineBreak::LineFeed),
              "Warning:\n\nline\nÖ X²\nend\n");
    EXPECT_EQ(texts::withLineBreaks(text, texts::LineBreak::CarriageReturnLineFeed),
              "Warning:\r\n\r\nline\r\nÖ X²\r\nend\r\n");
}

TEST(Bands, BoundsAreInclusive)
{
    using Row = std::tuple<std::size_t, int, bool, Band>;
    for (const auto& [slider, mhz, gddr4, band] :
         {Row{0, 850, false, Band::Normal}, Row{2, 851, false, Band::Yellow},
          Row{4, 950, true, Band::Yellow}, Row{8, 951, true, Band::Red},
          Row{1, 900, false, Band::Normal}, Row{3, 901, false, Band::Yellow},
          Row{5, 1000, false, Band::Yellow}, Row{9, 1001, false, Band::Red},
          Row{7, 1000, true, Band::Normal}, Row{1, 1250, true, Band::Normal},
          Row{3, 1251, true, Band::Yellow}, Row{5, 1350, true, Band::Yellow},
          Row{9, 1351, true, Band::Red}})
        EXPECT_EQ(bandFor(slider, mhz, gddr4), band);
}

TEST(Encode, ClockSetsTheLowestByteTo7FAndVcoreReadsTheCallersSeparatorOnly)
{
    const std::pair<std::int16_t, std::uint32_t> clocks[] = {{300, 0x00757F},  {400, 0x009C7F},
                                                             {775, 0x012E7F},  {800, 0x01387F},
                                                             {1200, 0x01D47F}, {1700, 0x02987F}};
    for (const auto& [mhz, raw] : clocks) EXPECT_EQ(EncodeClock(mhz), raw) << mhz;

    const std::pair<const char*, std::uint16_t> cases[] = {
        {"0,9", 900},    {"0,974", 974},  {"1,02", 1020},   {"1,125", 1125},  {"1,22", 1220},
        {"1,274", 1274}, {"1,327", 1327}, {"1,0625", 1062}, {"1,1875", 1188}, {"65,535", 65535}};
    for (const auto& [text, mv] : cases) EXPECT_EQ(EncodeVcore(text, ','), mv) << text;
    EXPECT_EQ(EncodeVcore("1.2", '.'), std::optional<std::uint16_t>{1200});
    for (const char* text :
         {"1.2", "", " ", ",", "abc", "1,2,3", "1,2V", "-1", "65,536", "99999999999999999999"})
        EXPECT_FALSE(EncodeVcore(text, ',').has_value()) << text;
}

TEST(VcoreText, FormatsAndParsesVolts)
{
    using Row = std::tuple<int, char, const char*>;
    for (const auto& [mv, separator, text] :
         {Row{1200, ',', "1,2"}, Row{1200, '.', "1.2"}, Row{1325, ',', "1,325"},
          Row{950, ',', "0,95"}, Row{0, ',', "0"}, Row{1000, ',', "1"}, Row{1, ',', "0,001"},
          Row{65535, '.', "65.535"}})
        EXPECT_EQ(formatMillivolts(mv, separator), text);
    EXPECT_EQ(kVcorePresetsMv, (std::array{900, 974, 1020, 1125, 1220, 1274, 1327}));

    const std::pair<const char*, std::optional<double>> parses[] = {
        {"1,2", 1.2},        {"1.2", std::nullopt}, {",5", 0.5},  {"1,", 1.0},
        {" 1,2 ", 1.2},      {"1e3", std::nullopt}, {"-1", -1.0}, {"+1,5", 1.5},
        {"+", std::nullopt}, {",", std::nullopt}};
    for (const auto& [text, volts] : parses) EXPECT_EQ(parseVolts(text, ','), volts) << text;
    EXPECT_EQ(parseVolts("1.2", '.'), 1.2);
}

TEST(VcoreText, ValidationKeepsTheBoxWithinTheLimits)
{
    using Row = std::tuple<const char*, char, const char*>;
    for (const auto& [text, separator, validated] :
         {Row{"0,5", ',', "0,9"}, Row{"1,4", ',', "1,327"}, Row{"", ',', ""},
          Row{",1,2", ',', "1,2"}, Row{"0,9", ',', "0,9"}, Row{"1,327", ',', "1,327"},
          Row{"1,3271", ',', "1,327"}, Row{"0,8999", ',', "0,9"}, Row{"1,20", ',', "1,20"},
          Row{"x5", ',', "1,327"}, Row{",,", ',', ","}, Row{"1,,2", ',', ",,2"}, Row{",", ',', ""},
          Row{"0.5", '.', "0.9"}, Row{"1.4", '.', "1.327"}, Row{"1,2", '.', ",2"}})
        EXPECT_EQ(validateVcoreText(text, separator), validated) << text;
    EXPECT_EQ(validateVcoreText(std::string(400, '9'), ','), "1,327");  // beyond a double
}

TEST(VcoreText, KeyFilterAdmitsDigitsOneSeparatorAfterADigitAndBackspace)
{
    using Row = std::tuple<const char*, int, char, bool>;
    for (const auto& [text, key, separator, accepted] :
         {Row{"", ',', ',', false}, Row{"", '0', ',', true}, Row{"", '9', ',', true},
          Row{"", 8, ',', false}, Row{"1", ',', ',', true}, Row{"1", 8, ',', true},
          Row{"1", '.', ',', false}, Row{"1", '.', '.', true}, Row{"1", ',', '.', false},
          Row{"1", 'a', ',', false}, Row{"1", '-', ',', false}, Row{"1", 13, ',', false}})
        EXPECT_EQ(vcoreKeyAccepted(text, key, separator), accepted) << text << " " << key;
}

// Names are shown with control characters and bytes that are not UTF-8 as \xNN; valid UTF-8
// passes, and a byte is judged with the sequence it starts.
TEST(PrintableText, EscapesControlsAndBytesThatAreNotUtf8)
{
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"caf\xE9.rom", "caf\\xE9.rom"},                      // Latin-1 é
        {"caf\xC3\xA9.rom", "caf\xC3\xA9.rom"},               // UTF-8 é
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},             // four bytes, U+1F600
        {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},                     // U+FFFD, lead byte EF
        {"a\x1B[2J\x7F", "a\\x1B[2J\\x7F"},                   // ESC and DEL
        {"\xC2\x9B|\x9B|\xC2\xA0", "\\x9B|\\x9B|\xC2\xA0"},   // CSI encoded and raw; NBSP passes
        {"\xE0\x80\x80", "\\xE0\\x80\\x80"},                  // overlong
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                  // a surrogate
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},             // U+10FFFF, the last
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},         // past U+10FFFF
        {"\xE2\x82", "\\xE2\\x82"},                           // cut short
        {"\xE2\x82\xAC\xC0\xAF", "\xE2\x82\xAC\\xC0\\xAF"}};  // the euro sign, then overlong '/'
    for (const auto& [bytes, shown] : rows) EXPECT_EQ(printableText(bytes), shown);
}

}  // namespace
}  // namespace clockvane
