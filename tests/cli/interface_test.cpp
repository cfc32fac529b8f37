// The interface: usage errors, help and version, control characters, JSON texts, standard
// output.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "clockvane_version.h"

#include "cli/help_texts.h"
#include "cli/json_writer.h"
#include "cli/text_format.h"
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
    {"GpuAbove1200", {"set", "IN", "--3d-gpu=1201"}, "from 300 to 1200"},
    {"RamBelow400", {"set", "IN", "--2d-ram", "399"}, "from 400 to 1700"},
    {"ClockNotWhole", {"set", "IN", "--3d-gpu", "800.5"}, "whole number of MHz"},
    {"VoltageTwoSeparators", {"set", "IN", "--3d-vcore", "1,2,3"}, "a decimal number"},
    {"VoltageWithBlank", {"set", "IN", "--3d-vcore=1 2"}, "--3d-vcore '1 2'"},
    {"VoltageWithSign", {"set", "IN", "--3d-vcore", "+1.2"}, "a decimal number"},
    {"VoltageLetterPrefix", {"set", "IN", "--3d-vcore", "x1.2"}, "--3d-vcore 'x1.2'"},
    {"VoltageEmpty", {"set", "IN", "--3d-vcore="}, "a decimal number"},
    {"VoltageInMillivolts", {"set", "IN", "--3d-vcore", "1274"}, "from 0.9 to 1.327 V"},
    {"VoltageAbove1327", {"set", "IN", "--2d-vcore", "1,328"}, "from 0.9 to 1.327 V"},
    {"VoltageBelow0900", {"set", "IN", "--2d-vcore", "0.899"}, "from 0.9 to 1.327 V"},
    {"UvdWhileLinked", {"set", "IN", "--uvd-gpu", "500"}, "needs --unlink-uvd"},
    {"OutputWithTwoFiles", {"set", "IN", "IN", "-o", "x.rom"}, "with one FILE only"},
    {"OutputIsTheInput", {"set", "IN", "-o", "IN", "--3d-gpu", "800"}, "is an input file"},
    {"DiffOfAMissingFile", {"diff", "IN", "gone.rom"}, "gone.rom: cannot open"},
    {"StandardInput", {"info", "-"}, "info: '-' (standard input or output) is not supported"},
    {"StandardInputAfterDashes", {"diff", "IN", "--", "-"}, "'-' (standard input or output)"},
    {"NameAfterDashes", {"info", "--", "-gone.rom"}, "-gone.rom: cannot open"},
    {"StandardOutput", {"set", "IN", "-o", "-", "--3d-gpu", "800"}, "-o '-' (standard input"},
};

class Usage : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(Usage, IsRefusedWithExitTwoAndWritesNothing)
{
    const Bytes image = fixtures::buildImage({});
    const std::string input = writeImage("card.rom", image);
    std::vector<std::string> arguments = GetParam().arguments;
    std::replace(arguments.begin(), arguments.end(), std::string("IN"), input);
    const CliRun run = runTool(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(files(), std::set<std::string>{"card.rom"});
    EXPECT_EQ(fixtures::readFile(input), image);
}

INSTANTIATE_TEST_SUITE_P(Arguments, Usage, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return info.param.name; });

TEST(Help, EveryCommandHasHelpAndTheVersionIsThePackages)
{
    EXPECT_EQ(runTool({"--version"}).out, "clockvane " CLOCKVANE_VERSION "\n");
    EXPECT_EQ(runTool({"--help"}).out.rfind("Usage: clockvane COMMAND", 0), 0u);
    for (const std::string command : {"info", "set", "diff"}) {
        const CliRun run = runTool({command, "--help"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.rfind("Usage: clockvane " + command, 0), 0u) << run.out;
    }
}

// clockvane(1) as the build wrote it from the help texts, and docs/cli.md written by hand: both
// must name every option a help text names. The page's title line holds the release date, its
// NAME the summary.
TEST(Help, TheManualPageAndTheGuideNameEveryOptionOfTheHelp)
{
    const auto read = [](const char* path) {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    };
    const std::string guide = read(CLOCKVANE_CLI_GUIDE);
    ASSERT_FALSE(guide.empty()) << CLOCKVANE_CLI_GUIDE;
    const std::string built = read(CLOCKVANE_MAN_PAGE);
    EXPECT_TRUE(
        std::regex_search(built, std::regex(R"(^\.TH CLOCKVANE 1 "\d{4}-\d\d-\d\d" "clockvane )")));
    EXPECT_NE(built.find("\n.SH NAME\nclockvane \\- read, edit and compare HD 3850/3870/3870 X2 "
                         "video BIOS images\n"),
              std::string::npos);
    // roff writes each hyphen of an option as \-.
    const std::string page = std::regex_replace(built, std::regex(R"(\\-)"), "-");
    const std::regex option(R"(--[A-Za-z][A-Za-z-]*[A-Za-z]|-o [A-Z]+)");
    for (const std::string_view help :
         {cli::kToolHelp, cli::kInfoHelp, cli::kSetHelp, cli::kDiffHelp}) {
        const std::string text(help);
        for (auto match = std::sregex_iterator(text.begin(), text.end(), option);
             match != std::sregex_iterator(); ++match) {
            EXPECT_NE(page.find(match->str()), std::string::npos)
                << "clockvane(1): " << match->str();
            EXPECT_NE(guide.find(match->str()), std::string::npos) << "cli.md: " << match->str();
        }
    }
}

// JSON holds valid UTF-8 only: a byte that starts no well-formed sequence becomes U+FFFD, the
// controls become \u00XX. One- and three-byte sequences begin at 0x00 and 0xE0.
TEST(JsonEscape, KeepsWellFormedUtf8AndReplacesEveryOtherByte)
{
    const std::string_view bad = "\xEF\xBF\xBD";
    using Row = std::pair<std::string_view, std::string>;
    for (const auto& [text, escaped] :
         {Row{"\x80", std::string(bad)}, Row{"\x7F\xC2\x85", "\\u007F\\u0085"},
          Row{"\xE0\xA0\x80\xDF\xBF", "\xE0\xA0\x80\xDF\xBF"},
          Row{"\xE0\x9F\xBF", std::string(bad) + std::string(bad) + std::string(bad)},
          Row{"\xC1\xBF\xF4\x90",
              std::string(bad) + std::string(bad) + std::string(bad) + std::string(bad)},
          Row{"\xF0\x9F\x98\x80\"\\", "\xF0\x9F\x98\x80\\\"\\\\"}})
        EXPECT_EQ(cli::jsonEscape(text), escaped) << text;
}

// A text as wide as its column, or wider, is written as it is: no padding, nothing cut.
TEST(TextColumns, AFullColumnGetsNoPadding)
{
    EXPECT_EQ(cli::padLeft("775", 5) + "|" + cli::padLeft("1125", 4) + "|" +
                  cli::padLeft("12345", 4),
              "  775|1125|12345");
    EXPECT_EQ(cli::padRight("2D", 4) + "|" + cli::padRight("UVD", 3) + "|", "2D  |UVD|");
}

// Every command shows a name's controls escaped (the rule above); what the tool prints must
// reach standard output, and when it does not, the message says why.
TEST_F(CliTest, EscapesControlCharactersAndFailsWhenStandardOutputCannotBeWritten)
{
    const std::string odd = writeImage("odd\x1b[2J\r\x9B\xE9.rom", fixtures::buildImage({}));
    const CliRun saved = runTool({"set", odd, "--3d-gpu", "800"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const CliRun refused = runTool({"set", path("gone\x07\x9D.rom"), "--3d-gpu", "800"});
    EXPECT_EQ(refused.exitCode, 2);
    for (const std::string& text :
         {saved.out, refused.err, runTool({"info", odd}).out, runTool({"diff", odd, odd}).out})
        EXPECT_EQ(text.find_first_of("\x1b\r\x07\x9B\x9D"), std::string::npos) << text;
    EXPECT_NE(saved.out.find("odd\\x1B[2J\\x0D\\x9B\\xE9.rom -> "), std::string::npos) << saved.out;
    EXPECT_NE(runTool({"diff", odd, odd, "--json"})
                  .out.find("odd\\u001B[2J\\u000D\xEF\xBF\xBD\xEF\xBF\xBD.rom\""),
              std::string::npos);
    EXPECT_NE(refused.err.find("gone\\x07\\x9D.rom: cannot open"), std::string::npos)
        << refused.err;

    reliability::ChildLimits toFullDisk;
    toFullDisk.standardOutput = "/dev/full";
    const CliRun full = runTool({"info", odd, "--json"}, toFullDisk);
    EXPECT_EQ(full.exitCode, 4);
    EXPECT_EQ(full.err, "clockvane: cannot write to standard output: No space left on device\n");
}

}  // namespace
}  // namespace clockvane::clitest
