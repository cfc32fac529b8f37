// The commands end to end: `set` writes the bytes the core's save gives for the same edit on
// the window's controls; `info` and `diff` report with the texts and JSON members scripts use.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "bytes/sums.h"
#include "edit/save_pipeline.h"
#include "files/rom_file.h"
#include "fixtures/cli_runner.h"
#include "fixtures/image_builder.h"
#include "fixtures/recipes.h"
#include "image/rom_loader.h"

namespace clockvane::clitest {
namespace {

using fixtures::ImageRecipe;

// The image of `recipe`, cut to `cutTo` bytes (60,000 of the 65,536 its option ROM declares,
// say).
Bytes image(const ImageRecipe& recipe = {}, std::size_t cutTo = 0)
{
    Bytes bytes = fixtures::buildImage(recipe);
    if (cutTo != 0) bytes.resize(cutTo);
    return bytes;
}

// The BIOS's tables where a 131,072-byte HD 3870 image has them: the clock table is confirmed.
const ImageRecipe kConfirmed = fixtures::fullSizeWithTables();
// A PowerPlay table that places the clock table one entry after the block at 0x5A1C.
const ImageRecipe kContradicted{.atom = fixtures::AtomTables{.clockInfoOffset = 0x5A2C}};
// Compensation bytes of 0x00: all clocks at the maximum are more than they can balance.
const ImageRecipe kNeedingClassic = fixtures::allEntriesAt({0x007800, 0x00A000, 900});
// An option ROM of 0x2D blocks (23,040 bytes): the clock block at 0x5A1C lies past it.
const ImageRecipe kBlockPastTheOptionRom{.optionRomBlocks = 0x2D};

struct EditCase {
    std::string name;
    std::string options;  // separated by blanks
    int exitCode;  // 2: refused, nothing written; 3: sum not corrected, written only with --force
    Bytes file = image();
};

// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const EditCase& row, std::ostream* out) { *out << row.name; }

const std::string kAllToMaximum = "--bootup-gpu 1200 --bootup-ram 1700 --2d-gpu 1200 --2d-ram 1700 "
                                  "--3d-gpu 1200 --3d-ram 1700 --3d-low-gpu 1200 --3d-low-ram 1700";

// Range edges pass (300/1200 MHz GPU, 400/1700 MHz RAM, 0.9/1.327 V), on an image whose tables
// confirm the clock table and on one without them. A dump cut short or a contradicted clock
// table is refused unless forced; a change past the option ROM even then.
const EditCase kEditCases[] = {
    {"Clocks", "--3d-gpu 800 --2d-gpu 300 --2d-ram 400 --3d-ram 1700", 0, image(kConfirmed)},
    {"Vcore", "--bootup-vcore 1,125 --2d-vcore 0.9 --3d-low-vcore 1.327", 0},
    {"UvdUnlinked", "--uvd-gpu 599 --uvd-ram 1000 --uvd-vcore 1.22 --unlink-uvd", 0},
    {"Classic", kAllToMaximum + " --classic", 0, image(kNeedingClassic)},
    {"NotCorrected", kAllToMaximum, 3, image(kNeedingClassic)},
    {"CutShort", "--3d-gpu 800", 2, image({}, 60'000)},
    {"CutShortForced", "--3d-gpu 800 --force", 0, image({}, 60'000)},
    {"Contradicted", "--3d-gpu 800", 2, image(kContradicted)},
    {"ContradictedForced", "--3d-gpu 800 --force", 0, image(kContradicted)},
    {"PastTheOptionRomForced", "--3d-gpu 800 --force", 2, image(kBlockPastTheOptionRom)},
};

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The core's save of the same edit on the window's controls: the controls as opened, the edit,
// the box validation, the pipeline. Option stem n is VCore box n, GPU slider 2n, RAM slider 2n+1.
Bytes referenceSave(const Bytes& file, const std::vector<std::string>& options)
{
    const std::vector<std::string> stems{"bootup", "2d", "3d", "uvd", "3d-low"};
    const auto given = [&](const char* o) { return std::count(options.begin(), options.end(), o); };
    auto rom = loadRom(splitFileBytes(file)).value();
    SaveControls controls = controlsAsOpened(rom.clocks, !given("--unlink-uvd"), '.');
    for (std::size_t i = 0; i + 1 < options.size(); i += 2) {  // flags come last
        const std::size_t dash = options[i].rfind('-');
        const auto box =
            std::find(stems.begin(), stems.end(), options[i].substr(2, dash - 2)) - stems.begin();
        const std::string field = options[i].substr(dash + 1);
        if (field == "vcore")
            controls.vcoreTexts.at(box) = options[i + 1];
        else
            controls.sliders.at(2 * box + (field == "ram" ? 1 : 0)) = std::stoi(options[i + 1]);
    }
    for (std::string& text : controls.vcoreTexts) std::replace(text.begin(), text.end(), ',', '.');
    FixedClassicAnswer answer(given("--classic") != 0);
    EXPECT_TRUE(runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, answer));
    return bytesToWrite(rom.image);
}

class SetEdits : public CliTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(SetEdits, WritesTheBytesOfTheCoresSave)
{
    const EditCase& row = GetParam();
    std::vector<std::string> arguments = words("set " + writeImage("card.rom", row.file) + " -o " +
                                               path("out.rom") + " " + row.options);
    CliRun run = runTool(arguments);
    EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
    EXPECT_EQ(files().size(), row.exitCode == 0 ? 2u : 1u);  // out.rom only on success
    if (row.exitCode == 2) return;
    if (row.exitCode == 3) {
        EXPECT_NE(run.err.find("Can't correct checksum."), std::string::npos) << run.err;
        arguments.emplace_back("--force");
        run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_NE(run.err.find("Changed clock range too high!"), std::string::npos) << run.err;
    }
    const Bytes expected = referenceSave(row.file, words(row.options));
    EXPECT_EQ(run.out, path("card.rom") + " -> " + path("out.rom") +
                           ": Checksum-16: " + SumBytes(splitFileBytes(expected).image) +
                           (row.exitCode == 0 ? " (Corrected)\n" : " (NOT corrected)\n"));
    EXPECT_EQ(fixtures::readFile(path("out.rom")), expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SetEdits, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return info.param.name; });

// The save goes beside its input, under the core's save name. Files are handled apart, the
// highest exit code wins; --force may overwrite an input.
TEST_F(CliTest, SetSavesBesideEachInputAndOverwritesAnInputOnlyWhenForced)
{
    const std::string card = writeImage("card.rom", image());
    const CliRun run = runTool({"set", path("gone.rom"), card, "--3d-gpu", "800"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, card + " -> " + path("card_mod.rom") +
                           ": Checksum-16: " + SumBytes(image()) + " (Corrected)\n");
    EXPECT_EQ(files(), (std::set<std::string>{"card.rom", "card_mod.rom"}));
    EXPECT_EQ(runTool({"set", card, "-o", card, "--2d-gpu", "350", "--force"}).exitCode, 0);
    EXPECT_NE(fixtures::readFile(card), image());
}

// Both X2 files given the same edits differ only in the second file's marker and the option
// ROM's checksum byte; against its original, each differs in 3D and the UVD that follows it
// (a clock whose compensation byte alone moved still matches).
TEST_F(CliTest, BothX2FilesGivenTheSameEditsMatch)
{
    ImageRecipe x2{.deviceId = "950F"};
    const std::string first = writeImage("x2-bios1.rom", fixtures::buildImage(x2));
    x2.x2SecondFile = true;
    const std::string second = writeImage("x2-bios2.rom", fixtures::buildImage(x2));
    ASSERT_EQ(runTool({"set", first, second, "--3d-gpu", "850", "--3d-vcore", "1.274"}).exitCode,
              0);
    EXPECT_NE(runTool({"info", second, "--json"}).out.find("\"x2_file\": 2,"), std::string::npos);

    const CliRun diff = runTool({"diff", path("x2-bios1_mod.rom"), path("x2-bios2_mod.rom")});
    EXPECT_EQ(diff.exitCode, 0) << diff.out;
    EXPECT_NE(diff.out.find("  0xC000-0xC015 (22 bytes)\n  0xFFFF-0xFFFF (1 byte)\n\nSettings "
                            "match.\n"),
              std::string::npos)
        << diff.out;
    // The text table's columns: 14 and 10 characters for state and field, then A and B
    // right-aligned in 10 and 12.
    const std::string table = runTool({"diff", first, path("x2-bios1_mod.rom")}).out;
    for (const char* line : {"\nPower state   Field              A           B\n",
                             "\n3D High Power GPU MHz       775.00      850.96  DIFFERENT\n",
                             "\n              VCore mV        1204        1274  DIFFERENT\n"})
        EXPECT_NE(table.find(line), std::string::npos) << line << table;
    const CliRun changed = runTool({"diff", first, path("x2-bios1_mod.rom"), "--json"});
    EXPECT_EQ(changed.exitCode, 1);
    for (const char* member :
         {"\"a\": 775.00,\n        \"b\": 850.96,\n        \"match\": false",
          "\"a\": 775.00,\n        \"b\": 774.03,\n        \"match\": true",  // compensation only
          "\"entry\": 9,\n      \"field\": \"vcore_mv\",\n      \"a\": 1152,\n      \"b\": 1274",
          "\"settings_match\": false,", "\"byte_ranges\": [],"})
        EXPECT_NE(changed.out.find(member), std::string::npos) << member << changed.out;
}

// The first X2 file, tables confirmed, control characters in its version, 2D RAM too low.
TEST_F(CliTest, InfoShowsTheCardTheStructureAndTheClampedClocks)
{
    ImageRecipe richX2 = kConfirmed;
    richX2.deviceId = "950F";
    richX2.version = std::string("V\0\x01\"\\\xE9\x7F\x85\n\r\x1F", 11) + "3456789ABCD";
    richX2.entries[1].ramClock = 0;
    const std::string file = writeImage("rich.rom", image(richX2));
    const CliRun json = runTool({"info", file, "--json"});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.err, "clockvane: " + file + ": 2D RAM clock below limit\n");
    EXPECT_EQ(json.out.substr(0, json.out.find("\n  \"states\"")), R"({
  "card": "HD3870X2",
  "device_id": "950F",
  "x2_file": 1,
  "memory_type": "GDDR3",
  "memory_size_mb": 512,
  "bios_version": "V\u0000\u0001\"\\é\u007F\u0085\u000A\u000D\u001F3456789ABCD",
  "bios_date": "12/10/07  - 10:43",
  "checksum16": "9F93",
  "clock_block_offset": 44706,
  "option_rom_checksum": "valid",
  "option_rom_length": 63488,
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
  "range_messages": [
    "2D RAM clock below limit"
  ],)");
    EXPECT_NE(json.out.find("\"ram_mhz\": 0.00,\n      \"gpu_slider\": 300,\n      \"ram_slider\": "
                            "400,\n      \"vcore_mv\": 1100,\n      \"vcore_text\": \"1.1\""),
              std::string::npos);
    const std::string small = writeImage("256.rom", image({.memoryText = "GDDR3 256MB"}));
    EXPECT_NE(runTool({"info", small, "--json"})
                  .out.find("\"memory_type\": \"GDDR3\",\n  \"memory_size_mb\": 256,\n"),
              std::string::npos);
    const CliRun text = runTool({"info", file});
    for (const char* line :
         {"Card:                ATI HD3870 X\xC2\xB2\n", "X2 file:             1 of 2\n",
          "BIOS version:        V\\x00\\x01\"\\\xC3\xA9\\x7F\\x85\\x0A\\x0D\\x1F3456789ABCD\n",
          "Clock table check:   confirmed (PowerPlay table at 0xAE6A, revision 4.1: 10 "
          "clock-info entries of 16 bytes at 0xAEA2)\n",
          // Columns of 14, 10, 8, 11 and 8 characters, the names left-aligned.
          "\nPower state      GPU MHz  slider    RAM MHz  slider   VCore\n",
          "BootUp            775.00     775    1125.00    1125   1.204 V (1204 mV)\n",
          "2D                300.00     300       0.00     400   1.1 V (1100 mV)\n"})
        EXPECT_NE(text.out.find(line), std::string::npos) << line << text.out;
}

TEST_F(CliTest, ACutDumpAndAnotherStructureAreWarningsAndDifferences)
{
    const std::string full = writeImage("full.rom", image());
    const std::string cut = writeImage("cut.rom", image({}, 60'000));
    const CliRun info = runTool({"info", cut, "--json"});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_NE(info.out.find("\"option_rom_length\": 65536,\n  \"file_length\": 60000,"),
              std::string::npos);
    EXPECT_NE(info.err.find("is shorter than the image it holds (60000 of 65536 bytes)"),
              std::string::npos);
    EXPECT_NE(runTool({"info", cut})
                  .out.find("Option ROM length:   65536 bytes (longer than the "
                            "file: an incomplete dump?)\n"),
              std::string::npos);
    const CliRun lengths = runTool({"diff", full, cut});
    EXPECT_EQ(lengths.exitCode, 1);
    EXPECT_NE(lengths.out.find("Lengths differ: A has 65536 bytes, B has 60000"),
              std::string::npos);

    // Tables, and the byte right after entry 0's VCore field (0x5A24): no clock field.
    ImageRecipe tablesRecipe{.atom = fixtures::AtomTables{}};
    tablesRecipe.trailers[0][0] ^= 1;
    const std::string tables = writeImage("tables.rom", image(tablesRecipe));
    const CliRun json = runTool({"diff", full, tables, "--json"});
    EXPECT_EQ(json.exitCode, 1);
    for (const char* member :
         {"\"length\": 65536,\n    \"clock_block_offset\": 23068,\n    \"structure\": {\n      "
          "\"check\": \"confirmed\",",
          "\"settings_match\": true,", "\"first\": 23076,\n      \"last\": 23076\n",
          "\"lengths_differ\": false,\n  \"structure_differs\": true\n}"})
        EXPECT_NE(json.out.find(member), std::string::npos) << member << json.out;
}

}  // namespace
}  // namespace clockvane::clitest
