// The clock block's layout: decoding, slider values and ranges, bands, messages, the encoders
// and the VCore box texts.

#include <gtest/gtest.h>

#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "layout/clock_set.h"
#include "layout/encode.h"
#include "layout/voltage_text.h"
#include "text/texts.h"

namespace clockvane {
namespace {

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
    EXPECT_EQ(rom->clocks.asRead, recipe.entries);
    EXPECT_EQ(rom->clocks.trailers, recipe.trailers);
    EXPECT_FALSE(decodeClockBlock(Bytes(151, 0)).has_value());
    EXPECT_FALSE(decodeClockBlock(Bytes(153, 0)).has_value());

    ClockSet clocks = rom->clocks;
    clocks.working[3] = {0x0186A0, 0x010203, 0x052F};
    Bytes expected(rom->image.clockBlock().begin(), rom->image.clockBlock().end());
    fixtures::putBytes(expected, 48, Bytes{0xA0, 0x86, 0x01, 0x03, 0x02, 0x01, 0x2F, 0x05});
    EXPECT_EQ(encodeClockBlock(clocks), expected);
}

TEST(SliderValues, WholeMegahertzWithHalvesToEven)
{
    const std::pair<std::uint32_t, int> cases[] = {
        {77750, 778}, {77850, 778}, {77650, 776}, {77549, 775},   {77551, 776},      {79084, 791},
        {0, 0},       {50, 0},      {150, 2},     {169950, 1700}, {0xFFFFFF, 167772}};
    for (const auto& [raw, mhz] : cases) EXPECT_EQ(sliderValueFromRaw(raw), mhz) << raw;
    EXPECT_DOUBLE_EQ(mhzFromRaw(79084), 790.84);
}

TEST(SliderRanges, TheUnroundedClockIsCheckedAgainstItsSlidersRange)
{
    using RV = RangeViolation;
    const struct {
        std::size_t slider;
        std::uint32_t raw;
        int value;
        RV violation;
    } cases[] = {{0, 120000, 1200, RV::None},    {0, 120001, 1200, RV::TooHigh},
                 {6, 120050, 1200, RV::TooHigh}, {4, 30000, 300, RV::None},
                 {0, 29999, 300, RV::TooLow},    {8, 0, 300, RV::TooLow},
                 {1, 40000, 400, RV::None},      {1, 39999, 400, RV::TooLow},
                 {3, 170000, 1700, RV::None},    {7, 170001, 1700, RV::TooHigh},
                 {5, 169950, 1700, RV::None},    {0, 77750, 778, RV::None},
                 {1, 120000, 1200, RV::None}};
    for (const auto& c : cases) {
        const RangeCheck check = checkClockRange(c.slider, c.raw);
        EXPECT_EQ(check.sliderValue, c.value) << c.slider << " " << c.raw;
        EXPECT_EQ(check.violation, c.violation) << c.slider << " " << c.raw;
    }
    for (std::size_t slider = 0; slider < 10; ++slider) {
        EXPECT_EQ(sliderRange(slider).lower, slider % 2 ? 400 : 300) << slider;
        EXPECT_EQ(sliderRange(slider).upper, slider % 2 ? 1700 : 1200) << slider;
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
    const auto high = texts::rangeMessage(0, RangeViolation::TooHigh, L::German);
    EXPECT_EQ(high.title + high.text,
              "Takt zu hoch!BootUp GPU Takt über Limit\r\rBitte die Einstellung überprüfen");
    EXPECT_EQ(texts::rangeMessage(9, RangeViolation::TooLow, L::German).title, "Takt zu niedrig!");
    const auto english = texts::rangeMessage(7, RangeViolation::TooHigh, L::English);
    EXPECT_EQ(english.title + english.text,
              "Clock read errorUVD RAM clock exceeds limit\r\rPlease correct the setting");
}

TEST(Bands, BoundsAreInclusive)
{
    const struct {
        std::size_t slider;
        int mhz;
        bool gddr4;
        Band band;
    } cases[] = {{0, 850, false, Band::Normal},  {2, 851, false, Band::Yellow},
                 {4, 950, true, Band::Yellow},   {8, 951, true, Band::Red},
                 {1, 900, false, Band::Normal},  {3, 901, false, Band::Yellow},
                 {5, 1000, false, Band::Yellow}, {9, 1001, false, Band::Red},
                 {7, 1000, true, Band::Normal},  {1, 1250, true, Band::Normal},
                 {3, 1251, true, Band::Yellow},  {5, 1350, true, Band::Yellow},
                 {9, 1351, true, Band::Red}};
    for (const auto& c : cases) EXPECT_EQ(bandFor(c.slider, c.mhz, c.gddr4), c.band) << c.mhz;
}

TEST(Encode, ClockKeepsTheUpperBytesAndSetsTheLowestTo7F)
{
    const std::pair<std::int16_t, std::uint32_t> cases[] = {{300, 0x00757F},  {400, 0x009C7F},
                                                            {775, 0x012E7F},  {800, 0x01387F},
                                                            {1200, 0x01D47F}, {1700, 0x02987F}};
    for (const auto& [mhz, raw] : cases) EXPECT_EQ(EncodeClock(mhz), raw) << mhz;
    for (int mhz = 300; mhz <= 1700; ++mhz) {
        const auto raw = static_cast<int>(EncodeClock(static_cast<std::int16_t>(mhz)));
        ASSERT_TRUE((raw & 0xFF) == 0x7F && raw - mhz * 100 >= -125 && raw - mhz * 100 <= 127)
            << mhz;
    }
}

TEST(Encode, VcoreReadsMillivoltsUnderTheCallersSeparatorOnly)
{
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
    const std::tuple<int, char, const char*> formats[] = {
        {1200, ',', "1,2"}, {1200, '.', "1.2"}, {1325, ',', "1,325"}, {950, ',', "0,95"},
        {0, ',', "0"},      {1000, ',', "1"},   {1, ',', "0,001"},    {65535, '.', "65.535"}};
    for (const auto& [mv, separator, text] : formats)
        EXPECT_EQ(formatMillivolts(mv, separator), text);
    EXPECT_EQ(kVcorePresetsMv, (std::array{900, 974, 1020, 1125, 1220, 1274, 1327}));
    EXPECT_EQ(kVcoreMinVolts, 0.9);
    EXPECT_EQ(kVcoreMaxVolts, 1.327);

    const std::pair<const char*, std::optional<double>> parses[] = {
        {"1,2", 1.2},           {"1,327", 1.327},      {"1.2", std::nullopt}, {"", std::nullopt},
        {",", std::nullopt},    {",5", 0.5},           {"1,", 1.0},           {" 1,2 ", 1.2},
        {"1,,2", std::nullopt}, {"1e3", std::nullopt}, {"-1", -1.0},          {"+1,5", 1.5},
        {"+", std::nullopt}};
    for (const auto& [text, volts] : parses) EXPECT_EQ(parseVolts(text, ','), volts) << text;
    EXPECT_EQ(parseVolts("1.2", '.'), 1.2);
}

TEST(VcoreText, ValidationKeepsTheBoxWithinTheLimits)
{
    const std::tuple<const char*, char, const char*> cases[] = {
        {"0,5", ',', "0,9"},      {"1,4", ',', "1,327"},  {"", ',', ""},
        {",1,2", ',', "1,2"},     {"0,9", ',', "0,9"},    {"1,327", ',', "1,327"},
        {"1,3271", ',', "1,327"}, {"0,8999", ',', "0,9"}, {"1,20", ',', "1,20"},
        {"x5", ',', "1,327"},     {",,", ',', ","},       {"1,,2", ',', ",,2"},
        {",", ',', ""},           {"0.5", '.', "0.9"},    {"1.4", '.', "1.327"},
        {"1,2", '.', ",2"}};
    for (const auto& [text, separator, validated] : cases)
        EXPECT_EQ(validateVcoreText(text, separator), validated) << text;
    EXPECT_EQ(validateVcoreText(std::string(400, '9'), ','), "1,327");  // beyond a double
}

TEST(VcoreText, KeyFilterAdmitsDigitsOneSeparatorAfterADigitAndBackspace)
{
    const std::tuple<const char*, int, char, bool> cases[] = {
        {"", ',', ',', false},  {"", '0', ',', true},   {"", '9', ',', true},
        {"", 8, ',', false},    {"1", ',', ',', true},  {"1", 8, ',', true},
        {"1", '.', ',', false}, {"1", '.', '.', true},  {"1", ',', '.', false},
        {"1", 'a', ',', false}, {"1", '-', ',', false}, {"1", 13, ',', false}};
    for (const auto& [text, key, separator, accepted] : cases)
        EXPECT_EQ(vcoreKeyAccepted(text, key, separator), accepted) << text << " " << key;
    std::string typed;
    for (const char key : std::string(",1,2"))
        if (vcoreKeyAccepted(typed, key, ',')) typed.push_back(key);
    EXPECT_EQ(typed, "1,2");
}

}  // namespace
}  // namespace clockvane
