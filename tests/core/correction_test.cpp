#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bytes/sums.h"
#include "edit/correction.h"
#include "fixtures/image_builder.h"

namespace clockvane {
namespace {

// --- CorrectCRC -------------------------------------------------------------------------

// Byte k (0-7) of an entry's value fields in image order: gpuClock 0-2, ramClock 3-5, vcore 6-7.
struct BytePlace {
    int field;  // 0 gpuClock, 1 ramClock, 2 vcore
    int shift;
};
BytePlace placeOf(int k)
{
    return k < 3   ? BytePlace{0, 8 * k}
           : k < 6 ? BytePlace{1, 8 * (k - 3)}
                   : BytePlace{2, 8 * (k - 6)};
}

int entryByte(const ClockEntry& entry, int k)
{
    const BytePlace place = placeOf(k);
    const std::uint32_t field = place.field == 0   ? entry.gpuClock
                                : place.field == 1 ? entry.ramClock
                                                   : entry.vcore;
    return static_cast<int>((field >> place.shift) & 0xFF);
}

void setEntryByte(ClockEntry& entry, int k, int value)
{
    const BytePlace place = placeOf(k);
    const auto replace = [&](std::uint32_t field) {
        return (field & ~(0xFFu << place.shift)) |
               (static_cast<std::uint32_t>(value) << place.shift);
    };
    if (place.field == 0) entry.gpuClock = replace(entry.gpuClock);
    if (place.field == 1) entry.ramClock = replace(entry.ramClock);
    if (place.field == 2) entry.vcore = static_cast<std::uint16_t>(replace(entry.vcore));
}

// A working copy as the write-back leaves it (every compensation byte 0x7F, every other
// value byte 0x80) and an as-read copy whose clock-field sum is `workingMinusRead` lower.
ClockSet clocksWithDifference(int workingMinusRead)
{
    ClockSet clocks;
    for (ClockEntry& entry : clocks.working) entry = {0x80807F, 0x80807F, 0x8080};
    clocks.asRead = clocks.working;
    int remaining = -workingMinusRead;
    for (ClockEntry& entry : clocks.asRead) {
        for (int k = 0; k < 8 && remaining != 0; ++k) {
            const int byte = entryByte(entry, k);
            const int moved = std::clamp(byte + remaining, 0, 0xFF);
            setEntryByte(entry, k, moved);
            remaining -= moved - byte;
        }
    }
    EXPECT_EQ(ClockFieldSum(clocks.working) - ClockFieldSum(clocks.asRead), workingMinusRead);
    return clocks;
}

struct CompensationCase {
    std::string name;
    int workingMinusRead;  // C - L
    bool balanced;
    std::uint8_t everyByte;  // the twenty compensation bytes after the call...
    std::uint8_t entry0Gpu;  // ...except entry 0's gpuClock one
    friend void PrintTo(const CompensationCase& c, std::ostream* out) { *out << c.name; }
};

class CorrectCRCCases : public ::testing::TestWithParam<CompensationCase> {};

TEST_P(CorrectCRCCases, MovesTheCompensationBytesOrLeavesThemAt7F)
{
    const CompensationCase& c = GetParam();
    ClockSet clocks = clocksWithDifference(c.workingMinusRead);
    const ClockSet before = clocks;
    EXPECT_EQ(CorrectCRC(clocks), c.balanced);
    for (std::size_t j = 0; j < kEntryCount; ++j) {
        const ClockEntry& entry = clocks.working[j];
        EXPECT_EQ(compensationByte(entry.gpuClock), j == 0 ? c.entry0Gpu : c.everyByte)
            << "entry " << j;
        EXPECT_EQ(compensationByte(entry.ramClock), c.everyByte) << "entry " << j;
        // Only the lowest byte of a clock field moves; every field keeps its three bytes.
        EXPECT_EQ(entry.gpuClock >> 8, 0x8080u);
        EXPECT_EQ(entry.ramClock >> 8, 0x8080u);
        EXPECT_EQ(entry.vcore, 0x8080u);
    }
    EXPECT_EQ(clocks.asRead, before.asRead);
    if (c.balanced) {
        EXPECT_EQ(ClockFieldSum(clocks.working), ClockFieldSum(clocks.asRead));
    }
}

INSTANTIATE_TEST_SUITE_P(Differences, CorrectCRCCases,
                         ::testing::Values(CompensationCase{"Equal", 0, true, 0x7F, 0x7F},
                                           CompensationCase{"UpByOne", 1, true, 0x7F, 0x7E},
                                           CompensationCase{"DownByOne", -1, true, 0x7F, 0x80},
                                           CompensationCase{"Up45", 45, true, 0x7D, 0x78},
                                           CompensationCase{"Up2540", 2540, true, 0x00, 0x00},
                                           CompensationCase{"Up2539", 2539, false, 0x7F, 0x7F},
                                           CompensationCase{"Up2541", 2541, false, 0x7F, 0x7F},
                                           CompensationCase{"Down2560", -2560, true, 0xFF, 0xFF},
                                           CompensationCase{"Down2561", -2561, false, 0x7F, 0x7F}),
                         [](const auto& info) { return info.param.name; });

TEST(CorrectCRC, ChangesNothingWhenTheBytesDoNotStartAt7FAndTheResultWouldNotBalance)
{
    // A compensation byte the write-back did not set breaks the arithmetic; the attempt is
    // checked before anything is kept.
    ClockSet clocks = clocksWithDifference(1);
    clocks.working[5].ramClock = withCompensationByte(clocks.working[5].ramClock, 0x10);
    clocks.asRead[5].ramClock = withCompensationByte(clocks.asRead[5].ramClock, 0x10);
    // With the stray byte, C - L is still 1, but setting all twenty bytes adds 0x6F as well.
    const ClockSet before = clocks;
    EXPECT_FALSE(CorrectCRC(clocks));
    EXPECT_EQ(clocks.working, before.working);
}

// --- Classic correction -----------------------------------------------------------------

constexpr std::size_t kHeadSize = 1200;

RomImage classicImage(std::optional<std::size_t> marker)
{
    RomImage image;
    Bytes& bytes = image.fileImage;
    bytes.resize(kHeadSize);
    for (std::size_t i = 0; i < kHeadSize; ++i) bytes[i] = static_cast<std::uint8_t>(0x10 + i % 7);
    if (marker) fixtures::putText(bytes, *marker, "ATI VER");
    bytes.insert(bytes.end(), 152, 0x11);  // the clock block
    bytes.insert(bytes.end(), 300, 0x02);  // the tail
    image.signatureOffset = kHeadSize - 12;
    image.outputImage = bytes;
    return image;
}

// The image sum once the 76 bytes before `marker` hold 0x7F.
int filledSum(RomImage image, std::size_t marker)
{
    std::fill_n(image.outputImage.begin() + static_cast<std::ptrdiff_t>(marker - 129), 76, 0x7F);
    return sum16(image.outputImage);
}

Bytes area(std::initializer_list<std::pair<std::size_t, std::uint8_t>> runs)
{
    Bytes bytes;
    for (const auto& [count, value] : runs) bytes.insert(bytes.end(), count, value);
    bytes.resize(76, 0x7F);
    return bytes;
}

struct ClassicCase {
    std::string name;
    std::optional<std::size_t> marker;
    int loadedMinusFilled;  // S0 - S2 (S2 is the current sum when there is no area to fill)
    bool balanced;
    Bytes expectedArea;  // empty: the image must be left exactly as it was
    friend void PrintTo(const ClassicCase& c, std::ostream* out) { *out << c.name; }
};

class ClassicCorrection : public ::testing::TestWithParam<ClassicCase> {};

TEST_P(ClassicCorrection, RewritesOnlyTheAreaOrNothingAtAll)
{
    const ClassicCase& c = GetParam();
    RomImage image = classicImage(c.marker);
    const RomImage before = image;
    const bool usable = !c.expectedArea.empty();
    const bool hasArea = c.marker && *c.marker >= 129;
    const int reference = hasArea ? filledSum(image, *c.marker) : sum16(image.outputImage);
    const auto loaded = static_cast<std::uint16_t>(reference + c.loadedMinusFilled);

    EXPECT_EQ(ChecksummenKorrekturFinal(image, loaded), c.balanced);
    if (!usable) {
        EXPECT_EQ(image.fileImage, before.fileImage);
        EXPECT_EQ(image.outputImage, before.outputImage);
        return;
    }
    // The area changes in the output only; head stays as loaded for the next save.
    EXPECT_EQ(image.fileImage, before.fileImage);
    const std::size_t start = *c.marker - 129;
    EXPECT_EQ(Bytes(image.outputImage.begin() + static_cast<std::ptrdiff_t>(start),
                    image.outputImage.begin() + static_cast<std::ptrdiff_t>(start + 76)),
              c.expectedArea);
    for (std::size_t i = 0; i < image.outputImage.size(); ++i) {
        if (i < start || i >= start + 76) {
            ASSERT_EQ(image.outputImage[i], before.outputImage[i]) << i;
        }
    }
    EXPECT_EQ(sum16(image.outputImage), loaded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClassicCorrection,
    ::testing::Values(ClassicCase{"Up300", 400, 300, true, area({{2, 0xFE}, {1, 0xAD}})},
                      ClassicCase{"Down100", 400, -100, true, area({{1, 0x1B}})},
                      ClassicCase{"BalancedByTheFillAlone", 400, 0, true, area({})},
                      ClassicCase{"LargestUp", 400, 9651, true, area({{75, 0xFE}, {1, 0xFD}})},
                      ClassicCase{"LargestDown", 400, -9651, true, area({{75, 0x00}, {1, 0x01}})},
                      ClassicCase{"OneFullByteTooManyUp", 400, 9652, false, {}},
                      ClassicCase{"OneFullByteTooManyDown", 400, -9652, false, {}},
                      ClassicCase{"MarkerAt129StartsTheAreaAtZero", 129, 300, true,
                                  area({{2, 0xFE}, {1, 0xAD}})},
                      ClassicCase{"MarkerAt128WouldStartBeforeTheImage", 128, 300, false, {}},
                      ClassicCase{"MarkerEndingAtByte999", 993, -100, true, area({{1, 0x1B}})},
                      ClassicCase{"MarkerEndingPastByte999", 994, -100, false, {}},
                      ClassicCase{"NoMarker", std::nullopt, 300, false, {}}),
    [](const auto& info) { return info.param.name; });

TEST(ClassicCorrectionGuards, ABalancedImageIsLeftAsItIsEvenWithoutAMarker)
{
    RomImage image = classicImage(std::nullopt);
    const RomImage before = image;
    EXPECT_TRUE(ChecksummenKorrekturFinal(image, sum16(image.outputImage)));
    EXPECT_EQ(image.fileImage, before.fileImage);
    EXPECT_EQ(image.outputImage, before.outputImage);
}

TEST(ClassicCorrectionGuards, TheDifferenceIsNotTakenAcrossTheWrapOfTheSixteenBitSum)
{
    // Lengthen the tail until the filled sum is 0x0020; a loaded sum of 0xFFF0 is then 65,488
    // away in plain arithmetic, far beyond the area's reach, though only 48 modulo 0x10000.
    RomImage image = classicImage(400);
    int missing = (0x10020 - filledSum(image, 400)) % 0x10000;
    for (; missing > 0; missing -= std::min(missing, 0xFF)) {
        const auto byte = static_cast<std::uint8_t>(std::min(missing, 0xFF));
        image.fileImage.push_back(byte);
        image.outputImage.push_back(byte);
    }
    ASSERT_EQ(filledSum(image, 400), 0x20);
    const RomImage before = image;
    const std::uint16_t loaded = 0xFFF0;
    EXPECT_FALSE(ChecksummenKorrekturFinal(image, loaded));
    EXPECT_EQ(image.fileImage, before.fileImage);
    EXPECT_EQ(image.outputImage, before.outputImage);
}

TEST(AssembleOutputImage, RebuildsTheBlockFromTheWorkingCopyInTheImageAsLoaded)
{
    fixtures::ImageRecipe recipe;
    recipe.length = 0x8000;
    const Bytes file = fixtures::buildImage(recipe);
    const std::size_t block = *recipe.signatureOffset + 12;
    RomImage image;
    image.fileImage = file;
    std::fill_n(image.fileImage.begin() + static_cast<std::ptrdiff_t>(block), kClockBlockSize, 0);
    image.signatureOffset = *recipe.signatureOffset;
    image.outputImage.assign(10, 0xEE);  // an earlier save's output: must not survive
    ClockSet clocks;
    clocks.working = recipe.entries;
    clocks.trailers = recipe.trailers;
    assembleOutputImage(image, clocks);
    EXPECT_EQ(image.outputImage, file);
}

}  // namespace
}  // namespace clockvane
