// What every front-end does between its toolkit and the controller: the VCore box's input
// rules, the way each event reaches its handler and the window renders, and what it makes of
// the desktop's decimal point and of the About window's address.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/home_page.h"
#include "app/vcore_box_input.h"
#include "app/window_events.h"
#include "fixtures/fake_platform.h"

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

// A handler runs and the window renders; what the render itself sets off reaches no handler,
// and a file named on the command line or dropped is opened on the event loop's next turn.
TEST(WindowEvents, EachEventRendersOnceAndNothingReachesAHandlerWhileRendering)
{
    testing::FakePlatform fake;
    MainController controller(fake);
    std::vector<std::function<void()>> nextTurn;
    std::vector<std::string> renders;
    WindowEvents* self = nullptr;
    WindowEvents events(
        controller,
        [&] {
            // A widget set by the render reports its change, and its key filter is asked.
            self->forward([&] { controller.SetLangEnglish_Click(); });
            renders.push_back(controller.state().romOpen.caption + "|" +
                              std::to_string(self->vcoreKeyAdmitted(0, 'x')));
        },
        [&](std::function<void()> action) { nextTurn.push_back(std::move(action)); });
    self = &events;

    events.forward([&] { controller.SetLangDeutsch_Click(); });
    EXPECT_EQ(renders, std::vector<std::string>{"ROM Datei Ö&ffnen|1"});
    EXPECT_FALSE(events.vcoreKeyAdmitted(0, 'x'));

    events.openCommandLineFile("no/such/../card.rom");  // named from the working folder
    events.filesDropped({"/no/such/dropped.rom"});
    EXPECT_TRUE(fake.messages.empty());
    ASSERT_EQ(nextTurn.size(), 2u);
    for (const auto& action : nextTurn) action();
    ASSERT_EQ(fake.messages.size(), 2u);
    const std::string named = (std::filesystem::current_path() / "no/card.rom").string();
    EXPECT_NE(fake.messages[0].text.find(named), std::string::npos) << fake.messages[0].text;
    EXPECT_EQ(renders.size(), 3u);
}

TEST(DesktopValues, DecimalPointAndAboutAddress)
{
    EXPECT_EQ(std::string() + decimalSeparatorFrom(",") + decimalSeparatorFrom(".") +
                  decimalSeparatorFrom("") + decimalSeparatorFrom("\xD9\xAB"),  // Arabic point
              ",...");
    // The address, and what is opened: "url " or "file " and its text.
    using Row = std::pair<const char*, const char*>;
    for (const auto& [address, opened] :
         {Row{"../share/doc/clockvane/README.md", "file /opt/cv/share/doc/clockvane/README.md"},
          Row{"/usr/share/doc/c/README.md", "file /usr/share/doc/c/README.md"},
          Row{"https://orvanta.example/c", "url https://orvanta.example/c"},
          Row{"svn+ssh://host/c", "url svn+ssh://host/c"}, Row{"a_b:c", "file /opt/cv/bin/a_b:c"},
          Row{"c:README.md", "file /opt/cv/bin/c:README.md"}}) {
        const ShellTarget target = shellTarget(address, "/opt/cv/bin");
        EXPECT_EQ(target.url.empty() ? "file " + target.file.string() : "url " + target.url,
                  opened);
    }
}

}  // namespace
}  // namespace clockvane::app
