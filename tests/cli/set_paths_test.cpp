#include <sys/stat.h>

#include <gtest/gtest.h>

#include "clockvane_version.h"

#include "bytes/sums.h"
#include "edit_scenarios.h"
#include "fixtures/cli_runner.h"

namespace clockvane::clitest {
namespace {

using fixtures::ImageRecipe;

class SetPaths : public CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        original_ = fixtures::buildImage(ImageRecipe{});
        input_ = writeImage("card.rom", original_);
    }

    Bytes original_;
    std::string input_;
};

TEST_F(SetPaths, DefaultOutputNameGetsModBeforeTheExtension)
{
    const CliRun run = runCli({"set", input_, "--3d-gpu", "800"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, input_ + " -> " + path("card_mod.rom") +
                           ": Checksum-16: " + SumBytes(original_) + " (Corrected)\n");
    EXPECT_EQ(files(), (std::vector<std::string>{"card.rom", "card_mod.rom"}));
    EXPECT_EQ(fixtures::readFile(input_), original_);

    // The saved copy keeps both sums a flash tool checks.
    const CliRun info = runCli({"info", path("card_mod.rom"), "--json"});
    EXPECT_NE(info.out.find(R"("option_rom_checksum": "valid")"), std::string::npos);
    EXPECT_NE(info.out.find("\"checksum16\": \"" + SumBytes(original_) + "\""), std::string::npos);
}

TEST_F(SetPaths, OutputOverAnInputIsRefusedUnlessForced)
{
    for (const std::string& output :
         {input_, path("sub/../card.rom"), dir_.string() + "/./card.rom"}) {
        std::filesystem::create_directories(dir_ / "sub");
        const CliRun run = runCli({"set", input_, "-o", output, "--3d-gpu", "800"});
        EXPECT_EQ(run.exitCode, 2) << output;
        EXPECT_NE(run.err.find("is an input file"), std::string::npos) << run.err;
        EXPECT_EQ(fixtures::readFile(input_), original_);
    }
    // A default name that is another input of the same run is refused too.
    const std::string other = writeImage("card_mod.rom", original_);
    EXPECT_EQ(runCli({"set", input_, other}).exitCode, 2);
    EXPECT_EQ(fixtures::readFile(other), original_);

    const CliRun forced = runCli({"set", input_, "-o", input_, "--3d-gpu", "800", "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_NE(fixtures::readFile(input_), original_);
}

TEST_F(SetPaths, UnwritableOutputGivesExitFourWithTheSystemReason)
{
    const CliRun missingFolder = runCli({"set", input_, "-o", path("no/such/folder/out.rom")});
    EXPECT_EQ(missingFolder.exitCode, 4);
    EXPECT_NE(missingFolder.err.find("No such file or directory"), std::string::npos)
        << missingFolder.err;

    const std::string locked = writeImage("locked.rom", Bytes{1, 2, 3});
    ::chmod(locked.c_str(), 0444);
    const CliRun readOnly = runCli({"set", input_, "-o", locked});
    EXPECT_EQ(readOnly.exitCode, 4);
    EXPECT_NE(readOnly.err.find("cannot write " + locked), std::string::npos) << readOnly.err;
    EXPECT_EQ(fixtures::readFile(locked), (Bytes{1, 2, 3}));
}

TEST_F(SetPaths, SeveralFilesAreHandledApartAndTheHighestCodeWins)
{
    const std::string hard =
        writeImage("hard.rom", fixtures::buildImage(scenarios::imageNeedingClassic()));
    const CliRun run =
        runCli({"set",          input_, path("missing.rom"), hard,   "--3d-gpu",     "1200",
                "--3d-ram",     "1700", "--bootup-gpu",      "1200", "--bootup-ram", "1700",
                "--2d-gpu",     "1200", "--2d-ram",          "1700", "--3d-low-gpu", "1200",
                "--3d-low-ram", "1700"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_NE(run.err.find(path("missing.rom") + ": cannot open: No such file or directory"),
              std::string::npos);
    EXPECT_EQ(files(), (std::vector<std::string>{"card.rom", "card_mod.rom", "hard.rom"}));
}

// A file name of fewer than four characters keeps its folder: "_mod" goes at its end.
TEST_F(SetPaths, AShortFileNameIsSavedBesideItself)
{
    std::filesystem::create_directories(dir_ / "dumps");
    const std::string shortName = writeImage("dumps/v1", original_);
    const std::string bystander = writeImage("dump_mods", Bytes{7});
    const CliRun run = runCli({"set", shortName, "--3d-gpu", "800"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "dumps" / "v1_mod"));
    EXPECT_EQ(fixtures::readFile(bystander), Bytes{7});
}

// Every line the tool prints, on either stream, shows a control character in a file name as
// \xNN rather than handing it to the terminal.
TEST_F(SetPaths, ControlCharactersInFileNamesAreEscapedInEveryLine)
{
    const std::string odd = writeImage("odd\x1b[2J\r.rom", original_);
    const CliRun saved = runCli({"set", odd, "--3d-gpu", "800"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const CliRun refused = runCli({"set", path("gone\x07.rom"), "--3d-gpu", "800"});
    EXPECT_EQ(refused.exitCode, 2);
    for (const std::string& text : {saved.out, refused.err})
        EXPECT_EQ(text.find_first_of("\x1b\r\x07"), std::string::npos) << text;
    EXPECT_NE(saved.out.find("odd\\x1B[2J\\x0D.rom -> "), std::string::npos) << saved.out;
    EXPECT_NE(refused.err.find("gone\\x07.rom: cannot open"), std::string::npos) << refused.err;
}

// What the tool prints must reach standard output, as with the core utilities.
TEST_F(SetPaths, AnUnwritableStandardOutputIsAFailure)
{
    reliability::ChildLimits toFullDisk;
    toFullDisk.standardOutput = "/dev/full";
    const CliRun full = reliability::runTool({"info", input_, "--json"}, toFullDisk);
    EXPECT_NE(full.exitCode, 0);
    EXPECT_NE(full.err.find("standard output"), std::string::npos) << full.err;
}

struct UsageCase {
    std::string name;
    std::vector<std::string> arguments;  // "IN" stands for the input image
    std::string message;
};

// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const UsageCase& testCase, std::ostream* out) { *out << testCase.name; }

class SetUsage : public SetPaths, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(SetUsage, IsRefusedWithExitTwoAndWritesNothing)
{
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (argument == "IN") argument = input_;
    }
    const CliRun run = runCli(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(files(), std::vector<std::string>{"card.rom"});
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SetUsage,
    ::testing::Values(
        UsageCase{"no_command", {}, "Usage: clockvane COMMAND"},
        UsageCase{"unknown_command", {"edit", "IN"}, "unknown command 'edit'"},
        UsageCase{"no_file", {"set", "--3d-gpu", "800"}, "expects at least one FILE"},
        UsageCase{
            "unknown_option", {"set", "IN", "--3d-core", "800"}, "unknown option '--3d-core'"},
        UsageCase{"missing_value", {"set", "IN", "--3d-gpu"}, "'--3d-gpu' needs a value"},
        UsageCase{"given_twice", {"set", "IN", "--3d-gpu", "800", "--3d-gpu=900"}, "given twice"},
        UsageCase{"gpu_above_range", {"set", "IN", "--3d-gpu", "1201"}, "from 300 to 1200"},
        UsageCase{"ram_below_range", {"set", "IN", "--2d-ram", "399"}, "from 400 to 1700"},
        UsageCase{"clock_not_whole", {"set", "IN", "--3d-gpu", "800.5"}, "whole number of MHz"},
        // Only a plain decimal number is a voltage; the box's forgiving corrections are not
        // the tool's.
        UsageCase{
            "voltage_two_separators", {"set", "IN", "--3d-vcore", "1,2,3"}, "a decimal number"},
        UsageCase{"voltage_with_blank", {"set", "IN", "--3d-vcore", "1 2"}, "--3d-vcore '1 2'"},
        UsageCase{"voltage_letter_first", {"set", "IN", "--3d-vcore", "a1"}, "a decimal number"},
        UsageCase{"voltage_letter_prefix", {"set", "IN", "--3d-vcore", "x1.2"}, "a decimal number"},
        UsageCase{"voltage_empty", {"set", "IN", "--3d-vcore="}, "a decimal number"},
        UsageCase{
            "voltage_in_millivolts", {"set", "IN", "--3d-vcore", "1274"}, "from 0.9 to 1.327 V"},
        UsageCase{"voltage_above_range", {"set", "IN", "--2d-vcore", "1,4"}, "from 0.9 to 1.327 V"},
        UsageCase{
            "voltage_below_range", {"set", "IN", "--2d-vcore", "0.899"}, "from 0.9 to 1.327 V"},
        UsageCase{"uvd_while_linked", {"set", "IN", "--uvd-gpu", "500"}, "needs --unlink-uvd"},
        UsageCase{
            "output_with_two_files", {"set", "IN", "IN", "-o", "x.rom"}, "with one FILE only"},
        UsageCase{"flag_with_value", {"set", "IN", "--force=yes"}, "takes no value"}),
    [](const auto& info) { return info.param.name; });

TEST(CliHelp, EveryCommandHasHelpAndTheVersionIsThePackages)
{
    EXPECT_EQ(runCli({"--version"}).out, "clockvane " CLOCKVANE_VERSION "\n");
    for (const auto& [arguments, heading] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--help"}, "Usage: clockvane COMMAND"},
             {{"info", "--help"}, "Usage: clockvane info"},
             {{"set", "--help"}, "Usage: clockvane set"},
             {{"diff", "--help"}, "Usage: clockvane diff"}}) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.rfind(heading, 0), 0u) << run.out;
    }
}

}  // namespace
}  // namespace clockvane::clitest
