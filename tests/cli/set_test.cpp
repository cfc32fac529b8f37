#include <gtest/gtest.h>

#include "edit_scenarios.h"
#include "fixtures/cli_runner.h"

namespace clockvane::clitest {
namespace {

using scenarios::Control;
using scenarios::EditScenario;

// The scenario's edits as `set` options.
std::vector<std::string> setOptions(const EditScenario& scenario)
{
    std::vector<std::string> options;
    for (const scenarios::Edit& edit : scenario.edits) {
        std::string stem{kPowerStates[edit.state].key};
        if (stem == "3d_low") stem = "3d-low";
        const char* field = edit.control == Control::Gpu   ? "-gpu"
                            : edit.control == Control::Ram ? "-ram"
                                                           : "-vcore";
        options.push_back("--" + stem + field);
        options.push_back(edit.value);
    }
    if (scenario.unlinkUvd) options.emplace_back("--unlink-uvd");
    if (scenario.classicAnswer) options.emplace_back("--classic");
    return options;
}

class SetScenarios : public CliTest, public ::testing::WithParamInterface<EditScenario> {};

TEST_P(SetScenarios, WritesWhatTheSavePipelineGives)
{
    const EditScenario& scenario = GetParam();
    const auto reference = scenarios::referenceSave(scenario);
    ASSERT_EQ(reference.result.outcome, scenario.expectedOutcome);
    const std::string input = writeImage("card.rom", fixtures::buildImage(scenario.image));

    std::vector<std::string> arguments{"set", input, "-o", path("out.rom")};
    const auto options = setOptions(scenario);
    arguments.insert(arguments.end(), options.begin(), options.end());
    const bool corrected = scenario.expectedOutcome != SaveOutcome::NotCorrected;

    const CliRun run = runCli(arguments);
    if (!corrected) {
        // Without --force an uncorrected image is not written at all.
        EXPECT_EQ(run.exitCode, 3) << run.err;
        EXPECT_NE(run.err.find("Can't correct checksum."), std::string::npos);
        EXPECT_EQ(files(), std::vector<std::string>{"card.rom"});
        arguments.emplace_back("--force");
    }
    const CliRun written = corrected ? run : runCli(arguments);
    EXPECT_EQ(written.exitCode, corrected ? 0 : 3) << written.err;
    EXPECT_NE(written.out.find(corrected ? " (Corrected)\n" : " (NOT corrected)\n"),
              std::string::npos)
        << written.out;
    EXPECT_EQ(fixtures::readFile(path("out.rom")), reference.bytes);
    const bool offerDeclined = reference.result.classicQuestionAsked && !scenario.classicAnswer;
    EXPECT_EQ(written.err.find("Changed clock range too high!") != std::string::npos, offerDeclined)
        << written.err;
}

INSTANTIATE_TEST_SUITE_P(Edits, SetScenarios, ::testing::ValuesIn(scenarios::editScenarios()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace clockvane::clitest
