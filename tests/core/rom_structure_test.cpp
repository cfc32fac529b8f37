// The image's own structure: the option ROM header, the ATOM tables that lead to the PowerPlay
// table, and whether that table confirms the clock block the signature search found.

#include <gtest/gtest.h>

#include <functional>

#include "files/rom_file.h"
#include "fixtures/image_builder.h"
#include "image/option_rom.h"
#include "image/rom_loader.h"
#include "image/rom_structure.h"

namespace clockvane {
namespace {

using fixtures::AtomTables;
using fixtures::ImageRecipe;

LoadedRom load(const Bytes& file)
{
    auto loaded = loadRom(splitFileBytes(file));
    EXPECT_TRUE(loaded.ok());
    return std::move(loaded).value();
}

// A real HD 3870 image of 131,072 bytes places its tables like this; every number below is
// worked out by hand from that image's layout, not taken from the reader or the builder.
ImageRecipe workedExample()
{
    ImageRecipe recipe;
    recipe.length = 131'072;
    recipe.signatureOffset = 0xAE96;
    recipe.optionRomBlocks = 124;
    recipe.atom = AtomTables{};
    recipe.atom->romHeader = 0x23C;
    recipe.atom->masterDataTable = 0xA724;
    recipe.atom->powerPlayOffset = 0xAE6A;
    return recipe;
}

TEST(RomStructure, ReadsTheWorkedExampleAtTheHandComputedOffsets)
{
    const Bytes file = fixtures::buildImage(workedExample());
    // The pointers as the format places them: 0x48 -> 0x23C, header + 0x20 -> 0xA724, master
    // data table + 4 + 2 x 15 -> 0xAE6A; the state array 0x28 and the clock-info array 0x38
    // bytes into the PowerPlay table.
    EXPECT_EQ(file[0x48], 0x3C);
    EXPECT_EQ(file[0x49], 0x02);
    EXPECT_EQ(file[0x25C], 0x24);
    EXPECT_EQ(file[0x25D], 0xA7);
    EXPECT_EQ(file[0xA746], 0x6A);
    EXPECT_EQ(file[0xA747], 0xAE);
    EXPECT_EQ(file[0xAE73], 0x28);
    EXPECT_EQ(file[0xAE75], 0x38);
    const Bytes states{0, 0, 0, 0, 1, 1, 2, 3, 2, 4, 5, 6, 3, 7, 8, 9};
    EXPECT_EQ(Bytes(file.begin() + 0xAE92, file.begin() + 0xAEA2), states);

    const LoadedRom rom = load(file);
    const RomStructure& structure = rom.structure;
    EXPECT_EQ(structure.optionRomLength, 63'488u);
    EXPECT_EQ(structure.optionRomChecksum, OptionRomChecksum::Valid);
    EXPECT_FALSE(structure.cutShort);
    EXPECT_TRUE(structure.atomHeader);
    EXPECT_EQ(structure.subsystemVendorId, 0x1A2B);
    EXPECT_EQ(structure.subsystemId, 0x3C4D);
    ASSERT_TRUE(structure.powerPlay);
    EXPECT_EQ(structure.powerPlay->offset, 0xAE6Au);
    EXPECT_EQ(structure.powerPlay->formatRevision, 4);
    EXPECT_EQ(structure.powerPlay->contentRevision, 1);
    ASSERT_TRUE(structure.powerPlay->layout);
    const PowerPlayLayout& layout = *structure.powerPlay->layout;
    EXPECT_EQ(layout.stateCount, 4u);
    EXPECT_EQ(layout.stateEntrySize, 4u);
    EXPECT_EQ(layout.clockInfoSize, 16u);
    EXPECT_EQ(layout.clockInfoOffset, 0xAEA2u);
    EXPECT_EQ(layout.clockInfoCount, 10u);
    EXPECT_EQ(rom.image.signatureOffset, 0xAE96u);
    EXPECT_EQ(rom.clockTableCheck, ClockTableCheck::Confirmed);
}

// --- The three results ----------------------------------------------------------------------

struct CheckCase {
    std::string name;
    std::function<void(ImageRecipe&)> change;
    ClockTableCheck expected;
};

// Images of 0xC000 bytes with the signature at 0x5A10, so the clock block is at 0x5A1C; an
// offset of 0xF000 points past the end.
std::vector<CheckCase> checkCases()
{
    using enum ClockTableCheck;
    auto atom = [](auto change) { return [change](ImageRecipe& recipe) { change(*recipe.atom); }; };
    return {
        {"AsTheBiosPlacesIt", [](ImageRecipe&) {}, Confirmed},
        {"MinimalImage", [](ImageRecipe& r) { r.atom.reset(); }, NotAvailable},
        {"NoRomHeader", atom([](AtomTables& a) { a.romHeader.reset(); }), NotAvailable},
        {"NoAtomText", atom([](AtomTables& a) { a.atomText = false; }), NotAvailable},
        {"RomHeaderPastTheEnd", atom([](AtomTables& a) { a.romHeader = 0xF000; }), NotAvailable},
        {"RomHeaderCutByTheEnd", atom([](AtomTables& a) { a.romHeader = 0xBFF0; }), NotAvailable},
        {"NoMasterDataTable", atom([](AtomTables& a) { a.masterDataTable.reset(); }), NotAvailable},
        {"MasterDataTablePastTheEnd", atom([](AtomTables& a) { a.masterDataTable = 0xF000; }),
         NotAvailable},
        {"NoPowerPlayTable", atom([](AtomTables& a) { a.powerPlay = false; }), NotAvailable},
        {"PowerPlayPastTheEnd", atom([](AtomTables& a) { a.powerPlayOffset = 0xF000; }),
         NotAvailable},
        {"PowerPlayOfAnotherFormat", atom([](AtomTables& a) { a.formatRevision = 3; }),
         NotAvailable},
        {"ClockInfoElsewhere", atom([](AtomTables& a) { a.clockInfoOffset = 0x5A2C; }),
         Contradicted},
        {"ClockInfoPastTheEnd", atom([](AtomTables& a) { a.clockInfoOffset = 0xF000; }),
         Contradicted},
        {"OtherEntrySize", atom([](AtomTables& a) { a.clockInfoSize = 20; }), Contradicted},
        {"FewerThanTenEntries", atom([](AtomTables& a) { a.stateCount = 3; }), Contradicted},
        {"StateArrayPastTheEnd",
         [](ImageRecipe& r) {
             r.length = 0x5AB4;  // the image ends with the clock block
             r.atom->masterDataTable = 0x300;
             r.atom->stateCount = 255;
         },
         Contradicted},
    };
}

class ClockTableChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ClockTableChecks, DecideFromTheTablesAlone)
{
    ImageRecipe recipe;
    recipe.length = 0xC000;
    recipe.atom = AtomTables{};
    GetParam().change(recipe);
    const LoadedRom rom = load(fixtures::buildImage(recipe));
    EXPECT_EQ(rom.image.clockBlockOffset(), 0x5A1Cu);
    EXPECT_EQ(rom.clockTableCheck, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Tables, ClockTableChecks, ::testing::ValuesIn(checkCases()),
                         [](const auto& info) { return info.param.name; });

// --- The option ROM's declared length -------------------------------------------------------

struct CutCase {
    std::size_t declaredBlocks;  // 0: no 55 AA header at all
    std::size_t fileLength;
    bool cutShort;
};

class CutDumps : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutDumps, AreTheFilesShorterThanTheirDeclaredLength)
{
    const CutCase& cut = GetParam();
    ImageRecipe recipe;
    recipe.length = 131'072;
    recipe.optionRomHeader = cut.declaredBlocks != 0;
    if (cut.declaredBlocks != 0)
        recipe.optionRomBlocks = static_cast<std::uint8_t>(cut.declaredBlocks);
    Bytes file = fixtures::buildImage(recipe);
    file.resize(cut.fileLength);

    const LoadedRom rom = load(file);
    EXPECT_EQ(rom.structure.cutShort, cut.cutShort);
    EXPECT_EQ(rom.image.fileLength(), cut.fileLength);
    if (cut.declaredBlocks != 0) {
        EXPECT_EQ(rom.structure.optionRomLength, cut.declaredBlocks * 512);
        // A cut option ROM has no sum to check; a whole one keeps the builder's valid sum.
        EXPECT_EQ(rom.structure.optionRomChecksum,
                  cut.cutShort ? OptionRomChecksum::NotApplicable : OptionRomChecksum::Valid);
    } else {
        EXPECT_FALSE(rom.structure.optionRomLength);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, CutDumps,
                         ::testing::Values(CutCase{128, 65'535, true}, CutCase{128, 65'536, false},
                                           CutCase{128, 65'537, false}, CutCase{255, 100'000, true},
                                           CutCase{255, 130'559, true},
                                           CutCase{255, 130'560, false}, CutCase{0, 65'535, false}),
                         [](const auto& info) {
                             return "Declared" + std::to_string(info.param.declaredBlocks * 512) +
                                    "Have" + std::to_string(info.param.fileLength);
                         });

TEST(OptionRom, ChecksumAndChangesPastItsDeclaredLength)
{
    Bytes rom(1024, 0);
    rom[0] = 0x55;
    rom[1] = 0xAA;
    rom[2] = 1;  // 512 bytes
    rom[511] = static_cast<std::uint8_t>(0x100 - ((0x55 + 0xAA + 1) & 0xFF));
    EXPECT_EQ(optionRomChecksum(rom), OptionRomChecksum::Valid);
    rom[700] = 0x33;  // bytes past the declared length do not count
    EXPECT_EQ(optionRomChecksum(rom), OptionRomChecksum::Valid);

    Bytes changed = rom;
    changed[5] = 2;
    changed[6] = 0xFF;  // together +0x101: the 8-bit sum moves by 1
    EXPECT_EQ(optionRomChecksum(changed), OptionRomChecksum::Invalid);
    EXPECT_FALSE(optionRomSumUnchanged(rom, changed));
    EXPECT_EQ(firstChangePastOptionRom(rom, changed), std::nullopt);
    changed[6] = 0xFE;  // +2 and +0xFE balance modulo 256
    EXPECT_TRUE(optionRomSumUnchanged(rom, changed));
    changed[512] = 1;
    changed[900] = 1;
    EXPECT_EQ(firstChangePastOptionRom(rom, changed), 512u);

    rom[2] = 0;  // a length of 0 declares nothing
    EXPECT_EQ(optionRomChecksum(rom), OptionRomChecksum::NotApplicable);
    EXPECT_EQ(firstChangePastOptionRom(rom, changed), std::nullopt);
    EXPECT_EQ(optionRomChecksum(Bytes{0x55, 0xAA}), OptionRomChecksum::NotApplicable);
}

}  // namespace
}  // namespace clockvane
