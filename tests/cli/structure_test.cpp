// What the tool says and does about the image's own structure: the option ROM's declared
// length against the file's, and the BIOS's PowerPlay table against the clock block.

#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/cli_runner.h"
#include "fixtures/image_builder.h"

namespace clockvane::clitest {
namespace {

using fixtures::AtomTables;
using fixtures::ImageRecipe;

// The tables where a real 131,072-byte HD 3870 image has them.
ImageRecipe confirmedImage()
{
    ImageRecipe recipe;
    recipe.length = 131'072;
    recipe.signatureOffset = 0xAE96;
    recipe.optionRomBlocks = 124;
    recipe.atom = AtomTables{};
    return recipe;
}

ImageRecipe contradictedImage()
{
    ImageRecipe recipe;
    recipe.atom = AtomTables{};
    recipe.atom->clockInfoOffset = 0x5A2C;  // one entry after the block at 0x5A1C
    return recipe;
}

// The default image cut to 60,000 of the 65,536 bytes its option ROM declares.
Bytes cutImage()
{
    Bytes image = fixtures::buildImage(ImageRecipe{});
    image.resize(60'000);
    return image;
}

using StructureTest = CliTest;

TEST_F(StructureTest, InfoShowsLengthsIdsAndTheCheck)
{
    const std::string confirmed =
        writeImage("confirmed.rom", fixtures::buildImage(confirmedImage()));
    const CliRun json = runCli({"info", confirmed, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.err, "");
    EXPECT_NE(json.out.find(R"(  "option_rom_length": 63488,
  "file_length": 131072,
  "subsystem_vendor_id": "1A2B",
  "subsystem_id": "3C4D",
  "structure": {
    "check": "confirmed",
    "atom_header": true,
    "powerplay_offset": 44650,
    "powerplay_revision": "4.1",
    "clock_info_offset": 44706,
    "clock_info_count": 10,
    "clock_info_size": 16
  },
)"),
              std::string::npos)
        << json.out;
    const CliRun text = runCli({"info", confirmed});
    EXPECT_NE(text.out.find("File length:         131072 bytes\n"
                            "Option ROM length:   63488 bytes\n"
                            "Option ROM checksum: valid\n"
                            "Subsystem:           1A2B:3C4D\n"
                            "Clock table check:   confirmed (PowerPlay table at 0xAE6A, revision "
                            "4.1: 10 clock-info entries of 16 bytes at 0xAEA2)\n"),
              std::string::npos)
        << text.out;

    const std::string cut = writeImage("cut.rom", cutImage());
    const CliRun cutJson = runCli({"info", cut, "--json"});
    EXPECT_EQ(cutJson.exitCode, 0);
    EXPECT_NE(cutJson.out.find(R"(  "option_rom_length": 65536,
  "file_length": 60000,
  "subsystem_vendor_id": null,
  "subsystem_id": null,
  "structure": {
    "check": "not available",
    "atom_header": false,
    "powerplay_offset": null,
    "powerplay_revision": null,
    "clock_info_offset": null,
    "clock_info_count": null,
    "clock_info_size": null
  },
)"),
              std::string::npos)
        << cutJson.out;
    EXPECT_NE(cutJson.err.find("is shorter than the image it holds (60000 of 65536 bytes)"),
              std::string::npos)
        << cutJson.err;
    EXPECT_NE(runCli({"info", cut})
                  .out.find("Option ROM length:   65536 bytes (longer than the file: an "
                            "incomplete dump?)\n"),
              std::string::npos);

    const std::string contradicted =
        writeImage("contradicted.rom", fixtures::buildImage(contradictedImage()));
    const CliRun warned = runCli({"info", contradicted});
    EXPECT_EQ(warned.exitCode, 0);
    EXPECT_NE(warned.err.find("places the clock table elsewhere"), std::string::npos);
}

struct SetCase {
    std::string name;
    Bytes image;
    bool force;
    int exitCode;
};

// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const SetCase& setCase, std::ostream* out) { *out << setCase.name; }

std::vector<SetCase> setCases()
{
    ImageRecipe pastRom;
    pastRom.optionRomBlocks = 0x2D;  // 23,040 bytes: the block at 0x5A1C lies past them
    const Bytes contradicted = fixtures::buildImage(contradictedImage());
    return {
        {"Confirmed", fixtures::buildImage(confirmedImage()), false, 0},
        {"CutShort", cutImage(), false, 2},
        {"CutShortForced", cutImage(), true, 0},
        {"Contradicted", contradicted, false, 2},
        {"ContradictedForced", contradicted, true, 0},
        {"ChangePastTheOptionRomEvenForced", fixtures::buildImage(pastRom), true, 2},
    };
}

class StructureSet : public CliTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(StructureSet, RefusesDoubtfulImagesUnlessForcedAndNeverWritesPastTheOptionRom)
{
    const std::string input = writeImage("card.rom", GetParam().image);
    std::vector<std::string> arguments{"set", input, "--3d-gpu", "800"};
    if (GetParam().force) arguments.push_back("--force");
    const CliRun run = runCli(arguments);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_EQ(std::filesystem::exists(path("card_mod.rom")), run.exitCode == 0);
}

INSTANTIATE_TEST_SUITE_P(Images, StructureSet, ::testing::ValuesIn(setCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace clockvane::clitest
