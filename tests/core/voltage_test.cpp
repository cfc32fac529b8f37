// VCore texts: formatting millivolts for a box, reading a box, its validation and key filter.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "layout/voltage_text.h"

namespace clockvane {
namespace {

struct FormatCase {
    int millivolts;
    char separator;
    std::string text;
};

class FormatMillivolts : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatMillivolts, ShowsVoltsWithoutTrailingZeros)
{
    EXPECT_EQ(formatMillivolts(GetParam().millivolts, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatMillivolts,
                         ::testing::Values(FormatCase{1200, ',', "1,2"},
                                           FormatCase{1200, '.', "1.2"},
                                           FormatCase{1325, ',', "1,325"},
                                           FormatCase{950, ',', "0,95"}, FormatCase{0, ',', "0"},
                                           FormatCase{1327, ',', "1,327"},
                                           FormatCase{1000, ',', "1"}, FormatCase{1, ',', "0,001"},
                                           FormatCase{65535, '.', "65.535"}));

TEST(VcorePresets, SevenPresetsFromLowerToUpperLimit)
{
    const char* expected[] = {"0,9", "0,974", "1,02", "1,125", "1,22", "1,274", "1,327"};
    ASSERT_EQ(kVcorePresetsMv.size(), 7u);
    for (std::size_t i = 0; i < kVcorePresetsMv.size(); ++i) {
        EXPECT_EQ(formatMillivolts(kVcorePresetsMv[i], ','), expected[i]);
    }
    EXPECT_EQ(kVcorePresetsMv.front() / 1000.0, kVcoreMinVolts);
    EXPECT_EQ(kVcorePresetsMv.back() / 1000.0, kVcoreMaxVolts);
}

struct ParseCase {
    std::string text;
    char separator;
    std::optional<double> volts;
};

class ParseVolts : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseVolts, ReadsOnlyTheGivenSeparator)
{
    EXPECT_EQ(parseVolts(GetParam().text, GetParam().separator), GetParam().volts)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseVolts,
    ::testing::Values(ParseCase{"1,2", ',', 1.2}, ParseCase{"1.2", '.', 1.2},
                      ParseCase{"1,327", ',', 1.327}, ParseCase{"1.2", ',', std::nullopt},
                      ParseCase{"1,2", '.', std::nullopt}, ParseCase{"", ',', std::nullopt},
                      ParseCase{",", ',', std::nullopt}, ParseCase{",5", ',', 0.5},
                      ParseCase{"1,", ',', 1.0}, ParseCase{" 1,2 ", ',', 1.2},
                      ParseCase{"1,,2", ',', std::nullopt}, ParseCase{"1,2,", ',', std::nullopt},
                      ParseCase{"1e3", ',', std::nullopt}, ParseCase{"abc", ',', std::nullopt},
                      ParseCase{"-1", ',', -1.0}, ParseCase{"+1,5", ',', 1.5},
                      ParseCase{"+", ',', std::nullopt}));

// --- Validation when a box loses the focus -----------------------------------------------------

struct ValidateCase {
    std::string text;
    char separator;
    std::string validated;
};

class ValidateVcore : public ::testing::TestWithParam<ValidateCase> {};

TEST_P(ValidateVcore, KeepsTheBoxWithinTheLimits)
{
    EXPECT_EQ(validateVcoreText(GetParam().text, GetParam().separator), GetParam().validated);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValidateVcore,
    ::testing::Values(ValidateCase{"0,5", ',', "0,9"}, ValidateCase{"1,4", ',', "1,327"},
                      ValidateCase{"", ',', ""}, ValidateCase{",1,2", ',', "1,2"},
                      ValidateCase{"1,2", ',', "1,2"}, ValidateCase{"0,9", ',', "0,9"},
                      ValidateCase{"1,327", ',', "1,327"}, ValidateCase{"1,3271", ',', "1,327"},
                      ValidateCase{"0,8999", ',', "0,9"}, ValidateCase{"0", ',', "0,9"},
                      ValidateCase{"5", ',', "1,327"},
                      // In range: the text is not rewritten.
                      ValidateCase{"1,20", ',', "1,20"},
                      // Beyond what a double holds.
                      ValidateCase{std::string(400, '9'), ',', "1,327"},
                      ValidateCase{"0," + std::string(400, '0') + "1", ',', "0,9"},
                      // Not a number: the first character goes, then both limits apply.
                      ValidateCase{",0,5", ',', "0,9"}, ValidateCase{"x5", ',', "1,327"},
                      // Still not a number: left shortened for the save to refuse.
                      ValidateCase{",,", ',', ","}, ValidateCase{"1,,2", ',', ",,2"},
                      ValidateCase{",", ',', ""},
                      // Under a point separator.
                      ValidateCase{"0.5", '.', "0.9"}, ValidateCase{"1.4", '.', "1.327"},
                      ValidateCase{"1,2", '.', ",2"}));

// --- Key filter ----------------------------------------------------------------------------------

struct KeyCase {
    std::string text;
    int key;
    char separator;
    bool accepted;
};

class VcoreKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(VcoreKeys, AdmitDigitsSeparatorAndBackspace)
{
    EXPECT_EQ(vcoreKeyAccepted(GetParam().text, GetParam().key, GetParam().separator),
              GetParam().accepted);
}

constexpr int kBackspace = 8;
INSTANTIATE_TEST_SUITE_P(
    Table, VcoreKeys,
    ::testing::Values(KeyCase{"", ',', ',', false}, KeyCase{"", '0', ',', true},
                      KeyCase{"", '9', ',', true}, KeyCase{"", kBackspace, ',', false},
                      KeyCase{"1", ',', ',', true}, KeyCase{"1", kBackspace, ',', true},
                      KeyCase{"1", '.', ',', false}, KeyCase{"1", '.', '.', true},
                      KeyCase{"1", ',', '.', false}, KeyCase{"1", 'a', ',', false},
                      KeyCase{"1", '-', ',', false}, KeyCase{"1", ' ', ',', false},
                      KeyCase{"1", 13, ',', false}, KeyCase{"1", 0x7F, ',', false}));

TEST(VcoreKeys, TypingOneCommaTwoIntoAnEmptyBoxGivesOneComma2)
{
    std::string text;
    for (const char key : std::string(",1,2")) {
        if (vcoreKeyAccepted(text, key, ',')) text.push_back(key);
    }
    EXPECT_EQ(text, "1,2");
}

// --- Independence of the process locale ------------------------------------------------------

// A GUI toolkit may set LC_NUMERIC from the user's environment; the box texts must not follow.
TEST(VoltageText, IgnoresTheProcessNumericLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            commaLocale = name;
            break;
        }
    }
    if (commaLocale == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";

    const auto volts = parseVolts("1,2", ',');
    const std::string formatted = formatMillivolts(1200, '.');
    const std::string validated = validateVcoreText("1,4", ',');
    std::setlocale(LC_NUMERIC, previous.c_str());

    EXPECT_EQ(volts, 1.2) << commaLocale;
    EXPECT_EQ(formatted, "1.2") << commaLocale;
    EXPECT_EQ(validated, "1,327") << commaLocale;
}

}  // namespace
}  // namespace clockvane
