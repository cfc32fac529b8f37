// Every input of the table through the command-line tool: `info` and `set` refuse a bad file
// with exit code 2 and a reason naming it, and write nothing; a good one is shown and saved.
#include <gtest/gtest.h>

#include <regex>

#include "bad_inputs.h"
#include "bytes/sums.h"
#include "edit/save_pipeline.h"
#include "file_checks.h"
#include "files/save_name.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;

class BadInputThroughTool : public ::testing::TestWithParam<BadInput> {};

// The 3D High Power line of `info`: "3D   775.00   775   1125.00 ...".
int shown3dGpuMhz(const std::string& info)
{
    std::smatch match;
    if (!std::regex_search(info, match, std::regex(R"(\n3D +(\d+)\.\d\d )"))) return -1;
    return std::stoi(match[1]);
}

std::string shownChecksum(const std::string& info)
{
    std::smatch match;
    if (!std::regex_search(info, match, std::regex(R"(Checksum-16: +([0-9A-F]{4}))"))) return {};
    return match[1];
}

void expectRefused(const ToolRun& run, const fs::path& path, const std::string& reason)
{
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    const std::string expected = "clockvane: " + path.string() + ": " + reason;
    EXPECT_EQ(run.err.rfind(expected, 0), 0u) << run.err << "\nexpected: " << expected;
}

TEST_P(BadInputThroughTool, InfoAndSetRefuseWithExitTwoOrShowAndSaveTheImage)
{
    if (!haveCommandLineTool()) GTEST_SKIP() << "built without the command-line tool";
    const BadInput& input = GetParam();
    ScratchFolder folder;
    const fs::path path = folder / input.fileName;
    ChildLimits limits;
    if (input.needsUnprivilegedUser && runningAsSuperuser()) limits.user = kUnprivilegedId;

    for (std::size_t v = 0; v < input.versions.size(); ++v) {
        SCOPED_TRACE("state " + std::to_string(v + 1) + " of the file");
        const InputVersion& version = input.versions[v];
        version.make(path);
        const auto before = folderContents(folder.path());

        const ToolRun info = runTool({"info", path.string()}, limits);
        if (limits.user && info.exitCode == kToolNotRunnable)
            GTEST_SKIP() << "user " << *limits.user << " may not run the built tool";
        const ToolRun set = runTool({"set", path.string(), "--3d-gpu", "800"}, limits);

        if (version.verdict != Verdict::Opens) {
            expectRefused(info, path, version.cliReason);
            expectRefused(set, path, version.cliReason);
            EXPECT_EQ(folderContents(folder.path()), before) << "a refused file wrote something";
            continue;
        }
        const Bytes original = fixtures::readFile(path);
        EXPECT_EQ(info.exitCode, 0) << info.err;
        EXPECT_EQ(info.err, "");
        EXPECT_EQ(shown3dGpuMhz(info.out), version.gpu3dMhz) << info.out;
        EXPECT_EQ(shownChecksum(info.out),
                  SumBytes(ByteView(original).first(std::min(original.size(), kImageReadLimit))));

        const fs::path output = defaultSaveName(path.string());
        EXPECT_EQ(set.exitCode, 0) << set.err;
        ASSERT_TRUE(fs::exists(output)) << output;
        EXPECT_TRUE(savedCopyMatches(original, fixtures::readFile(output), 800));
        EXPECT_EQ(fixtures::readFile(path), original) << "the opened file was written";
        fs::remove(output);
        EXPECT_EQ(folderContents(folder.path()), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputThroughTool, ::testing::ValuesIn(badInputs()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace clockvane::reliability
