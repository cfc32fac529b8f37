#include <gtest/gtest.h>

#include "fixtures/cli_runner.h"
#include "fixtures/image_builder.h"

namespace clockvane::clitest {
namespace {

using fixtures::ImageRecipe;

ImageRecipe x2File(bool second)
{
    ImageRecipe recipe;
    recipe.deviceId = "950F";
    recipe.x2SecondFile = second;
    return recipe;
}

using DiffTest = CliTest;

TEST_F(DiffTest, BothX2FilesGivenTheSameEditsMatch)
{
    const std::string first = writeImage("x2-bios1.rom", fixtures::buildImage(x2File(false)));
    const std::string second = writeImage("x2-bios2.rom", fixtures::buildImage(x2File(true)));
    const CliRun set = runCli(
        {"set", first, second, "--3d-gpu", "850", "--3d-ram", "1000", "--3d-vcore", "1.274"});
    ASSERT_EQ(set.exitCode, 0) << set.err;

    const CliRun diff = runCli({"diff", path("x2-bios1_mod.rom"), path("x2-bios2_mod.rom")});
    EXPECT_EQ(diff.exitCode, 0) << diff.out;
    EXPECT_NE(diff.out.find("Settings match.\n"), std::string::npos);
    // The second file's marker and the option ROM checksum byte are the only other bytes apart.
    EXPECT_NE(diff.out.find("  0xC000-0xC015 (22 bytes)\n"), std::string::npos) << diff.out;
    EXPECT_NE(diff.out.find("  0xFFFF-0xFFFF (1 byte)\n"), std::string::npos) << diff.out;

    // Against its unedited original, each file differs in 3D and in the UVD that follows it.
    const CliRun changed = runCli({"diff", first, path("x2-bios1_mod.rom"), "--json"});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_NE(changed.out.find(R"("settings_match": false)"), std::string::npos);
    EXPECT_NE(changed.out.find(R"("3d": {
      "gpu_mhz": {
        "a": 775.00,
        "b": 851.08,
        "match": false
      },)"),
              std::string::npos)
        << changed.out;
    EXPECT_NE(changed.out.find(R"({
      "entry": 9,
      "field": "vcore_mv",
      "a": 1152,
      "b": 1274
    })"),
              std::string::npos);
}

TEST_F(DiffTest, OneFieldApartDiffers)
{
    const std::string a = writeImage("a.rom", fixtures::buildImage(ImageRecipe{}));
    ASSERT_EQ(runCli({"set", a, "-o", path("one.rom"), "--2d-ram", "500"}).exitCode, 0);
    ASSERT_EQ(runCli({"set", a, "-o", path("two.rom"), "--2d-ram", "520"}).exitCode, 0);
    const CliRun diff = runCli({"diff", path("one.rom"), path("two.rom")});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_NE(diff.out.find("DIFFERENT"), std::string::npos);
    EXPECT_NE(diff.out.find("Settings differ.\n"), std::string::npos);
}

TEST_F(DiffTest, CompensationBytesAloneDoNotMakeADifference)
{
    ImageRecipe recipe;
    const std::string a = writeImage("a.rom", fixtures::buildImage(recipe));
    recipe.entries[3].gpuClock = 77500 + 0x40;  // same two upper bytes as 77500 (0x012EBC)
    recipe.entries[4].vcore = 1000;             // a hidden entry
    const std::string b = writeImage("b.rom", fixtures::buildImage(recipe));

    const CliRun json = runCli({"diff", a, b, "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.out;
    EXPECT_NE(json.out.find(R"("gpu_mhz": {
        "a": 775.00,
        "b": 775.64,
        "match": true
      },)"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find(R"("entry": 4,
      "field": "vcore_mv",
      "a": 1101,
      "b": 1000)"),
              std::string::npos);
    EXPECT_NE(json.out.find(R"("lengths_differ": false)"), std::string::npos);
    EXPECT_NE(json.out.find(R"("structure_differs": false)"), std::string::npos);
    const CliRun text = runCli({"diff", a, b});
    EXPECT_NE(text.out.find("(compensation byte only)"), std::string::npos);
}

// Equal settings, but one file is longer or holds the BIOS's own tables: a difference all the
// same, as a dump cut short or another BIOS would be.
TEST_F(DiffTest, LengthsAndStructuresCountAsDifferences)
{
    const std::string a = writeImage("a.rom", fixtures::buildImage(ImageRecipe{}));
    ImageRecipe longer;
    longer.length += 10;
    ImageRecipe withTables;
    withTables.atom = fixtures::AtomTables{};
    const std::string b = writeImage("longer.rom", fixtures::buildImage(longer));
    const std::string c = writeImage("tables.rom", fixtures::buildImage(withTables));

    const CliRun length = runCli({"diff", a, b, "--json"});
    EXPECT_EQ(length.exitCode, 1) << length.out;
    EXPECT_NE(length.out.find(R"("settings_match": true)"), std::string::npos);
    EXPECT_NE(length.out.find(R"("lengths_differ": true)"), std::string::npos);
    EXPECT_NE(runCli({"diff", a, b}).out.find("Lengths differ: A has 65536 bytes, B has 65546"),
              std::string::npos);

    const CliRun structure = runCli({"diff", a, c, "--json"});
    EXPECT_EQ(structure.exitCode, 1) << structure.out;
    EXPECT_NE(structure.out.find(R"("structure_differs": true)"), std::string::npos);
    const CliRun text = runCli({"diff", a, c});
    EXPECT_NE(text.out.find("Structures differ:\n  A: not available (no ATOM ROM header)\n"
                            "  B: confirmed (PowerPlay table at 0x59E4, revision 4.1: 10 "
                            "clock-info entries of 16 bytes at 0x5A1C)\n"),
              std::string::npos)
        << text.out;
}

}  // namespace
}  // namespace clockvane::clitest
