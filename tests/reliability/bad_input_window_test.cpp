// Every input of the table through the window's open sequence, chosen in the open dialog and
// dropped on the window. A refused file gives its message box and leaves the window and the
// document exactly as the image opened before left them; a good one opens and saves.
#include <gtest/gtest.h>

#include "app/main_controller.h"
#include "bad_inputs.h"
#include "file_checks.h"
#include "fixtures/fake_platform.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"
#include "fixtures/window_snapshot.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;
using app::MessageIcon;

enum class Route { Dialog, Drop };

struct ExpectedMessage {
    std::string title;
    MessageIcon icon;
    std::string text;  // the whole text, or its first line for a file that cannot be read
};

ExpectedMessage messageFor(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Unreadable:
        return {"Cannot read file", MessageIcon::Critical, "The file cannot be read:"};
    case Verdict::WrongFile:
        return {"Wrong ROM file", MessageIcon::Exclamation,
                "Sorry, this is not an ATI 38xx BIOS.ROM file"};
    case Verdict::NoClockTable:
        return {"No clock table", MessageIcon::Exclamation,
                "Sorry, this BIOS.ROM file holds no clock table that this editor can edit."};
    case Verdict::Opens: break;
    }
    return {};
}

// A drop is taken only for a name ending in ROM or BIN, in any case.
bool dropIsTaken(const std::string& name)
{
    if (name.size() < 3) return false;
    std::string ending = name.substr(name.size() - 3);
    for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ending == "ROM" || ending == "BIN";
}

class BadInputThroughWindow : public ::testing::TestWithParam<std::tuple<BadInput, Route>> {
protected:
    void SetUp() override
    {
        fake.attach(controller);
        controller.Form_Load();
        // The image every refusal must leave standing: an HD 3850 with 256 MB, its own clocks,
        // and one slider moved since it was opened.
        fixtures::ImageRecipe previous;
        previous.deviceId = "9505";
        previous.memoryText = "GDDR3 256MB";
        previous.entries[3].gpuClock = 66'800;
        const fs::path previousPath = folder / "previous.rom";
        fixtures::writeFile(previousPath, fixtures::buildImage(previous));
        fake.openDialogAnswers.emplace_back(previousPath.string());
        controller.ROMOpen_Click();
        controller.setSliderValue(2, 350);
        controller.ScrollBar1_Change(2);
        ASSERT_TRUE(controller.hasImage());
        ASSERT_TRUE(fake.messages.empty());
        fake.clearRecords();
    }

    void openThrough(Route route, const fs::path& path)
    {
        if (route == Route::Dialog) {
            fake.openDialogAnswers.emplace_back(path.string());
            controller.ROMOpen_Click();
        } else {
            controller.Form_OLEDragDrop({path.string()});
        }
    }

    ScratchFolder folder;
    app::testing::FakePlatform fake;
    app::MainController controller{fake};
};

TEST_P(BadInputThroughWindow, RefusesWithItsMessageAndChangesNothingOrOpensAndSaves)
{
    const BadInput& input = std::get<0>(GetParam());
    const Route route = std::get<1>(GetParam());
    const fs::path path = folder / input.fileName;
    const bool unprivileged = input.needsUnprivilegedUser && runningAsSuperuser();

    for (std::size_t v = 0; v < input.versions.size(); ++v) {
        SCOPED_TRACE("state " + std::to_string(v + 1) + " of the file");
        const InputVersion& version = input.versions[v];
        version.make(path);
        const std::string wholeWindow = describeWholeWindow(controller.state());
        const std::string window = describeWindowBesideProgress(controller.state());
        const std::string document = describeDocument(controller);

        if (unprivileged) {
            withFileSystemUser(kUnprivilegedId, [&] { openThrough(route, path); });
        } else {
            openThrough(route, path);
        }

        if (route == Route::Drop && !dropIsTaken(input.fileName)) {
            EXPECT_TRUE(fake.events.empty()) << "a drop of " << input.fileName << " was taken";
            EXPECT_EQ(describeWholeWindow(controller.state()), wholeWindow);
            continue;
        }
        if (version.verdict != Verdict::Opens) {
            const ExpectedMessage expected = messageFor(version.verdict);
            ASSERT_EQ(fake.messages.size(), 1u);
            const app::testing::RecordedMessage& shown = fake.messages.front();
            EXPECT_EQ(shown.title, expected.title);
            EXPECT_EQ(shown.icon, expected.icon);
            if (version.verdict == Verdict::Unreadable) {
                // The first line, the file's path, then the system's reason.
                EXPECT_EQ(shown.text.rfind(expected.text + "\r" + path.string() + "\r\r", 0), 0u)
                    << shown.text;
            } else {
                EXPECT_EQ(shown.text, expected.text);
            }
            EXPECT_EQ(describeWindowBesideProgress(controller.state()), window);
            EXPECT_EQ(describeDocument(controller), document);
            EXPECT_EQ(controller.state().statusPanels[app::kProgressPanel],
                      "Wrong file selected, aborting...");
            EXPECT_EQ(fake.timerStarts, 1);
            fake.clearRecords();
            continue;
        }

        const Bytes original = fixtures::readFile(path);
        const std::size_t imageLength = std::min(original.size(), kImageReadLimit);
        EXPECT_TRUE(fake.messages.empty()) << fake.messages.front();
        ASSERT_TRUE(controller.hasImage());
        EXPECT_EQ(controller.image()->fileImage,
                  Bytes(original.begin(), original.begin() + imageLength));
        EXPECT_EQ(controller.image()->beyondImage.size(), original.size() - imageLength);
        EXPECT_EQ(controller.state().sliders[4].value, version.gpu3dMhz);
        EXPECT_TRUE(controller.state().romSave.enabled);
        EXPECT_EQ(controller.state().statusPanels[app::kProgressPanel], "Done...");

        const fs::path saved = folder / "saved.rom";
        controller.setSliderValue(4, 800);
        controller.ScrollBar1_Change(4);
        fake.saveDialogAnswers.emplace_back(saved.string());
        controller.ROMSave_Click();
        EXPECT_TRUE(fake.messages.empty()) << fake.messages.front();
        ASSERT_TRUE(fs::exists(saved));
        EXPECT_TRUE(savedCopyMatches(original, fixtures::readFile(saved), 800));
        EXPECT_EQ(fixtures::readFile(path), original) << "the opened file was written";
        fs::remove(saved);
        fake.clearRecords();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputThroughWindow,
                         ::testing::Combine(::testing::ValuesIn(badInputs()),
                                            ::testing::Values(Route::Dialog, Route::Drop)),
                         [](const auto& info) {
                             return std::get<0>(info.param).name +
                                    (std::get<1>(info.param) == Route::Dialog ? "_Dialog"
                                                                              : "_Drop");
                         });

}  // namespace
}  // namespace clockvane::reliability
