#include <gtest/gtest.h>

#include "fixtures/cli_runner.h"
#include "fixtures/image_builder.h"

namespace clockvane::clitest {
namespace {

struct BadInput {
    std::string name;
    std::string reason;  // expected on standard error after the file's name
};

// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const BadInput& testCase, std::ostream* out) { *out << testCase.name; }

class BadInputs : public CliTest, public ::testing::WithParamInterface<BadInput> {
protected:
    // Creates the bad input and returns its path.
    std::string make()
    {
        const std::string& name = GetParam().name;
        fixtures::ImageRecipe recipe;
        if (name == "missing") return path("missing.rom");
        if (name == "directory") {
            std::filesystem::create_directories(dir_ / "folder.rom");
            return path("folder.rom");
        }
        if (name == "empty") return writeImage("empty.rom", Bytes{});
        if (name == "big_endian_device_id") recipe.deviceId = "0195";
        if (name == "no_clock_table") recipe.signatureOffset = std::nullopt;
        if (name == "signature_past_50000") recipe.signatureOffset = 49'989;
        return writeImage(name + ".rom", fixtures::buildImage(recipe));
    }
};

TEST_P(BadInputs, EveryCommandRefusesWithExitTwoAndWritesNothing)
{
    const std::string bad = make();
    const std::string good = writeImage("good.rom", fixtures::buildImage(fixtures::ImageRecipe{}));
    const auto before = files();
    const std::string expected = "clockvane: " + bad + ": " + GetParam().reason;

    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"info", bad},
                                               {"info", bad, "--json"},
                                               {"set", bad, "--3d-gpu", "800"},
                                               {"diff", bad, good},
                                               {"diff", good, bad}}) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.front();
        EXPECT_EQ(run.out, "") << arguments.front();
        EXPECT_EQ(run.err.rfind(expected, 0), 0u) << run.err;
        EXPECT_EQ(files(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputs,
    ::testing::Values(BadInput{"missing", "cannot open: No such file or directory"},
                      BadInput{"directory", "cannot read: Is a directory"},
                      BadInput{"empty", "not an ATI 38xx BIOS image: the file is too short"},
                      BadInput{"big_endian_device_id",
                               "not an ATI 38xx BIOS image: device ID 0195 at 0x88"},
                      BadInput{"no_clock_table", "no clock table"},
                      BadInput{"signature_past_50000", "no clock table"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace clockvane::clitest
