#include <gtest/gtest.h>

#include "bytes/sums.h"
#include "fixtures/cli_runner.h"
#include "fixtures/image_builder.h"

namespace clockvane::clitest {
namespace {

using fixtures::ImageRecipe;

struct CardCase {
    std::string name;
    ImageRecipe recipe;
    std::vector<std::string> jsonLines;  // members the JSON object must hold, as written
    std::vector<std::string> textLines;  // lines of the text report
};

// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const CardCase& testCase, std::ostream* out) { *out << testCase.name; }

ImageRecipe withCard(const std::string& deviceId, const std::string& memoryText,
                     bool secondFile = false)
{
    ImageRecipe recipe;
    recipe.deviceId = deviceId;
    recipe.memoryText = memoryText;
    recipe.x2SecondFile = secondFile;
    return recipe;
}

std::vector<CardCase> cardCases()
{
    return {
        {"hd3870",
         withCard("9501", "GDDR3 512MB"),
         {R"("card": "HD3870")", R"("device_id": "9501")", R"("x2_file": null)",
          R"("memory_type": "GDDR3")", R"("memory_size_mb": 512)"},
         {"Card:                ATI HD3870", "Memory:              512MB GDDR3",
          "X2 file:             -"}},
        {"hd3850",
         withCard("9505", "GDDR3 256MB"),
         {R"("card": "HD3850")", R"("device_id": "9505")", R"("memory_size_mb": 256)"},
         {"Card:                ATI HD3850", "Memory:              256MB GDDR3"}},
        {"x2_first",
         withCard("950F", "GDDR3 512MB"),
         {R"("card": "HD3870X2")", R"("device_id": "950F")", R"("x2_file": 1)"},
         {"Card:                ATI HD3870 X\xC2\xB2", "X2 file:             1 of 2"}},
        {"x2_second",
         withCard("950F", "GDDR3 512MB", true),
         {R"("x2_file": 2)"},
         {"X2 file:             2 of 2"}},
        {"gddr4_with_256_text",
         withCard("9501", "GDDR4 256MB"),
         {R"("memory_type": "GDDR4")", R"("memory_size_mb": 512)"},
         {"Memory:              512MB GDDR4"}},
        {"size_unknown",
         withCard("9505", ""),
         {R"("memory_type": "GDDR3")", R"("memory_size_mb": null)"},
         {"Memory:              GDDR3, size unknown (the image does not state it)"}},
    };
}

class InfoCards : public CliTest, public ::testing::WithParamInterface<CardCase> {};

TEST_P(InfoCards, ReportsCardMemoryAndTheReadValues)
{
    const Bytes image = fixtures::buildImage(GetParam().recipe);
    const std::string file = writeImage("card.rom", image);

    const CliRun json = runCli({"info", file, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.err, "");
    for (const std::string& member : GetParam().jsonLines)
        EXPECT_NE(json.out.find(member), std::string::npos) << member;
    EXPECT_NE(json.out.find("\"checksum16\": \"" + SumBytes(image) + "\""), std::string::npos);
    EXPECT_NE(json.out.find(R"("clock_block_offset": 23068)"), std::string::npos);  // 0x5A10 + 12
    EXPECT_NE(json.out.find(R"("bios_date": "12/10/07  - 10:43")"), std::string::npos);
    EXPECT_NE(json.out.find(R"("bios_version": "010.065.000.001.000000")"), std::string::npos);
    EXPECT_NE(json.out.find(R"("option_rom_checksum": "valid")"), std::string::npos);
    EXPECT_NE(json.out.find(R"("range_messages": [])"), std::string::npos);
    EXPECT_NE(json.out.find(R"("3d_low": {
      "gpu_mhz": 500.00,
      "ram_mhz": 900.00,
      "gpu_slider": 500,
      "ram_slider": 900,
      "vcore_mv": 1150,
      "vcore_text": "1.15"
    })"),
              std::string::npos)
        << json.out;

    const CliRun text = runCli({"info", file});
    ASSERT_EQ(text.exitCode, 0);
    for (const std::string& line : GetParam().textLines)
        EXPECT_NE(text.out.find(line + "\n"), std::string::npos) << line;
    EXPECT_NE(text.out.find("Checksum-16:         " + SumBytes(image) + "\n"), std::string::npos);
    EXPECT_NE(
        text.out.find("BootUp            775.00     775    1125.00    1125   1.204 V (1204 mV)\n"),
        std::string::npos)
        << text.out;
}

INSTANTIATE_TEST_SUITE_P(Cards, InfoCards, ::testing::ValuesIn(cardCases()),
                         [](const auto& info) { return info.param.name; });

using InfoTest = CliTest;

TEST_F(InfoTest, OutOfRangeClocksAreReportedInCheckingOrderAndClamped)
{
    ImageRecipe recipe;
    recipe.entries[7].ramClock = 170001;  // UVD RAM 1700.01 MHz
    recipe.entries[0].gpuClock = 120001;  // BootUp GPU 1200.01 MHz
    recipe.entries[1].ramClock = 0;       // 2D RAM 0 MHz
    recipe.entries[0].ramClock = 40000;   // exactly the lower limit: no message
    const std::string file = writeImage("range.rom", fixtures::buildImage(recipe));

    const CliRun run = runCli({"info", file, "--json"});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "clockvane: " + file + ": BootUp GPU clock exceeds limit\n" +
                           "clockvane: " + file + ": 2D RAM clock below limit\n" +
                           "clockvane: " + file + ": UVD RAM clock exceeds limit\n");
    EXPECT_NE(run.out.find(R"("range_messages": [
    "BootUp GPU clock exceeds limit",
    "2D RAM clock below limit",
    "UVD RAM clock exceeds limit"
  ])"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"("gpu_mhz": 1200.01,
      "ram_mhz": 400.00,
      "gpu_slider": 1200,
      "ram_slider": 400,)"),
              std::string::npos);
    EXPECT_NE(run.out.find(R"("ram_mhz": 0.00,
      "gpu_slider": 300,
      "ram_slider": 400,)"),
              std::string::npos);
}

TEST_F(InfoTest, ImageTextsAreLatin1AndEscapedForJson)
{
    ImageRecipe recipe;
    recipe.version = std::string("V\0\x01\"\\\xE9\x7F\x85", 8) + "0123456789ABCD";
    const std::string file = writeImage("texts.rom", fixtures::buildImage(recipe));

    const CliRun json = runCli({"info", file, "--json"});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_NE(json.out.find(R"("bios_version": "V\u0000\u0001\"\\)"
                            "\xC3\xA9"
                            R"(\u007F\u00850123456789ABCD")"),
              std::string::npos)
        << json.out;

    const CliRun text = runCli({"info", file});
    EXPECT_NE(
        text.out.find("BIOS version:        V\\x00\\x01\"\\\xC3\xA9\\x7F\\x850123456789ABCD\n"),
        std::string::npos)
        << text.out;
}

TEST_F(InfoTest, OptionRomChecksumStates)
{
    ImageRecipe recipe;
    Bytes image = fixtures::buildImage(recipe);
    EXPECT_NE(runCli({"info", writeImage("valid.rom", image), "--json"})
                  .out.find(R"("option_rom_checksum": "valid")"),
              std::string::npos);
    image[0x300] ^= 0x01;
    EXPECT_NE(runCli({"info", writeImage("bad.rom", image), "--json"})
                  .out.find(R"("option_rom_checksum": "invalid")"),
              std::string::npos);
    image[2] = 0xFF;  // claims 130,560 bytes; the file has 65,536
    EXPECT_NE(runCli({"info", writeImage("short.rom", image)})
                  .out.find("Option ROM checksum: not applicable\n"),
              std::string::npos);
    recipe.optionRomHeader = false;
    EXPECT_NE(runCli({"info", writeImage("plain.rom", fixtures::buildImage(recipe)), "--json"})
                  .out.find(R"("option_rom_checksum": "not applicable")"),
              std::string::npos);
}

}  // namespace
}  // namespace clockvane::clitest
