// Identifying the card: device ID, memory type and size, the X2 file, the card line, version
// and date.

#include <gtest/gtest.h>

#include <vector>

#include "fixtures/image_builder.h"
#include "image/bios_info.h"
#include "image/card_identity.h"
#include "image/rom_loader.h"

namespace clockvane {
namespace {

using fixtures::putText;

// An image with no identification texts; each case writes its own.
Bytes blankImage(std::size_t length = 64 * 1024)
{
    fixtures::ImageRecipe recipe;
    recipe.length = length;
    recipe.memoryText = "";
    recipe.versionMarkerOffset = std::nullopt;
    return fixtures::buildImage(recipe);
}

TEST(DeviceId, TwoBytesAt0x88LowByteFirstDecideTheCard)
{
    EXPECT_EQ(cardForDeviceId("9501"), CardType::HD3870);
    EXPECT_EQ(cardForDeviceId("9505"), CardType::HD3850);
    EXPECT_EQ(cardForDeviceId("950F"), CardType::HD3870X2);
    for (const char* text : {"950f", "0195", "9502", "95010", " 9501", ""})
        EXPECT_EQ(cardForDeviceId(text), std::nullopt) << text;
    fixtures::ImageRecipe recipe;
    recipe.deviceId = "0195";  // bytes 95 01
    const auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
    EXPECT_EQ(loaded.error().kind, LoadErrorKind::WrongDeviceId);
    EXPECT_EQ(loaded.error().deviceIdText, "0195");
    Bytes image(0x89, 0);
    EXPECT_EQ(deviceIdText(image), "");
}

TEST(Memory, TypeAndSizeFromTheFirst600Bytes)
{
    using MB = MemorySize;
    const struct {
        std::vector<std::pair<std::size_t, std::string>> texts;
        bool gddr4;
        MemorySize size;
    } cases[] = {
        {{{0x1C0, "GDDR4"}, {0x1D0, "256MB"}}, true, MB::MB512},
        {{{596, "DDR4"}}, true, MB::MB512},  // ends at byte 599
        {{{597, "DDR4"}, {0x100, "256MB"}}, false, MB::MB256},
        {{{0x1C0, "GDDR3 512MB"}}, false, MB::MB512},
        {{{0x100, "512MB"}, {0x200, "256MB"}}, false, MB::MB256},  // 256MB wins wherever it is
        {{}, false, MB::Unknown},
        {{{595, "256MB"}}, false, MB::MB256},
        {{{596, "256MB"}}, false, MB::Unknown},
        {{{596, "256MB"}, {590, "512MB"}}, false, MB::MB512},
        {{{0x100, "256mb gddr4"}}, false, MB::Unknown},
    };
    int row = 0;
    for (const auto& c : cases) {
        Bytes image = blankImage();
        for (const auto& [offset, text] : c.texts) putText(image, offset, text);
        EXPECT_EQ(detectMemory(image).isGddr4, c.gddr4) << "row " << row;
        EXPECT_EQ(detectMemory(image).size, c.size) << "row " << row++;
    }
    Bytes shortImage(300, 0x20);
    putText(shortImage, 295, "512MB");
    EXPECT_EQ(detectMemory(shortImage).size, MemorySize::MB512);
}

TEST(X2File, AMarkerAnywhereInAnX2ImageMeansTheSecondFile)
{
    const std::tuple<const char*, std::size_t, CardType, X2File> cases[] = {
        {"950F", 0, CardType::HD3870X2, X2File::First},
        {"950F", 60'000, CardType::HD3870X2, X2File::Second},
        {"950F", 65'536 - 22, CardType::HD3870X2, X2File::Second},
        {"950F", 65'536 - 21, CardType::HD3870X2, X2File::First},  // cut by the end
        {"9501", 60'000, CardType::HD3870, X2File::NotX2},
        {"9505", 60'000, CardType::HD3850, X2File::NotX2}};
    for (const auto& [id, marker, card, x2] : cases) {
        fixtures::ImageRecipe recipe;
        recipe.deviceId = id;
        recipe.optionRomHeader = false;  // keeps the last byte for a marker at the very end
        Bytes image = fixtures::buildImage(recipe);
        if (marker) putText(image, marker, "YOU HAVE NOT CONNECTED");
        const auto loaded = loadRom(RawFile{image, {}});
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(loaded->model, card);
        EXPECT_EQ(loaded->x2File, x2) << id << " " << marker;
    }
}

TEST(CardLine, NamesCardSizeAndType)
{
    EXPECT_EQ(cardLine({CardType::HD3850, false, MemorySize::MB256}), "ATI HD3850 - 256MB GDDR3");
    EXPECT_EQ(cardLine({CardType::HD3870, true, MemorySize::MB512}), "ATI HD3870 - 512MB GDDR4");
    EXPECT_EQ(cardLine({CardType::HD3870X2, false, MemorySize::MB512}),
              "ATI HD3870 X\xC2\xB2 - 512MB GDDR3");
}

TEST(Version, The22BytesAfterTheFirstMarkerEndingWithin600Bytes)
{
    const std::string version = "010.065.000.001.000000";
    const std::tuple<std::size_t, std::optional<std::size_t>, std::size_t> cases[] = {
        {65'536, 0x181, 22},
        {65'536, 593, 22},
        {65'536, 594, 0},
        {65'536, std::nullopt, 0},
        {610, 593, 10}};  // image length, marker, bytes shown
    for (const auto& [length, marker, shown] : cases) {
        Bytes image = blankImage(length);
        if (marker) putText(image, *marker, "ATI VER" + version);
        EXPECT_EQ(versionMarkerOffset(image), shown ? marker : std::nullopt);
        EXPECT_EQ(versionText(image), version.substr(0, shown)) << marker.value_or(0);
    }
    // The first marker wins; high bytes are Latin-1.
    Bytes image = blankImage();
    putText(image, 0x100, "ATI VERV\x80\xE4\xFF");
    putText(image, 0x200, "ATI VERsecond marker....");
    EXPECT_EQ(versionText(image).substr(0, 7), "V\xC2\x80\xC3\xA4\xC3\xBF");
    EXPECT_EQ(versionBytes(image).size(), 22u);
}

TEST(Date, The14BytesAt0x50SplitAtSpaces)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12/10/07 10:43", "12/10/07  - 10:43"},
        {"12/10/07  10:4", "12/10/07  - "},
        {"12/10/07-10:43", "12/10/07-10:43"},
        {" 12/10/07 10:4", "  - 12/10/07"},
        {"a b c         ", "a  - b"},
        {"\xE4pril 07 10:00", "\xC3\xA4pril  - 07"}};
    for (const auto& [bytes, label] : cases) {
        Bytes image = blankImage();
        putText(image, 0x50, bytes);
        EXPECT_EQ(dateText(image), label);
    }
    Bytes cut(0x58, 0);
    putText(cut, 0x50, "12/10/07");
    EXPECT_EQ(dateText(cut), "12/10/07");
    EXPECT_EQ(dateText(Bytes(0x40, 0)), "");
}

}  // namespace
}  // namespace clockvane
