// The interface: usage errors, help and version, control characters, standard output.
#include <gtest/gtest.h>

#include "clockvane_version.h"

#include "cli/arguments.h"
#include "fixtures/cli_runner.h"
#include "fixtures/image_builder.h"

namespace clockvane::clitest {
namespace {

struct UsageCase {
    std::string name;
    std::vector<std::string> arguments;  // "IN" stands for the input image
    std::string message;
};

// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const UsageCase& row, std::ostream* out) { *out << row.name; }

// Only a plain decimal number is a voltage: the box's forgiving corrections are not the tool's.
const UsageCase kUsageCases[] = {
    {"NoCommand", {}, "Usage: clockvane COMMAND"},
    {"UnknownCommand", {"edit", "IN"}, "unknown command 'edit'"},
    {"NoFile", {"set", "--3d-gpu", "800"}, "expects at least one FILE"},
    {"UnknownOption", {"set", "IN", "--3d-core", "800"}, "unknown option '--3d-core'"},
    {"MissingValue", {"set", "IN", "--3d-gpu"}, "'--3d-gpu' needs a value"},
    {"GivenTwice", {"set", "IN", "--3d-gpu", "800", "--3d-gpu=900"}, "given twice"},
    {"FlagWithValue", {"set", "IN", "--force=yes"}, "takes no value"},
    {"GpuAbove1200", {"set", "IN", "--3d-gpu", "1201"}, "from 300 to 1200"},
    {"GpuBelow300", {"set", "IN", "--2d-gpu", "299"}, "from 300 to 1200"},
    {"RamBelow400", {"set", "IN", "--2d-ram", "399"}, "from 400 to 1700"},
    {"RamAbove1700", {"set", "IN", "--3d-ram", "1701"}, "from 400 to 1700"},
    {"ClockNotWhole", {"set", "IN", "--3d-gpu", "800.5"}, "whole number of MHz"},
    {"VoltageTwoSeparators", {"set", "IN", "--3d-vcore", "1,2,3"}, "a decimal number"},
    {"VoltageWithBlank", {"set", "IN", "--3d-vcore", "1 2"}, "--3d-vcore '1 2'"},
    {"VoltageLetterFirst", {"set", "IN", "--3d-vcore", "a1"}, "a decimal number"},
    {"VoltageLetterPrefix", {"set", "IN", "--3d-vcore", "x1.2"}, "--3d-vcore 'x1.2'"},
    {"VoltageEmpty", {"set", "IN", "--3d-vcore="}, "a decimal number"},
    {"VoltageInMillivolts", {"set", "IN", "--3d-vcore", "1274"}, "from 0.9 to 1.327 V"},
    {"VoltageAbove1327", {"set", "IN", "--2d-vcore", "1,328"}, "from 0.9 to 1.327 V"},
    {"VoltageBelow0900", {"set", "IN", "--2d-vcore", "0.899"}, "from 0.9 to 1.327 V"},
    {"UvdWhileLinked", {"set", "IN", "--uvd-gpu", "500"}, "needs --unlink-uvd"},
    {"OutputWithTwoFiles", {"set", "IN", "IN", "-o", "x.rom"}, "with one FILE only"},
    {"OutputIsTheInput", {"set", "IN", "-o", "IN", "--3d-gpu", "800"}, "is an input file"},
    {"DiffOfAMissingFile", {"diff", "IN", "gone.rom"}, "gone.rom: cannot open"},
};

class Usage : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(Usage, IsRefusedWithExitTwoAndWritesNothing)
{
    const Bytes image = fixtures::buildImage({});
    const std::string input = writeImage("card.rom", image);
    std::vector<std::string> arguments = GetParam().arguments;
    std::replace(arguments.begin(), arguments.end(), std::string("IN"), input);
    const CliRun run = runCli(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(files(), std::vector<std::string>{"card.rom"});
    EXPECT_EQ(fixtures::readFile(input), image);
}

INSTANTIATE_TEST_SUITE_P(Arguments, Usage, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return info.param.name; });

// A value follows its option after "=" or as the next argument; after "--" every argument is
// a name, even one that starts with a dash.
TEST(Arguments, ValuesFollowTheirOptionsAndADoubleDashEndsThem)
{
    const std::vector<std::string> arguments{"--3d-gpu=800", "--force", "--2d-gpu", "300",
                                             "--",           "-a.rom",  "--force"};
    const cli::AcceptedOption accepted[] = {
        {"--force", false}, {"--3d-gpu", true}, {"--2d-gpu", true}};
    const auto parsed = cli::parseArguments(arguments, accepted);
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed->options.at(0).value + parsed->options.at(2).value, "800300");
    EXPECT_EQ(parsed->positional, (std::vector<std::string>{"-a.rom", "--force"}));
}

TEST(Help, EveryCommandHasHelpAndTheVersionIsThePackages)
{
    EXPECT_EQ(runCli({"--version"}).out, "clockvane " CLOCKVANE_VERSION "\n");
    EXPECT_EQ(runCli({"--help"}).out.rfind("Usage: clockvane COMMAND", 0), 0u);
    for (const std::string command : {"info", "set", "diff"}) {
        const CliRun run = runCli({command, "--help"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.rfind("Usage: clockvane " + command, 0), 0u) << run.out;
    }
}

// Every line, on either stream, shows a control character in a name as \xNN rather than
// handing it to the terminal, as it does a byte that is no UTF-8; JSON escapes it and replaces
// bytes that are no UTF-8 by U+FFFD.
// What the tool prints must reach standard output.
TEST_F(CliTest, EscapesControlCharactersAndFailsWhenStandardOutputCannotBeWritten)
{
    const std::string odd = writeImage("odd\x1b[2J\r\xE9.rom", fixtures::buildImage({}));
    const CliRun saved = runCli({"set", odd, "--3d-gpu", "800"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const CliRun refused = runCli({"set", path("gone\x07.rom"), "--3d-gpu", "800"});
    EXPECT_EQ(refused.exitCode, 2);
    for (const std::string& text : {saved.out, refused.err})
        EXPECT_EQ(text.find_first_of("\x1b\r\x07"), std::string::npos) << text;
    EXPECT_NE(saved.out.find("odd\\x1B[2J\\x0D\\xE9.rom -> "), std::string::npos) << saved.out;
    EXPECT_NE(
        runCli({"diff", odd, odd, "--json"}).out.find("odd\\u001B[2J\\u000D\xEF\xBF\xBD.rom\""),
        std::string::npos);
    EXPECT_NE(refused.err.find("gone\\x07.rom: cannot open"), std::string::npos) << refused.err;

    reliability::ChildLimits toFullDisk;
    toFullDisk.standardOutput = "/dev/full";
    const CliRun full = reliability::runTool({"info", odd, "--json"}, toFullDisk);
    EXPECT_NE(full.exitCode, 0);
    EXPECT_NE(full.err.find("standard output"), std::string::npos) << full.err;
}

}  // namespace
}  // namespace clockvane::clitest
