// Reading a file and accepting it as an image: file lengths and errors, the search for the
// clock block, the BIOS's own structure (option ROM, ATOM and PowerPlay tables) and what
// identifies the card (device ID, memory, X2 file, card line, version, date).

#include <gtest/gtest.h>

#include "bytes/sums.h"
#include "files/rom_file.h"
#include "fixtures/image_builder.h"
#include "fixtures/scratch_folder.h"
#include "image/bios_info.h"
#include "image/card_identity.h"
#include "image/option_rom.h"
#include "image/rom_loader.h"
#include "image/rom_structure.h"

namespace clockvane {
namespace {

namespace fs = std::filesystem;
using fixtures::AtomTables;
using fixtures::buildImage;
using fixtures::ImageRecipe;

// A load that succeeds: the parts are the image, cut at the signature.
void expectLoadedAt(const Result<LoadedRom, LoadError>& rom, std::size_t signature)
{
    ASSERT_TRUE(rom.ok());
    EXPECT_EQ(rom->image.signatureOffset, signature);
    EXPECT_EQ(rom->image.head().size(), signature + 12);
    EXPECT_EQ(rom->image.clockBlock().size(), 152u);
    EXPECT_EQ(signature + 164 + rom->image.tail().size(), rom->image.fileImage.size());
    EXPECT_EQ(rom->loadedSum, sum16(rom->image.fileImage));
}

TEST(ReadFile, KeepsTheFirst100000BytesSetsTheRestAsideAndRefusesOver64MiB)
{
    const reliability::ScratchFolder dir;
    const std::pair<std::size_t, std::size_t> lengths[] = {
        {99'999, 99'999}, {100'000, 100'000}, {100'001, 100'000}, {131'072, 100'000}};
    for (const auto& [fileLength, imageLength] : lengths) {
        ImageRecipe recipe;
        recipe.length = fileLength;
        recipe.signatureOffset = 0xE00;
        const Bytes bytes = buildImage(recipe);
        fixtures::writeFile(dir / "image.rom", bytes);
        const auto raw = readRomFile(dir / "image.rom");
        ASSERT_TRUE(raw.ok());
        const auto rom = loadRom(*raw);
        expectLoadedAt(rom, 0xE00);
        EXPECT_EQ(rom->image.fileImage, Bytes(bytes.begin(), bytes.begin() + long(imageLength)));
        EXPECT_EQ(rom->image.beyondImage, Bytes(bytes.begin() + long(imageLength), bytes.end()));
    }
    // Missing, unreadable and non-regular files are the bad-input table's, through the tool.
    fixtures::writeFile(dir / "huge.rom", {});
    fs::resize_file(dir / "huge.rom", 64 * 1024 * 1024 + 1);  // sparse: costs no disk space
    EXPECT_EQ(readRomFile(dir / "huge.rom").error().kind, FileErrorKind::TooLarge);
    fs::resize_file(dir / "huge.rom", 64 * 1024 * 1024);
    EXPECT_TRUE(readRomFile(dir / "huge.rom").ok());
}

TEST(SignatureSearch, FindsTheBlockOnlyWhollyWithin50000BytesAndTheImage)
{
    // Image length, signature offset (0: none), the refusal (none: found).
    using K = LoadErrorKind;
    const std::tuple<std::size_t, std::size_t, std::optional<K>> cases[] = {
        {100'000, 0, K::NoClockBlock},
        {100'000, 49'988, std::nullopt},
        {100'000, 49'989, K::NoClockBlock},
        {100'000, 60'000, K::NoClockBlock},
        {4096, 4096 - 164, std::nullopt},
        {4096, 4096 - 163, K::NoClockBlock},
        {4096, 4096 - 12, K::NoClockBlock},
        {0x8A, 0, K::NoClockBlock},
        {0x89, 0, K::WrongDeviceId},
        {1, 0, K::WrongDeviceId},
        {0, 0, K::WrongDeviceId}};
    for (const auto& [length, signature, refusal] : cases) {
        ImageRecipe recipe;
        recipe.length = length;
        recipe.signatureOffset = signature ? std::optional(signature) : std::nullopt;
        recipe.optionRomHeader = false;  // its checksum byte would land in a block at the end
        const auto rom = loadRom(splitFileBytes(buildImage(recipe)));
        if (!refusal) {
            expectLoadedAt(rom, signature);
            EXPECT_EQ(rom->clocks.working, recipe.entries);
        } else {
            EXPECT_EQ(rom.error().kind, *refusal) << length << " " << signature;
            EXPECT_EQ(rom.error().deviceIdText, length < 0x8A ? "" : "9501");
        }
    }
    // Part of the signature, then a run restarting it half way right in front of the real one;
    // a second signature later.
    ImageRecipe recipe;
    recipe.length = 100'000;
    recipe.signatureOffset = 40'000;
    Bytes bytes = buildImage(recipe);
    fixtures::putBytes(bytes, 0x1000, Bytes{1, 1, 2, 3, 2, 4, 5, 6, 3, 7, 8});
    fixtures::putBytes(bytes, 40'000 - 6, Bytes{1, 1, 2, 3, 2, 4});
    fixtures::putBytes(bytes, 45'000, Bytes{1, 1, 2, 3, 2, 4, 5, 6, 3, 7, 8, 9});
    expectLoadedAt(loadRom(splitFileBytes(bytes)), 40'000);
}

// A real HD 3870 image of 131,072 bytes places its tables like this; every number is worked
// out by hand from that image's layout, not taken from the reader or the builder.
TEST(RomStructure, ReadsTheWorkedExampleAtTheHandComputedOffsets)
{
    const Bytes file = buildImage(fixtures::fullSizeWithTables());
    // The state array: state 0, then the signature the search finds.
    EXPECT_EQ(Bytes(file.begin() + 0xAE92, file.begin() + 0xAEA2),
              (Bytes{0, 0, 0, 0, 1, 1, 2, 3, 2, 4, 5, 6, 3, 7, 8, 9}));

    const auto rom = loadRom(splitFileBytes(file));
    expectLoadedAt(rom, 0xAE96);
    const RomStructure& s = rom->structure;
    EXPECT_EQ(
        std::tuple(s.optionRomLength.value_or(0), s.optionRomChecksum, s.cutShort, s.atomHeader),
        std::tuple(std::size_t{63'488}, OptionRomChecksum::Valid, false, true));
    EXPECT_EQ(std::tuple(s.subsystemVendorId, s.subsystemId), std::tuple(0x1A2B, 0x3C4D));
    ASSERT_TRUE(s.powerPlay && s.powerPlay->layout);
    EXPECT_EQ(
        std::tuple(s.powerPlay->offset, s.powerPlay->formatRevision, s.powerPlay->contentRevision),
        std::tuple(std::size_t{0xAE6A}, 4, 1));
    const PowerPlayLayout& layout = *s.powerPlay->layout;
    EXPECT_EQ((std::array{layout.stateCount, layout.stateEntrySize, layout.clockInfoSize,
                          layout.clockInfoOffset, layout.clockInfoCount.value_or(0)}),
              (std::array<std::size_t, 5>{4, 4, 16, 0xAEA2, 10}));
    EXPECT_EQ(rom->clockTableCheck, ClockTableCheck::Confirmed);

    // State 0's first clock-info index counts too: index 11 makes 12 entries.
    Bytes state0 = file;
    state0[0xAE93] = 11;
    EXPECT_EQ(loadRom(splitFileBytes(state0))->structure.powerPlay->layout->clockInfoCount, 12u);
}

// Images of 0xC000 bytes with the signature at 0x5A10: the clock block is at 0x5A1C; 0xF000
// lies past the end, a ROM header at 0xBFDF has its last byte cut off by it. With 255 states the
// state array runs past an image that ends with the clock block. An option ROM of 4 blocks puts a 4
// at byte 2, where a PowerPlay table at offset 0 would keep its format revision.
TEST(RomStructure, TheTablesAloneConfirmContradictOrCannotTell)
{
    int row = 0;
    const auto check = [&row](std::optional<AtomTables> atom, ClockTableCheck expected,
                              std::optional<std::uint8_t> optionRomBlocks = std::nullopt) {
        SCOPED_TRACE("row " + std::to_string(row++));
        ImageRecipe recipe;
        recipe.length = atom && atom->stateCount == 255 ? 0x5AB4 : 0xC000;
        recipe.atom = atom;
        recipe.optionRomBlocks = optionRomBlocks;
        const auto rom = loadRom(splitFileBytes(buildImage(recipe)));
        ASSERT_TRUE(rom.ok());
        EXPECT_EQ(rom->image.clockBlockOffset(), 0x5A1Cu);
        EXPECT_EQ(rom->clockTableCheck, expected);
    };
    using A = AtomTables;
    check(A{}, ClockTableCheck::Confirmed);
    check(std::nullopt, ClockTableCheck::NotAvailable);
    for (const A& atom :
         {A{.romHeader = std::nullopt}, A{.atomText = false}, A{.romHeader = 0xF000},
          A{.romHeader = 0xC000 - 0x21}, A{.masterDataTable = std::nullopt},
          A{.masterDataTable = 0xF000}, A{.masterDataTableSize = 35}, A{.powerPlay = false},
          A{.powerPlayOffset = 0xF000}, A{.formatRevision = 3}, A{.powerPlayOffset = 0xC000 - 14}})
        check(atom, ClockTableCheck::NotAvailable);
    check(A{.powerPlay = false}, ClockTableCheck::NotAvailable, 4);
    // The header's last field, the master data table's offset at +0x20, ends the file; the
    // option ROM's checksum byte goes to the end of 4 blocks so as not to land on it.
    check(A{.romHeader = 0xC000 - 0x22}, ClockTableCheck::Confirmed, 4);
    for (const A& atom :
         {A{.clockInfoOffset = 0x5A2C}, A{.clockInfoOffset = 0xF000}, A{.clockInfoSize = 20},
          A{.stateCount = 3}, A{.masterDataTable = 0x300, .stateCount = 255},
          A{.powerPlayOffset = 0xC000 - 15}})  // its 15 fixed bytes end with the file
        check(atom, ClockTableCheck::Contradicted);
}

TEST(RomStructure, ADumpShorterThanItsOptionRomsLengthByteTimes512IsCutShort)
{
    // Length byte (0: no 55 AA), file length, cut short.
    const std::tuple<std::uint8_t, std::size_t, bool> cases[] = {
        {128, 65'535, true},  {128, 65'536, false},  {128, 65'537, false}, {255, 100'000, true},
        {255, 130'559, true}, {255, 130'560, false}, {0, 65'535, false}};
    for (const auto& [blocks, length, cut] : cases) {
        ImageRecipe recipe;
        recipe.length = 131'072;
        recipe.optionRomHeader = blocks != 0;
        recipe.optionRomBlocks = blocks;
        Bytes file = buildImage(recipe);
        file.resize(length);
        const auto rom = loadRom(splitFileBytes(file));
        ASSERT_TRUE(rom.ok());
        EXPECT_EQ(rom->structure.cutShort, cut) << length;
        EXPECT_EQ(rom->structure.optionRomLength.value_or(0), blocks * 512u);
        // A cut option ROM has no sum to check; a whole one keeps the builder's valid sum.
        const auto expected = cut ? OptionRomChecksum::NotApplicable : OptionRomChecksum::Valid;
        EXPECT_EQ(blocks != 0 ? rom->structure.optionRomChecksum : expected, expected);
    }

    Bytes optionRom(1024, 0);
    fixtures::putBytes(optionRom, 0, Bytes{0x55, 0xAA, 1});  // 512 bytes, summing to 0x100
    optionRom[700] = 0x33;                                   // past the declared length
    EXPECT_EQ(optionRomChecksum(optionRom), OptionRomChecksum::Valid);
    Bytes changed = optionRom;
    changed[5] = 2;
    EXPECT_EQ(optionRomChecksum(changed), OptionRomChecksum::Invalid);
    EXPECT_FALSE(optionRomSumUnchanged(optionRom, changed));
    changed[6] = 0xFE;  // +2 and +0xFE balance modulo 256
    EXPECT_TRUE(optionRomSumUnchanged(optionRom, changed));
    EXPECT_EQ(firstChangePastOptionRom(optionRom, changed), std::nullopt);
    changed[512] = changed[900] = 1;
    EXPECT_EQ(firstChangePastOptionRom(optionRom, changed), 512u);
    optionRom[2] = 0;  // a length of 0 declares nothing
    EXPECT_EQ(optionRomChecksum(optionRom), OptionRomChecksum::NotApplicable);
}

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
    EXPECT_EQ(std::tuple(cardForDeviceId("9501"), cardForDeviceId("9505"), cardForDeviceId("950F")),
              std::tuple(CardType::HD3870, CardType::HD3850, CardType::HD3870X2));
    for (const char* text : {"950f", "0195", "9502", "95010", " 9501", ""})
        EXPECT_EQ(cardForDeviceId(text), std::nullopt) << text;
    fixtures::ImageRecipe recipe;
    recipe.deviceId = "0195";  // bytes 95 01
    const auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
    EXPECT_EQ(loaded.error().kind, LoadErrorKind::WrongDeviceId);
    EXPECT_EQ(loaded.error().deviceIdText, "0195");
}

TEST(Memory, TypeAndSizeFromTheFirst600Bytes)
{
    using MB = MemorySize;
    // Up to two texts at their offsets, then whether GDDR4 and the size; 256MB wins anywhere.
    using Row = std::tuple<std::size_t, const char*, std::size_t, const char*, bool, MB>;
    for (const auto& [at1, text1, at2, text2, gddr4, size] :
         {Row{0x1C0, "GDDR4", 0x1D0, "256MB", true, MB::MB512},
          Row{596, "DDR4", 0, "", true, MB::MB512},
          Row{597, "DDR4", 0x100, "256MB", false, MB::MB256},
          Row{0x100, "512MB", 0x200, "256MB", false, MB::MB256},
          Row{595, "256MB", 0, "", false, MB::MB256}, Row{596, "256MB", 0, "", false, MB::Unknown},
          Row{596, "256MB", 590, "512MB", false, MB::MB512},
          Row{0x100, "256mb gddr4", 0, "", false, MB::Unknown}}) {
        Bytes image = blankImage();
        putText(image, at1, text1);
        putText(image, at2, text2);
        EXPECT_EQ(detectMemory(image).isGddr4, gddr4) << at1 << text1;
        EXPECT_EQ(detectMemory(image).size, size) << at1 << text1;
    }
}

TEST(X2File, AMarkerAnywhereInAnX2ImageMeansTheSecondFile)
{
    // Marker offset in a 65,536-byte image (0: none); at 65,515 its last byte is cut off.
    using Row = std::pair<std::size_t, X2File>;
    for (const auto& [marker, x2] : {Row{0, X2File::First}, Row{60'000, X2File::Second},
                                     Row{65'514, X2File::Second}, Row{65'515, X2File::First}}) {
        Bytes image = blankImage();
        if (marker) putText(image, marker, "YOU HAVE NOT CONNECTED");
        EXPECT_EQ(x2FileNumber(image), x2) << marker;
    }
    for (const char* id : {"950F", "9501"}) {
        fixtures::ImageRecipe recipe;
        recipe.deviceId = id;
        recipe.x2SecondFile = true;
        const auto loaded = loadRom(RawFile{fixtures::buildImage(recipe), {}});
        EXPECT_EQ(loaded->x2File, id[3] == 'F' ? X2File::Second : X2File::NotX2);
    }
}

TEST(CardLine, NamesCardSizeAndType)
{
    EXPECT_EQ(cardLine({CardType::HD3870, true, MemorySize::MB512}), "ATI HD3870 - 512MB GDDR4");
    EXPECT_EQ(cardLine({CardType::HD3870X2, false, MemorySize::MB512}),
              "ATI HD3870 X\xC2\xB2 - 512MB GDDR3");
}

TEST(Version, The22BytesAfterTheFirstMarkerEndingWithin600Bytes)
{
    const std::string version = "010.065.000.001.000000";
    // Image length, marker, bytes shown.
    using Row = std::tuple<std::size_t, std::optional<std::size_t>, std::size_t>;
    for (const auto& [length, marker, shown] : {Row{65'536, 593, 22}, Row{65'536, 594, 0},
                                                Row{65'536, std::nullopt, 0}, Row{610, 593, 10}}) {
        Bytes image = blankImage(length);
        if (marker) putText(image, *marker, "ATI VER" + version);
        EXPECT_EQ(versionMarkerOffset(image), shown ? marker : std::nullopt);
        EXPECT_EQ(versionText(image), version.substr(0, shown)) << marker.value_or(0);
    }
}

TEST(Date, The14BytesAt0x50SplitAtSpaces)
{
    using Row = std::pair<const char*, const char*>;  // the 14 bytes at 0x50, the label
    for (const auto& [bytes, label] :
         {Row{"12/10/07 10:43", "12/10/07  - 10:43"}, Row{"12/10/07  10:4", "12/10/07  - "},
          Row{"12/10/07-10:43", "12/10/07-10:43"}, Row{" 12/10/07 10:4", "  - 12/10/07"},
          Row{"a b c         ", "a  - b"}, Row{"\xE4pril 07 10:00", "\xC3\xA4pril  - 07"}}) {
        Bytes image = blankImage();
        putText(image, 0x50, bytes);
        EXPECT_EQ(dateText(image), label);
    }
}

}  // namespace
}  // namespace clockvane
