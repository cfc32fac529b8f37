// The VCore box's input rules that every front-end applies before the controller hears of a
// key, a paste or a change of focus.

#include <gtest/gtest.h>

#include "app/vcore_box_input.h"

namespace clockvane::app {
namespace {

using Name = BoxKey::Name;

TEST(VcoreBoxInput, KeysMapToTheirCodesAndSteps)
{
    // The code asked about, and the step: 1 up, -1 down, 0 none.
    using Row = std::tuple<BoxKey, int, int>;
    for (const auto& [key, code, step] : {
             Row{{Name::Character, '7', false}, '7', 0},
             Row{{Name::Character, 0xE9, false}, 0xE9, 0},  // é: asked, and the filter says no
             Row{{Name::Character, '\t', false}, 0, 0},
             Row{{Name::Character, 'v', true}, 0, 0},  // Ctrl+V is a shortcut, not typing
             Row{{Name::Backspace, 0, false}, 8, 0},
             Row{{Name::Backspace, 0, true}, 0, 0},
             Row{{Name::Up, 0, false}, 0, 1},
             Row{{Name::PageUp, 0, false}, 0, 1},
             Row{{Name::Down, 0, false}, 0, -1},
             Row{{Name::PageDown, 0, false}, 0, -1},
             Row{{Name::Down, 0, true}, 0, 0},  // Alt+Down opens the list
             Row{{Name::Other, 0, false}, 0, 0},
         }) {
        EXPECT_EQ(keyAsciiOf(key), code) << key.character;
        const auto up = stepOf(key);
        EXPECT_EQ(up ? (*up ? 1 : -1) : 0, step) << int(key.name);
    }
    EXPECT_EQ(stepOfWheel(120), std::optional<bool>(true));
    EXPECT_EQ(stepOfWheel(-15), std::optional<bool>(false));
    EXPECT_EQ(stepOfWheel(0), std::nullopt);

    EXPECT_TRUE(leavesTheBox(FocusMove::ToAnotherControl));
    for (const FocusMove stays :
         {FocusMove::ToPopup, FocusMove::ToMenu, FocusMove::ToAnotherWindow})
        EXPECT_FALSE(leavesTheBox(stays));
}

// A paste is typed character by character: the filter sees the text as it grows.
TEST(VcoreBoxInput, PastedTextIsTypedThroughTheKeyFilter)
{
    std::string box = "1";
    std::vector<int> asked;
    const auto admits = [&](int key) {
        asked.push_back(key);
        // Digits, and one comma once there is a digit: the filter looks at the box.
        return (key >= '0' && key <= '9') || (key == ',' && box.find(',') == std::string::npos);
    };
    typeThroughKeyFilter("a,2\r\n,5\xFF\tx\xC3\xA9", admits,
                         [&](std::string_view character) { box += character; });
    EXPECT_EQ(box, "1,25");
    EXPECT_EQ(asked, (std::vector<int>{'a', ',', '2', ',', '5', 'x', 0xE9}));
}

}  // namespace
}  // namespace clockvane::app
