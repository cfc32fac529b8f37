// The window must write, byte for byte, what the core's save pipeline (and with it the
// command-line tool) writes for the same edits. The edits come from the table every
// front-end's tests share.

#include <gtest/gtest.h>

#include "../cli/edit_scenarios.h"
#include "controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using scenarios::Control;
using scenarios::EditScenario;

class ScenarioParity : public ControllerTest,
                       public ::testing::WithParamInterface<std::tuple<EditScenario, char>> {
protected:
    ScenarioParity() : ControllerTest(std::get<1>(GetParam())) {}

    // The user's edits on the window's own controls, typed with the user's separator.
    void replay(const EditScenario& scenario, char separator)
    {
        if (scenario.unlinkUvd) controller.Chk_UVD_Click();
        for (const scenarios::Edit& edit : scenario.edits) {
            const PowerState& state = kPowerStates[edit.state];
            if (edit.control == Control::Vcore) {
                std::string typed = edit.value;
                for (char& c : typed) c = (c == ',' || c == '.') ? separator : c;
                controller.setVcoreText(state.vcoreBox, typed);
                controller.CmbVCore_LostFocus(state.vcoreBox);
            } else {
                const std::size_t slider =
                    edit.control == Control::Gpu ? state.gpuSlider : state.ramSlider;
                controller.setSliderValue(slider, std::stoi(edit.value));
                controller.ScrollBar1_Change(slider);
            }
        }
    }
};

TEST_P(ScenarioParity, WindowWritesWhatThePipelineWrites)
{
    const auto& [scenario, separator] = GetParam();
    fake.memoryAnswers.push_back(false);  // answers the size prompt of images that do not say
    openRecipe(scenario.image);
    ASSERT_TRUE(controller.hasImage());
    replay(scenario, separator);

    fake.yesNoAnswers.push_back(scenario.classicAnswer ? MessageAnswer::Yes : MessageAnswer::No);
    const std::string target = (dir / "saved.rom").string();
    save(target);

    const scenarios::ReferenceSave reference = scenarios::referenceSave(scenario);
    EXPECT_EQ(fixtures::readFile(target), reference.bytes);
    const std::string& checksumPanel = controller.state().statusPanels[1];
    const bool corrected = reference.result.outcome != SaveOutcome::NotCorrected;
    EXPECT_EQ(checksumPanel.ends_with(corrected ? " (Corrected)" : " (NOT corrected)") ||
                  checksumPanel.ends_with(corrected ? " (Korrigiert)" : " (NICHT korrigiert)"),
              true)
        << checksumPanel;
}

std::string parityName(const ::testing::TestParamInfo<std::tuple<EditScenario, char>>& info)
{
    return std::get<0>(info.param).name + (std::get<1>(info.param) == ',' ? "_comma" : "_point");
}

INSTANTIATE_TEST_SUITE_P(EditScenarios, ScenarioParity,
                         ::testing::Combine(::testing::ValuesIn(scenarios::editScenarios()),
                                            ::testing::Values(',', '.')),
                         parityName);

}  // namespace
}  // namespace clockvane::app::testing
