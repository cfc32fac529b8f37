// Reading a file and accepting it as an image: file lengths and errors, the search for the
// clock block, and the BIOS's own structure (option ROM, ATOM and PowerPlay tables).

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

#include "bytes/sums.h"
#include "files/rom_file.h"
#include "fixtures/image_builder.h"
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

TEST(ReadFile, KeepsTheFirst100000BytesSetsTheRestAsideAndReportsErrors)
{
    const fs::path dir = fs::temp_directory_path() / ("clockvane-read-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::pair<std::size_t, std::size_t> lengths[] = {{65'536, 65'536},   {4096, 4096},
                                                           {99'999, 99'999},   {100'000, 100'000},
                                                           {100'001, 100'000}, {131'072, 100'000}};
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
    fs::create_directory(dir / "folder.rom");
    fixtures::writeFile(dir / "locked.rom", Bytes(10, 0));
    fs::permissions(dir / "locked.rom", fs::perms::none);
    fixtures::writeFile(dir / "huge.rom", {});
    fs::resize_file(dir / "huge.rom", 64 * 1024 * 1024 + 1);  // sparse: costs no disk space
    const std::tuple<const char*, FileErrorKind, int> errors[] = {
        {"absent.rom", FileErrorKind::NotFound, ENOENT},
        {"folder.rom", FileErrorKind::NotAFile, EISDIR},
        {"locked.rom", FileErrorKind::AccessDenied, EACCES}};
    // The superuser reads with an unprivileged user's file-system identity (setfsuid).
    if (::geteuid() == 0) ::setfsuid(65534);
    for (const auto& [name, kind, systemError] : errors) {
        const auto raw = readRomFile(dir / name);
        ASSERT_FALSE(raw.ok()) << name;
        EXPECT_EQ(raw.error().kind, kind);
        EXPECT_EQ(raw.error().reason, std::generic_category().message(systemError));
    }
    if (::geteuid() == 0) ::setfsuid(0);
    EXPECT_EQ(readRomFile(dir / "huge.rom").error().kind, FileErrorKind::TooLarge);
    fs::resize_file(dir / "huge.rom", 64 * 1024 * 1024);
    EXPECT_TRUE(readRomFile(dir / "huge.rom").ok());
    fs::remove_all(dir);
}

TEST(SignatureSearch, FindsTheBlockOnlyWhollyWithin50000BytesAndTheImage)
{
    // Image length, signature offset (0: none), found.
    const std::tuple<std::size_t, std::size_t, bool> cases[] = {
        {100'000, 0, false},      {100'000, 49'988, true},  {100'000, 49'989, false},
        {100'000, 60'000, false}, {4096, 4096 - 164, true}, {4096, 4096 - 163, false},
        {4096, 4096 - 12, false}, {0x8A, 0, false}};
    for (const auto& [length, signature, found] : cases) {
        ImageRecipe recipe;
        recipe.length = length;
        recipe.signatureOffset = signature ? std::optional(signature) : std::nullopt;
        recipe.optionRomHeader = false;  // its checksum byte would land in a block at the end
        const auto rom = loadRom(splitFileBytes(buildImage(recipe)));
        if (found) {
            expectLoadedAt(rom, signature);
            EXPECT_EQ(rom->clocks.working, recipe.entries);
        } else {
            EXPECT_EQ(rom.error().kind, LoadErrorKind::NoClockBlock) << signature;
            EXPECT_EQ(rom.error().deviceIdText, "9501");
        }
    }
    for (const std::size_t length : {0, 1, 0x89}) {  // too short for the device ID
        ImageRecipe recipe;
        recipe.length = length;
        const auto rom = loadRom(splitFileBytes(buildImage(recipe)));
        EXPECT_EQ(rom.error().kind, LoadErrorKind::WrongDeviceId);
        EXPECT_EQ(rom.error().deviceIdText, "");
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
    ImageRecipe recipe;
    recipe.length = 131'072;
    recipe.signatureOffset = 0xAE96;
    recipe.optionRomBlocks = 124;
    recipe.atom = AtomTables{};
    recipe.atom->romHeader = 0x23C;
    recipe.atom->masterDataTable = 0xA724;
    recipe.atom->powerPlayOffset = 0xAE6A;
    const Bytes file = buildImage(recipe);
    // 0x48 -> 0x23C, header + 0x20 -> 0xA724, master data table + 4 + 2 x 15 -> 0xAE6A; the
    // state array 0x28 and the clock-info array 0x38 bytes into the PowerPlay table.
    const std::pair<std::size_t, std::uint8_t> pointers[] = {
        {0x48, 0x3C},   {0x49, 0x02},   {0x25C, 0x24},  {0x25D, 0xA7},
        {0xA746, 0x6A}, {0xA747, 0xAE}, {0xAE73, 0x28}, {0xAE75, 0x38}};
    for (const auto& [at, byte] : pointers) EXPECT_EQ(file[at], byte) << at;
    EXPECT_EQ(Bytes(file.begin() + 0xAE92, file.begin() + 0xAEA2),
              (Bytes{0, 0, 0, 0, 1, 1, 2, 3, 2, 4, 5, 6, 3, 7, 8, 9}));

    const auto rom = loadRom(splitFileBytes(file));
    expectLoadedAt(rom, 0xAE96);
    const RomStructure& structure = rom->structure;
    EXPECT_EQ(structure.optionRomLength, 63'488u);
    EXPECT_EQ(structure.optionRomChecksum, OptionRomChecksum::Valid);
    EXPECT_FALSE(structure.cutShort);
    EXPECT_TRUE(structure.atomHeader);
    EXPECT_EQ(structure.subsystemVendorId, 0x1A2B);
    EXPECT_EQ(structure.subsystemId, 0x3C4D);
    ASSERT_TRUE(structure.powerPlay && structure.powerPlay->layout);
    EXPECT_EQ(structure.powerPlay->offset, 0xAE6Au);
    EXPECT_EQ(structure.powerPlay->formatRevision, 4);
    EXPECT_EQ(structure.powerPlay->contentRevision, 1);
    const PowerPlayLayout& layout = *structure.powerPlay->layout;
    EXPECT_EQ((std::array{layout.stateCount, layout.stateEntrySize, layout.clockInfoSize,
                          layout.clockInfoOffset, layout.clockInfoCount.value_or(0)}),
              (std::array<std::size_t, 5>{4, 4, 16, 0xAEA2, 10}));
    EXPECT_EQ(rom->clockTableCheck, ClockTableCheck::Confirmed);
}

// Images of 0xC000 bytes with the signature at 0x5A10: the clock block is at 0x5A1C; 0xF000
// lies past the end, 0xBFF0 leaves the ROM header cut by it. With 255 states the state array
// runs past an image that ends with the clock block.
TEST(RomStructure, TheTablesAloneConfirmContradictOrCannotTell)
{
    using enum ClockTableCheck;
    using A = AtomTables;
    const std::pair<std::optional<AtomTables>, ClockTableCheck> cases[] = {
        {A{}, Confirmed},
        {std::nullopt, NotAvailable},
        {A{.romHeader = std::nullopt}, NotAvailable},
        {A{.atomText = false}, NotAvailable},
        {A{.romHeader = 0xF000}, NotAvailable},
        {A{.romHeader = 0xBFF0}, NotAvailable},
        {A{.masterDataTable = std::nullopt}, NotAvailable},
        {A{.masterDataTable = 0xF000}, NotAvailable},
        {A{.powerPlay = false}, NotAvailable},
        {A{.powerPlayOffset = 0xF000}, NotAvailable},
        {A{.formatRevision = 3}, NotAvailable},
        {A{.clockInfoOffset = 0x5A2C}, Contradicted},
        {A{.clockInfoOffset = 0xF000}, Contradicted},
        {A{.clockInfoSize = 20}, Contradicted},
        {A{.stateCount = 3}, Contradicted},
        {A{.masterDataTable = 0x300, .stateCount = 255}, Contradicted}};
    int row = 0;
    for (const auto& [atom, expected] : cases) {
        ImageRecipe recipe;
        recipe.length = atom && atom->stateCount == 255 ? 0x5AB4 : 0xC000;
        recipe.atom = atom;
        const auto rom = loadRom(splitFileBytes(buildImage(recipe)));
        ASSERT_TRUE(rom.ok()) << "row " << row;
        EXPECT_EQ(rom->image.clockBlockOffset(), 0x5A1Cu) << "row " << row;
        EXPECT_EQ(rom->clockTableCheck, expected) << "row " << row++;
    }
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
        EXPECT_EQ(rom->image.fileLength(), length);
        EXPECT_EQ(rom->structure.optionRomLength.value_or(0), blocks * 512u);
        // A cut option ROM has no sum to check; a whole one keeps the builder's valid sum.
        const auto expected = cut ? OptionRomChecksum::NotApplicable : OptionRomChecksum::Valid;
        EXPECT_EQ(blocks != 0 ? rom->structure.optionRomChecksum : expected, expected);
    }

    Bytes optionRom(1024, 0);
    optionRom[0] = 0x55;
    optionRom[1] = 0xAA;
    optionRom[2] = 1;                          // 512 bytes
    optionRom[511] = 0x100 - 0x55 - 0xAA - 1;  // the 8-bit sum of the 512 bytes is 0
    optionRom[700] = 0x33;                     // past the declared length: not counted
    EXPECT_EQ(optionRomChecksum(optionRom), OptionRomChecksum::Valid);
    Bytes changed = optionRom;
    changed[5] = 2;
    changed[6] = 0xFF;  // +0x101: the 8-bit sum moves by 1
    EXPECT_EQ(optionRomChecksum(changed), OptionRomChecksum::Invalid);
    EXPECT_FALSE(optionRomSumUnchanged(optionRom, changed));
    EXPECT_EQ(firstChangePastOptionRom(optionRom, changed), std::nullopt);
    changed[6] = 0xFE;  // +2 and +0xFE balance modulo 256
    EXPECT_TRUE(optionRomSumUnchanged(optionRom, changed));
    changed[512] = changed[900] = 1;
    EXPECT_EQ(firstChangePastOptionRom(optionRom, changed), 512u);
    optionRom[2] = 0;  // a length of 0 declares nothing
    EXPECT_EQ(optionRomChecksum(optionRom), OptionRomChecksum::NotApplicable);
    EXPECT_EQ(optionRomChecksum(Bytes{0x55, 0xAA}), OptionRomChecksum::NotApplicable);
}

}  // namespace
}  // namespace clockvane
