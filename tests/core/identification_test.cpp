// Identifying the card: memory type and size, the X2 file, the card line, version and date.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fixtures/image_builder.h"
#include "image/bios_info.h"
#include "image/card_identity.h"
#include "image/rom_loader.h"

namespace clockvane {
namespace {

using fixtures::buildImage;
using fixtures::ImageRecipe;
using fixtures::putText;

// An image with no identification texts at all; each case writes its own.
Bytes blankImage(std::size_t length = 64 * 1024)
{
    ImageRecipe recipe;
    recipe.length = length;
    recipe.memoryText = "";
    recipe.versionMarkerOffset = std::nullopt;
    return buildImage(recipe);
}

// --- Memory type and size ----------------------------------------------------------------

struct MemoryCase {
    const char* name;
    std::vector<std::pair<std::size_t, std::string>> texts;  // offset, text
    bool isGddr4;
    MemorySize size;
};

class MemoryDetection : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(MemoryDetection, ReadsTheFirst600Bytes)
{
    Bytes image = blankImage();
    for (const auto& [offset, text] : GetParam().texts) putText(image, offset, text);
    const MemoryInfo memory = detectMemory(image);
    EXPECT_EQ(memory.isGddr4, GetParam().isGddr4);
    EXPECT_EQ(memory.size, GetParam().size);
}

using MB = MemorySize;
INSTANTIATE_TEST_SUITE_P(
    Table, MemoryDetection,
    ::testing::Values(
        MemoryCase{"Gddr4Wins", {{0x1C0, "GDDR4"}, {0x1D0, "256MB"}}, true, MB::MB512},
        MemoryCase{"Ddr4EndingAt599", {{596, "DDR4"}}, true, MB::MB512},
        MemoryCase{"Ddr4EndingAt600", {{597, "DDR4"}, {0x100, "256MB"}}, false, MB::MB256},
        MemoryCase{"Gddr3Is512", {{0x1C0, "GDDR3 512MB"}}, false, MB::MB512},
        MemoryCase{"Gddr3Is256", {{0x1C0, "256MB GDDR3"}}, false, MB::MB256},
        MemoryCase{"BothSizes256First", {{0x100, "256MB"}, {0x200, "512MB"}}, false, MB::MB256},
        MemoryCase{"BothSizes512First", {{0x100, "512MB"}, {0x200, "256MB"}}, false, MB::MB256},
        MemoryCase{"NoText", {}, false, MB::Unknown},
        MemoryCase{"SizeEndingAt599", {{595, "256MB"}}, false, MB::MB256},
        MemoryCase{"SizeEndingAt600", {{596, "256MB"}}, false, MB::Unknown},
        MemoryCase{"LateSizeIgnored", {{596, "256MB"}, {590, "512MB"}}, false, MB::MB512},
        MemoryCase{"LowerCaseIgnored", {{0x100, "256mb gddr4"}}, false, MB::Unknown},
        MemoryCase{
            "TextsPast600Ignored", {{600, "GDDR4 256MB"}, {0x4000, "512MB"}}, false, MB::Unknown}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryDetection, ImageShorterThan600BytesIsSearchedToItsEnd)
{
    Bytes image(300, 0x20);
    putText(image, 295, "512MB");
    EXPECT_EQ(detectMemory(image).size, MemorySize::MB512);
}

// --- Device ID text and the X2 file --------------------------------------------------------

TEST(DeviceIdText, ComparesExactlyAndCaseSensitively)
{
    EXPECT_EQ(cardForDeviceId("9501"), CardType::HD3870);
    EXPECT_EQ(cardForDeviceId("9505"), CardType::HD3850);
    EXPECT_EQ(cardForDeviceId("950F"), CardType::HD3870X2);
    for (const char* text : {"950f", "0195", "95010", " 9501", ""})
        EXPECT_EQ(cardForDeviceId(text), std::nullopt) << text;

    Bytes image(0x8A, 0);
    image[0x88] = 0x0F;
    image[0x89] = 0x95;
    EXPECT_EQ(deviceIdText(image), "950F");
    image.pop_back();
    EXPECT_EQ(deviceIdText(image), "");
}

struct X2Case {
    const char* name;
    std::string deviceId;
    std::optional<std::size_t> markerOffset;
    X2File x2File;
};

class X2Files : public ::testing::TestWithParam<X2Case> {};

TEST_P(X2Files, MarkerAnywhereMeansTheSecondFile)
{
    ImageRecipe recipe;
    recipe.deviceId = GetParam().deviceId;
    recipe.x2SecondFile = GetParam().markerOffset.has_value();
    recipe.x2MarkerOffset = GetParam().markerOffset.value_or(0);
    recipe.optionRomHeader = false;  // keeps the last byte for a marker at the very end
    const auto loaded = loadRom(RawFile{buildImage(recipe), {}});
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->x2File, GetParam().x2File);
}

INSTANTIATE_TEST_SUITE_P(
    Table, X2Files,
    ::testing::Values(X2Case{"X2NoMarker", "950F", std::nullopt, X2File::First},
                      X2Case{"X2MarkerEarly", "950F", 0x300, X2File::Second},
                      X2Case{"X2MarkerPast50000", "950F", 60'000, X2File::Second},
                      X2Case{"X2MarkerAtTheEnd", "950F", 64 * 1024 - 22, X2File::Second},
                      X2Case{"Hd3870WithMarker", "9501", 60'000, X2File::NotX2},
                      X2Case{"Hd3850WithMarker", "9505", 60'000, X2File::NotX2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(X2File, CutMarkerAtTheImageEndIsNoMarker)
{
    Bytes image = blankImage();
    putText(image, image.size() - 21, "YOU HAVE NOT CONNECTED");  // last byte falls off
    image.back() = '.';
    EXPECT_EQ(x2FileNumber(image), X2File::First);
}

// --- Card line ---------------------------------------------------------------------------

struct CardLineCase {
    CardModel card;
    std::string line;
};

class CardLine : public ::testing::TestWithParam<CardLineCase> {};

TEST_P(CardLine, NamesCardSizeAndType) { EXPECT_EQ(cardLine(GetParam().card), GetParam().line); }

INSTANTIATE_TEST_SUITE_P(
    Table, CardLine,
    ::testing::Values(
        CardLineCase{{CardType::HD3850, false, MemorySize::MB256}, "ATI HD3850 - 256MB GDDR3"},
        CardLineCase{{CardType::HD3870, false, MemorySize::MB512}, "ATI HD3870 - 512MB GDDR3"},
        CardLineCase{{CardType::HD3870, true, MemorySize::MB512}, "ATI HD3870 - 512MB GDDR4"},
        CardLineCase{{CardType::HD3870X2, false, MemorySize::MB512},
                     "ATI HD3870 X\xC2\xB2 - 512MB GDDR3"}));

// --- BIOS version --------------------------------------------------------------------------

struct VersionCase {
    const char* name;
    std::size_t imageLength;
    std::optional<std::size_t> markerOffset;
    std::size_t expectedLength;  // bytes after the marker that are shown (0: none)
};

class Version : public ::testing::TestWithParam<VersionCase> {};

TEST_P(Version, IsThe22BytesAfterTheFirstMarkerWithin600Bytes)
{
    Bytes image = blankImage(GetParam().imageLength);
    const std::string version = "010.065.000.001.000000";
    if (GetParam().markerOffset) {
        putText(image, *GetParam().markerOffset, "ATI VER");
        putText(image, *GetParam().markerOffset + 7, version);
    }
    EXPECT_EQ(versionMarkerOffset(image),
              GetParam().expectedLength ? GetParam().markerOffset : std::nullopt);
    EXPECT_EQ(versionText(image), version.substr(0, GetParam().expectedLength));
}

INSTANTIATE_TEST_SUITE_P(Table, Version,
                         ::testing::Values(VersionCase{"Usual", 64 * 1024, 0x181, 22},
                                           VersionCase{"MarkerEndingAt599", 64 * 1024, 593, 22},
                                           VersionCase{"MarkerEndingAt600", 64 * 1024, 594, 0},
                                           VersionCase{"NoMarker", 64 * 1024, std::nullopt, 0},
                                           VersionCase{"ImageEndsInsideVersion", 610, 593, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Version, FirstMarkerWinsAndHighBytesSurviveAsLatin1)
{
    Bytes image = blankImage();
    putText(image, 0x100, "ATI VER");
    const Bytes raw{'V', 0x80, 0xB2, 0xE4, 0xFF, 0x00, 'x', 'A', 'B', 'C', 'D',
                    'E', 'F',  'G',  'H',  'I',  'J',  'K', 'L', 'M', 'N', 'O'};
    fixtures::putBytes(image, 0x107, raw);
    putText(image, 0x200, "ATI VERsecond marker....");
    EXPECT_EQ(versionBytes(image), raw);
    EXPECT_EQ(versionText(image),
              std::string("V\xC2\x80\xC2\xB2\xC3\xA4\xC3\xBF") + '\0' + "xABCDEFGHIJKLMNO");
}

// --- BIOS date -----------------------------------------------------------------------------

struct DateCase {
    std::string bytes;  // the 14 bytes at 0x50
    std::string label;
};

class Date : public ::testing::TestWithParam<DateCase> {};

TEST_P(Date, SplitsAtSpacesIntoDateAndTime)
{
    ASSERT_EQ(GetParam().bytes.size(), 14u);
    Bytes image = blankImage();
    putText(image, 0x50, GetParam().bytes);
    EXPECT_EQ(dateText(image), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Date,
    ::testing::Values(DateCase{"12/10/07 10:43", "12/10/07  - 10:43"},
                      DateCase{"12/10/07  10:4", "12/10/07  - "},    // empty field 1
                      DateCase{"12/10/07-10:43", "12/10/07-10:43"},  // no space
                      DateCase{" 12/10/07 10:4", "  - 12/10/07"},
                      DateCase{"a b c         ", "a  - b"},
                      DateCase{"\xE4pril 07 10:00", "\xC3\xA4pril  - 07"}));

TEST(Date, ImageEndingInsideTheDateShowsWhatThereIs)
{
    Bytes image(0x58, 0);
    putText(image, 0x50, "12/10/07");
    EXPECT_EQ(dateText(image), "12/10/07");
    EXPECT_EQ(dateText(Bytes(0x40, 0)), "");
}

}  // namespace
}  // namespace clockvane
