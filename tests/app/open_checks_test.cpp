// What an open checks: clocks outside their sliders' ranges, the UVD link the image meets,
// and every way a file is refused (by the dialog, the drop rules, the file system or the
// core) without touching what the window shows.

#include <gtest/gtest.h>

#include <algorithm>

#include "fixtures/controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;

class OpenChecks : public ControllerTest {};

// --- Clocks outside their sliders' ranges -------------------------------------------------

ImageRecipe outOfRangeImage()
{
    ImageRecipe recipe;
    recipe.entries[0].gpuClock = 120001;  // BootUp GPU, 1200.01 MHz: too high
    recipe.entries[1].ramClock = 39999;   // 2D RAM: too low
    recipe.entries[2].gpuClock = 120000;  // 3D Low Power GPU at the limit: passes
    recipe.entries[2].ramClock = 170001;  // 3D Low Power RAM: too high
    recipe.entries[3].gpuClock = 29999;   // 3D GPU: too low
    recipe.entries[7].gpuClock = 0;       // UVD GPU: too low
    recipe.entries[4].gpuClock = 0;       // hidden entries are never checked
    recipe.entries[9].ramClock = 0xFFFFFF;
    return recipe;
}

TEST_F(OpenChecks, ReportsEachClockOutOfRangeInColumnOrderAndClampsIt)
{
    openRecipe(outOfRangeImage());
    const auto message = [](const std::string& line, const std::string& title) {
        return RecordedMessage{line + "\r\rPlease correct the setting", title,
                               MessageIcon::Exclamation, MessageButtons::Ok};
    };
    const std::vector<RecordedMessage> expected{
        message("BootUp GPU clock exceeds limit", "Clock read error"),
        message("2D RAM clock below limit", "Clock read error"),
        message("3D Low Power RAM clock exceeds limit", "Clock read error"),
        message("3D GPU clock below limit", "Clock read error"),
        message("UVD GPU clock below limit", "Clock read error"),
    };
    EXPECT_EQ(fake.messages, expected);
    const MainWindowState& state = controller.state();
    EXPECT_EQ(state.sliders[0].value, 1200);
    EXPECT_EQ(state.sliders[3].value, 400);
    EXPECT_EQ(state.sliders[8].value, 1200);
    EXPECT_EQ(state.sliders[9].value, 1700);
    EXPECT_EQ(state.sliders[4].value, 300);
    EXPECT_EQ(state.sliders[6].value, 300);
    // The messages come while the clocks are shown: after that pause, before the checksum's.
    const auto first =
        std::find(fake.events.begin(), fake.events.end(), "message:Clock read error");
    ASSERT_NE(first, fake.events.end());
    EXPECT_EQ(*(first - 1), "wait:0.2");
    EXPECT_EQ(fake.events.back(), "timer");
}

TEST_F(OpenChecks, ReportsClocksOutOfRangeInGerman)
{
    switchToGerman();
    openRecipe(outOfRangeImage());
    ASSERT_EQ(fake.messages.size(), 5u);
    EXPECT_EQ(fake.messages[0].title, "Takt zu hoch!");
    EXPECT_EQ(fake.messages[0].text,
              "BootUp GPU Takt über Limit\r\rBitte die Einstellung überprüfen");
    EXPECT_EQ(fake.messages[1].title, "Takt zu niedrig!");
    EXPECT_EQ(fake.messages[1].text, "2D RAM Takt unter Limit\r\rBitte die Einstellung überprüfen");
    EXPECT_EQ(fake.messages[4].text,
              "UVD GPU Takt unter Limit\r\rBitte die Einstellung überprüfen");
}

// --- The UVD link on opening ----------------------------------------------------------------

TEST_F(OpenChecks, LinkedImageMirrorsHighPowerInTheUvdColumn)
{
    openRecipe(ImageRecipe{});
    const MainWindowState& state = controller.state();
    EXPECT_TRUE(controller.uvdLinked());
    for (const std::size_t i : {6u, 7u}) {
        EXPECT_FALSE(state.sliders[i].enabled);
        EXPECT_EQ(state.clockLabels[i].caption, state.clockLabels[i - 2].caption);
        EXPECT_EQ(state.clockLabels[i].foreground, LabelColour::LightGrey);
        EXPECT_EQ(state.clockLabels[i].background, LabelColour::ButtonFace);
    }
    EXPECT_EQ(state.sliders[6].value, 400);  // its own value stays on the slider
    EXPECT_TRUE(state.linkLinesVisible);
    EXPECT_TRUE(state.linkedLabelVisible);
    EXPECT_EQ(state.vcoreBoxes[3].text, "");
    EXPECT_FALSE(state.vcoreBoxes[3].enabled);
}

TEST_F(OpenChecks, UnlinkedImageShowsItsOwnUvdValues)
{
    openRecipe(ImageRecipe{}, "first.rom");
    controller.Chk_UVD_Click();
    ImageRecipe second;
    second.entries[7] = {45000, 112500, 1200};
    fake.clearRecords();
    openRecipe(second, "second.rom");

    const MainWindowState& state = controller.state();
    EXPECT_TRUE(fake.messages.empty());  // the warning belongs to the click, not the open
    EXPECT_FALSE(controller.uvdLinked());
    EXPECT_TRUE(state.sliders[6].enabled);
    EXPECT_TRUE(state.sliders[7].enabled);
    EXPECT_EQ(state.clockLabels[6].caption, "450 MHz");
    EXPECT_EQ(state.clockLabels[7].caption, "1125 MHz");
    // The band's background stays; the text takes the normal colour, even on red.
    EXPECT_EQ(state.clockLabels[7].background, LabelColour::Red);
    EXPECT_EQ(state.clockLabels[7].foreground, LabelColour::ButtonText);
    EXPECT_EQ(state.vcoreBoxes[3].text, "1,2");
    EXPECT_TRUE(state.vcoreBoxes[3].enabled);
    EXPECT_FALSE(state.linkLinesVisible);
    EXPECT_FALSE(state.linkedLabelVisible);
    EXPECT_DOUBLE_EQ(controller.uvdVcoreKept(), 1.2);
}

// --- Files that are refused -----------------------------------------------------------------

enum class Refusal { WrongDeviceId, NoClockTable, Unreadable };

struct RefusalCase {
    Refusal refusal;
    bool german;
    std::string title;
    std::string textStart;
    MessageIcon icon;
    std::string status;
};

std::string refusalName(const ::testing::TestParamInfo<RefusalCase>& info)
{
    const char* kinds[] = {"WrongDeviceId", "NoClockTable", "Unreadable"};
    return kinds[static_cast<int>(info.param.refusal)] + languageName(info.param.german);
}

class RefusedFile : public ControllerTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedFile, LeavesTheDocumentAndWindowAsTheyWere)
{
    const std::string good = openRecipe(ImageRecipe{}, "good.rom");
    controller.setSliderValue(0, 800);
    controller.ScrollBar1_Change(0);
    controller.Timer1_Timer();
    if (GetParam().german) controller.SetLangDeutsch_Click();
    const std::string before = describeWindow(controller.state());
    const Bytes imageBefore = controller.image()->fileImage;
    fake.clearRecords();

    std::string path = (dir / "missing.rom").string();
    ImageRecipe bad;
    if (GetParam().refusal == Refusal::WrongDeviceId) bad.deviceId = "0195";  // 95 01: wrong order
    if (GetParam().refusal == Refusal::NoClockTable) bad.signatureOffset = std::nullopt;
    if (GetParam().refusal != Refusal::Unreadable) path = writeImage(bad, "bad.rom");
    open(path);

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, GetParam().title);
    EXPECT_EQ(fake.messages[0].text.substr(0, GetParam().textStart.size()), GetParam().textStart);
    EXPECT_EQ(fake.messages[0].icon, GetParam().icon);
    EXPECT_EQ(fake.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], GetParam().status);
    EXPECT_EQ(fake.events.back(), "timer");
    EXPECT_EQ(fake.timerStarts, 1);

    EXPECT_EQ(describeWindow(controller.state()), before);
    EXPECT_EQ(controller.image()->fileImage, imageBefore);
    EXPECT_TRUE(controller.state().romSave.enabled);
    EXPECT_EQ(controller.state().sliders[0].value, 800);
    EXPECT_FALSE(controller.busy());

    // The open dialog offers the refused file next time; the save still offers the good one's.
    controller.ROMOpen_Click();
    EXPECT_EQ(fake.dialogs.back().request.fileName, path);
    controller.ROMSave_Click();
    EXPECT_EQ(fake.dialogs.back().request.fileName, (dir / "good_mod.rom").string());
    (void)good;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RefusedFile,
    ::testing::Values(RefusalCase{Refusal::WrongDeviceId, false, "Wrong ROM file",
                                  "Sorry, this is not an ATI 38xx BIOS.ROM file",
                                  MessageIcon::Exclamation, "Wrong file selected, aborting..."},
                      RefusalCase{Refusal::WrongDeviceId, true, "Keine ROM Datei",
                                  "Die gewählte Datei ist keine kompatible ATI 38xx BIOS Datei",
                                  MessageIcon::Exclamation, "Öffnen der Datei nicht möglich..."},
                      RefusalCase{Refusal::NoClockTable, false, "No clock table",
                                  "Sorry, this BIOS.ROM file holds no clock table",
                                  MessageIcon::Exclamation, "Wrong file selected, aborting..."},
                      RefusalCase{Refusal::NoClockTable, true, "Keine Takttabelle",
                                  "Die gewählte BIOS Datei enthält keine", MessageIcon::Exclamation,
                                  "Öffnen der Datei nicht möglich..."},
                      RefusalCase{Refusal::Unreadable, false, "Cannot read file",
                                  "The file cannot be read:\r", MessageIcon::Critical,
                                  "Wrong file selected, aborting..."},
                      RefusalCase{Refusal::Unreadable, true, "Datei nicht lesbar",
                                  "Die Datei kann nicht gelesen werden:\r", MessageIcon::Critical,
                                  "Öffnen der Datei nicht möglich..."}),
    refusalName);

TEST_F(OpenChecks, WrongDeviceIdIsReportedAfterTheCheckingPause)
{
    ImageRecipe bad;
    bad.deviceId = "1002";
    openRecipe(bad);
    const std::vector<RecordedWait> waits{{0.4, "Opening ROM file...", 0},
                                          {0.2, "Checking...", 25}};
    EXPECT_EQ(fake.waits, waits);
    EXPECT_EQ(controller.state().progressValue, 25);
    EXPECT_TRUE(controller.state().progressDisplay);
    EXPECT_FALSE(controller.hasImage());
    EXPECT_EQ(controller.state().picture, CardPicture::Ati);
    EXPECT_FALSE(controller.state().romSave.enabled);
}

TEST_F(OpenChecks, UnreadableFileNamesPathAndSystemReason)
{
    const std::string path = (dir / "gone.rom").string();
    open(path);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text,
              "The file cannot be read:\r" + path + "\r\rNo such file or directory");
    EXPECT_EQ(fake.waitSeconds(), std::vector<double>{0.4});

    fake.readHook = [](const std::filesystem::path&) -> Result<RawFile, FileError> {
        return FileError{FileErrorKind::AccessDenied, "Permission denied"};
    };
    open(path);
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[1].text, "The file cannot be read:\r" + path + "\r\rPermission denied");
    EXPECT_FALSE(controller.hasImage());

    // In German the system's reason is German too.
    fake.readHook = nullptr;
    controller.SetLangDeutsch_Click();
    open(path);
    ASSERT_EQ(fake.messages.size(), 3u);
    EXPECT_EQ(fake.messages[2].text, "Die Datei kann nicht gelesen werden:\r" + path +
                                         "\r\rDatei oder Verzeichnis nicht gefunden");
}

TEST_F(OpenChecks, CancelledDialogChangesNothing)
{
    openRecipe(ImageRecipe{});
    const std::string before = describeWindow(controller.state());
    const std::string status = controller.state().statusPanels[kProgressPanel];
    fake.clearRecords();
    controller.ROMOpen_Click();
    EXPECT_EQ(fake.dialogs.size(), 1u);
    EXPECT_TRUE(fake.waits.empty());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.timerStarts, 0);
    EXPECT_EQ(describeWindow(controller.state()), before);
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], status);
    EXPECT_EQ(controller.state().progressValue, 100);
}

TEST_F(OpenChecks, SameImageTwiceShowsTheSame)
{
    const std::string path = openRecipe(ImageRecipe{});
    const std::string first = describeWindow(controller.state());
    open(path);
    EXPECT_EQ(describeWindow(controller.state()), first);
}

// --- Dropped files ----------------------------------------------------------------------------

struct DropCase {
    std::string name;
    bool opened;
};

class DroppedFile : public ControllerTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DroppedFile, OpensOnlyNamesEndingInRomOrBin)
{
    const std::string path = writeImage(ImageRecipe{}, GetParam().name);
    controller.Form_OLEDragDrop({path});
    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_EQ(controller.hasImage(), GetParam().opened);
    EXPECT_EQ(fake.waits.size(), GetParam().opened ? 7u : 0u);
    if (GetParam().opened) {
        // The dropped file becomes the dialog's file name and the save's model.
        controller.ROMOpen_Click();
        EXPECT_EQ(fake.dialogs.back().request.fileName, path);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, DroppedFile,
                         ::testing::Values(DropCase{"x.Rom", true}, DropCase{"IMAGE.bin", true},
                                           DropCase{"biosrom", true},
                                           DropCase{"image.rom.txt", false},
                                           DropCase{"card.bios", false},
                                           DropCase{"card.rom1", false}),
                         [](const auto& info) { return nameFragment(info.param.name); });

TEST_F(OpenChecks, DropOfSeveralFilesOrNoneIsIgnored)
{
    const std::string a = writeImage(ImageRecipe{}, "a.rom");
    const std::string b = writeImage(ImageRecipe{}, "b.rom");
    controller.Form_OLEDragDrop({a, b});
    controller.Form_OLEDragDrop({});
    EXPECT_FALSE(controller.hasImage());
    EXPECT_TRUE(fake.events.empty());
    // A later menu open is not taken over by an ignored drop.
    controller.ROMOpen_Click();
    EXPECT_EQ(fake.dialogs.size(), 1u);
}

}  // namespace
}  // namespace clockvane::app::testing
