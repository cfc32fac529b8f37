// The open sequence: its steps and texts, the identification of each card, the X2 notice, the
// memory-size prompt, the range messages, the UVD link on opening, and every way a file is
// refused without touching what the window shows.

#include <gtest/gtest.h>

#include "checksum/sums.h"
#include "controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageSpec;

class OpenSequence : public ControllerTest {};

// --- The steps of an open, in both languages ----------------------------------------------

struct OpenTraceCase {
    bool german;
    std::vector<std::string> statuses;  // one per wait, in order
    std::string done;
};

class OpenTrace : public ControllerTest, public ::testing::WithParamInterface<OpenTraceCase> {};

TEST_P(OpenTrace, ShowsEachStepWithItsProgressAndPause)
{
    if (GetParam().german) switchToGerman();
    const std::string path = openSpec(ImageSpec{});

    const auto& s = GetParam().statuses;
    const std::vector<RecordedWait> expected{
        {0.4, s[0], 0},  {0.2, s[1], 25}, {0.5, s[2], 30}, {0.5, s[3], 50},
        {0.3, s[4], 60}, {0.2, s[5], 80}, {0.5, s[6], 90},
    };
    EXPECT_EQ(fake.waits, expected);
    const MainWindowState& state = controller.state();
    EXPECT_EQ(state.statusPanels[2], GetParam().done);
    EXPECT_EQ(state.progressValue, 100);
    EXPECT_TRUE(state.progressDisplay);
    EXPECT_EQ(state.statusPanels[1], "Checksum-16: " + SumBytes(fixtures::readFile(path)));
    EXPECT_EQ(state.statusPanels[0], "");
    EXPECT_EQ(fake.timerStarts, 1);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_FALSE(controller.busy());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, OpenTrace,
    ::testing::Values(OpenTraceCase{false,
                                    {"Opening ROM file...", "Checking...", "Getting BIOS info's...",
                                     "Showing BIOS info's...", "Getting CLOCK info's...",
                                     "Showing CLOCKinfo's...", "Calculating checksum..."},
                                    "Done..."},
                      OpenTraceCase{true,
                                    {"Öffne ROM Datei...", "Überprüfung...",
                                     "Lade BIOS-Informationen...", "Zeige BIOS-Informationen...",
                                     "Lese Takt-Informationen...", "Zeige CLOCK-Infos...",
                                     "Berechne Checksumme..."},
                                    "Fertig..."}),
    [](const auto& info) { return languageName(info.param.german); });

TEST_F(OpenSequence, AsksTheOpenDialogWithTitleFilterFlagsAndTheLastFile)
{
    const std::string first = openSpec(ImageSpec{}, "first.rom");
    controller.ROMOpen_Click();  // cancelled
    ASSERT_EQ(fake.dialogs.size(), 2u);
    const FileDialogRequest& request = fake.dialogs[1].request;
    EXPECT_FALSE(fake.dialogs[1].save);
    EXPECT_EQ(request.title, "Please select your BIOS.ROM file");
    EXPECT_EQ(request.filter, "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin");
    EXPECT_EQ(request.fileName, first);
    EXPECT_EQ(request.flags, 0x201804u);
}

TEST_F(OpenSequence, FillsTheWindowFromTheDefaultImage)
{
    openSpec(ImageSpec{});
    const MainWindowState& state = controller.state();

    const int values[] = {775, 1125, 300, 450, 775, 1125, 400, 900, 500, 900};
    for (std::size_t i = 0; i < kSliderCount; ++i)
        EXPECT_EQ(state.sliders[i].value, values[i]) << i;
    for (std::size_t i = 0; i < kSliderCount; ++i) {
        EXPECT_EQ(state.sliders[i].enabled, i != 6 && i != 7) << i;
    }
    EXPECT_EQ(state.clockLabels[0].caption, "775 MHz");
    EXPECT_EQ(state.clockLabels[1].caption, "1125 MHz");
    EXPECT_EQ(state.clockLabels[1].background, LabelColour::Red);  // above 1000 MHz on GDDR3
    EXPECT_EQ(state.clockLabels[1].foreground, LabelColour::HighlightText);
    EXPECT_EQ(state.clockLabels[9].caption, "900 MHz");
    EXPECT_EQ(state.clockLabels[9].background, LabelColour::ButtonFace);

    const char* boxes[] = {"1,204", "1,1", "1,204", "", "1,15"};
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k) {
        EXPECT_EQ(state.vcoreBoxes[k].text, boxes[k]) << k;
        EXPECT_EQ(state.vcoreBoxes[k].enabled, k != 3) << k;
    }
    EXPECT_DOUBLE_EQ(controller.uvdVcoreKept(), 1.15);

    EXPECT_EQ(state.frameCaption, "BIOS info's");
    EXPECT_EQ(state.infoValues[0], "010.065.000.001.000000");
    EXPECT_EQ(state.versionForeground, LabelColour::ButtonText);
    EXPECT_EQ(state.infoValues[1], "12/10/07  - 10:43");
    EXPECT_EQ(state.infoValues[2], kDefaultCardLine);
    EXPECT_FALSE(state.hintsVisible);
    EXPECT_TRUE(state.romSave.enabled);
    EXPECT_TRUE(state.mnuTrouble.enabled);
    EXPECT_TRUE(controller.hasImage());
}

// --- Each card ----------------------------------------------------------------------------

struct CardCase {
    std::string deviceId;
    std::string memoryText;
    bool x2SecondFile;
    std::string cardLine;
    int picture;              // 0: HD 3870, 1: HD 3850, 2: HD 3870 X2
    std::string noticeTitle;  // "" when no notice is shown
};

class OpenCard : public ControllerTest, public ::testing::WithParamInterface<CardCase> {};

TEST_P(OpenCard, ShowsItsLinePictureAndNotice)
{
    ImageSpec spec;
    spec.deviceId = GetParam().deviceId;
    spec.memoryText = GetParam().memoryText;
    spec.x2SecondFile = GetParam().x2SecondFile;
    std::size_t waitsAtNotice = 0;
    int progressAtNotice = 0;
    fake.duringMessage(1, [&] {
        waitsAtNotice = fake.waits.size();
        progressAtNotice = controller.state().progressValue;
    });
    openSpec(spec);

    const MainWindowState& state = controller.state();
    EXPECT_EQ(state.infoValues[2], GetParam().cardLine);
    EXPECT_EQ(state.pic3870Visible, GetParam().picture == 0);
    EXPECT_EQ(state.pic3850Visible, GetParam().picture == 1);
    EXPECT_EQ(state.pic3870x2Visible, GetParam().picture == 2);
    EXPECT_FALSE(state.picAtiVisible);
    EXPECT_TRUE(fake.memoryPrompts.empty());
    if (GetParam().noticeTitle.empty()) {
        EXPECT_TRUE(fake.messages.empty());
    } else {
        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0].title, GetParam().noticeTitle);
        EXPECT_EQ(fake.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(fake.messages[0].buttons, MessageButtons::Ok);
        // The notice comes once the file has passed the check, before the controls are reset.
        EXPECT_EQ(waitsAtNotice, 2u);
        EXPECT_EQ(progressAtNotice, 25);  // the reset sets 30
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cards, OpenCard,
    ::testing::Values(CardCase{"9501", "GDDR3 512MB", false, "ATI HD3870 - 512MB GDDR3", 0, ""},
                      CardCase{"9505", "GDDR3 256MB", false, "ATI HD3850 - 256MB GDDR3", 1, ""},
                      CardCase{"9505", "256MB 512MB", false, "ATI HD3850 - 256MB GDDR3", 1, ""},
                      CardCase{"9501", "GDDR4 256MB", false, "ATI HD3870 - 512MB GDDR4", 0, ""},
                      CardCase{"950F", "GDDR3 512MB", false, "ATI HD3870 X² - 512MB GDDR3", 2,
                               "Opening 3870 X² BIOS 1 of 2"},
                      CardCase{"950F", "GDDR3 512MB", true, "ATI HD3870 X² - 512MB GDDR3", 2,
                               "Opening 3870 X² BIOS 2 of 2"}),
    [](const auto& info) {
        return "Id" + info.param.deviceId + "_" + nameFragment(info.param.memoryText) +
               (info.param.x2SecondFile ? "_SecondFile" : "");
    });

struct X2NoticeCase {
    bool german;
    bool secondFile;
    std::string title;
    std::string text;
};

class X2Notice : public ControllerTest, public ::testing::WithParamInterface<X2NoticeCase> {};

TEST_P(X2Notice, ReadsItsThirteenLines)
{
    if (GetParam().german) switchToGerman();
    ImageSpec spec;
    spec.deviceId = "950F";
    spec.x2SecondFile = GetParam().secondFile;
    openSpec(spec);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0], (RecordedMessage{GetParam().text, GetParam().title,
                                                 MessageIcon::Information, MessageButtons::Ok}));
}

const std::string kX2German =
    "Für ein erfolgreiches Modding müssen jedoch beide BIOS ROMs GENAU GLEICH verändert werden.\r"
    "\r"
    "So können beide ROM's auf Festplatte gespeichert werden:\r"
    "\r"
    "Möglichkeit 1 = Mit ATIWinflash\r"
    "Möglichkeit 2 = Mit ATIDosFlash mit folgenden Parametern\r"
    "        c:\\atiflash.exe -p 0 ati0.rom\r"
    "        c:\\atiflash.exe -p 1 ati1.rom\r"
    "\r"
    "Nach dem Bearbeiten und Abspeichern der gemoddeten Dateien\r"
    "MUSS jede wieder in das ursprüngliche ROM geflasht werden.\r"
    "Sollten die ROMs vertauscht werden, kann dies u.U. zu einem schwarzen Bildschirm führen!";
const std::string kX2English =
    "To complete the BIOS MOD please open both ROMs and enter FULL EQUAL settings.\r"
    "\r"
    "To store both ROM's on your harddrive:\r"
    "\r"
    "Option 1 = Use ATIWinflash\r"
    "Option 2 = USE ATIDosFlash with the following command line options\r"
    "        c:\\atiflash.exe -p 0 ati0.rom\r"
    "        c:\\atiflash.exe -p 1 ati1.rom\r"
    "\r"
    "After you have successfully edited and saved the BIOS files\r"
    "be sure to store each file in it's original location.\r"
    "If you mix up both files it's possible that your computer won't boot after flashing!";

INSTANTIATE_TEST_SUITE_P(
    FilesAndLanguages, X2Notice,
    ::testing::Values(
        X2NoticeCase{false, false, "Opening 3870 X² BIOS 1 of 2",
                     "You have selected the first BIOS file of your Radeon HD-3870 X².\r" +
                         kX2English},
        X2NoticeCase{false, true, "Opening 3870 X² BIOS 2 of 2",
                     "You have selected the second BIOS file of your Radeon HD-3870 X².\r" +
                         kX2English},
        X2NoticeCase{true, false, "Öffne 3870 X² BIOS 1 von 2",
                     "Du hast die erste BIOS Datei deiner Radeon HD-3870 X² geöffnet.\r" +
                         kX2German},
        X2NoticeCase{true, true, "Öffne 3870 X² BIOS 2 von 2",
                     "Du hast die zweite BIOS Datei deiner Radeon HD-3870 X² geöffnet.\r" +
                         kX2German}),
    [](const auto& info) {
        return languageName(info.param.german) + (info.param.secondFile ? "File2" : "File1");
    });

// --- The memory-size prompt ---------------------------------------------------------------

struct MemoryCase {
    std::optional<bool> answer;  // nothing: the prompt was closed without a button
    std::string cardLine;
};

class MemoryPrompt : public ControllerTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryPrompt, DecidesTheSizeShown)
{
    ImageSpec spec;
    spec.memoryText = "";
    fake.memoryAnswers.push_back(GetParam().answer);
    openSpec(spec);
    ASSERT_EQ(fake.memoryPrompts.size(), 1u);
    EXPECT_EQ(controller.state().infoValues[2], GetParam().cardLine);
    EXPECT_EQ(controller.card()->is256MB, GetParam().answer.value_or(false));
    // Asked after the BIOS-information pause, before the information is shown.
    const std::vector<std::string> around{"wait:0.5", "memory", "status:Showing BIOS info's..."};
    const auto at = std::find(fake.events.begin(), fake.events.end(), "memory");
    ASSERT_NE(at, fake.events.end());
    EXPECT_EQ(std::vector<std::string>(at - 1, at + 2), around);
}

INSTANTIATE_TEST_SUITE_P(Answers, MemoryPrompt,
                         ::testing::Values(MemoryCase{true, "ATI HD3870 - 256MB GDDR3"},
                                           MemoryCase{false, "ATI HD3870 - 512MB GDDR3"},
                                           MemoryCase{std::nullopt, "ATI HD3870 - 512MB GDDR3"}),
                         [](const auto& info) {
                             return std::string(!info.param.answer   ? "Closed"
                                                : *info.param.answer ? "MB256"
                                                                     : "MB512");
                         });

TEST_F(OpenSequence, MemoryPromptSpeaksTheLanguageOfTheMoment)
{
    ImageSpec spec;
    spec.memoryText = "";
    openSpec(spec);
    switchToGerman();
    openSpec(spec);
    ASSERT_EQ(fake.memoryPrompts.size(), 1u);
    const MemoryPromptTexts& german = fake.memoryPrompts[0];
    EXPECT_EQ(german.caption, " GDDR-Größe nicht gefunden");
    EXPECT_EQ(german.question,
              "Bitte die Größe des Speichers Deiner ATI 38xx angeben.\r"
              "Diese Angabe ist für die korrekte Funktion des Programms sehr wichtig!!!");
    EXPECT_EQ(german.button256, "256 MB");
    EXPECT_EQ(german.button512, "512 MB");

    controller.SetLangEnglish_Click();
    openSpec(spec);
    ASSERT_EQ(fake.memoryPrompts.size(), 2u);
    EXPECT_EQ(fake.memoryPrompts[1].caption, " Amount of VGA RAM not found");
    EXPECT_EQ(fake.memoryPrompts[1].question,
              "Please select the right amount of RAM of your ATI 38xx.\r"
              "This is very important for the correct operation of this tool!!!");
}

// --- Clocks outside their sliders' ranges -------------------------------------------------

ImageSpec outOfRangeImage()
{
    ImageSpec spec;
    spec.entries[0].gpuClock = 120001;  // BootUp GPU, 1200.01 MHz: too high
    spec.entries[1].ramClock = 39999;   // 2D RAM: too low
    spec.entries[2].gpuClock = 120000;  // 3D Low Power GPU at the limit: passes
    spec.entries[2].ramClock = 170001;  // 3D Low Power RAM: too high
    spec.entries[3].gpuClock = 29999;   // 3D GPU: too low
    spec.entries[7].gpuClock = 0;       // UVD GPU: too low
    spec.entries[4].gpuClock = 0;       // hidden entries are never checked
    spec.entries[9].ramClock = 0xFFFFFF;
    return spec;
}

TEST_F(OpenSequence, ReportsEachClockOutOfRangeInColumnOrderAndClampsIt)
{
    openSpec(outOfRangeImage());
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

TEST_F(OpenSequence, ReportsClocksOutOfRangeInGerman)
{
    switchToGerman();
    openSpec(outOfRangeImage());
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

TEST_F(OpenSequence, LinkedImageMirrorsHighPowerInTheUvdColumn)
{
    openSpec(ImageSpec{});
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

TEST_F(OpenSequence, UnlinkedImageShowsItsOwnUvdValues)
{
    openSpec(ImageSpec{}, "first.rom");
    controller.Chk_UVD_Click();
    ImageSpec second;
    second.entries[7] = {45000, 112500, 1200};
    fake.clearRecords();
    openSpec(second, "second.rom");

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
    const std::string good = openSpec(ImageSpec{}, "good.rom");
    controller.setSliderValue(0, 800);
    controller.ScrollBar1_Change(0);
    controller.Timer1_Timer();
    if (GetParam().german) controller.SetLangDeutsch_Click();
    const std::string before = describeWindow(controller.state());
    const Bytes imageBefore = controller.image()->fileImage;
    fake.clearRecords();

    std::string path = (dir / "missing.rom").string();
    ImageSpec bad;
    if (GetParam().refusal == Refusal::WrongDeviceId) bad.deviceId = "0195";  // 95 01: wrong order
    if (GetParam().refusal == Refusal::NoClockTable) bad.signatureOffset = std::nullopt;
    if (GetParam().refusal != Refusal::Unreadable) path = writeImage(bad, "bad.rom");
    open(path);

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, GetParam().title);
    EXPECT_EQ(fake.messages[0].text.substr(0, GetParam().textStart.size()), GetParam().textStart);
    EXPECT_EQ(fake.messages[0].icon, GetParam().icon);
    EXPECT_EQ(fake.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(controller.state().statusPanels[2], GetParam().status);
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

TEST_F(OpenSequence, WrongDeviceIdIsReportedAfterTheCheckingPause)
{
    ImageSpec bad;
    bad.deviceId = "1002";
    openSpec(bad);
    const std::vector<RecordedWait> waits{{0.4, "Opening ROM file...", 0},
                                          {0.2, "Checking...", 25}};
    EXPECT_EQ(fake.waits, waits);
    EXPECT_EQ(controller.state().progressValue, 25);
    EXPECT_TRUE(controller.state().progressDisplay);
    EXPECT_FALSE(controller.hasImage());
    EXPECT_TRUE(controller.state().picAtiVisible);
    EXPECT_FALSE(controller.state().romSave.enabled);
}

TEST_F(OpenSequence, UnreadableFileNamesPathAndSystemReason)
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
}

TEST_F(OpenSequence, CancelledDialogChangesNothing)
{
    openSpec(ImageSpec{});
    const std::string before = describeWindow(controller.state());
    const std::string status = controller.state().statusPanels[2];
    fake.clearRecords();
    controller.ROMOpen_Click();
    EXPECT_EQ(fake.dialogs.size(), 1u);
    EXPECT_TRUE(fake.waits.empty());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.timerStarts, 0);
    EXPECT_EQ(describeWindow(controller.state()), before);
    EXPECT_EQ(controller.state().statusPanels[2], status);
    EXPECT_EQ(controller.state().progressValue, 100);
}

TEST_F(OpenSequence, SameImageTwiceShowsTheSame)
{
    const std::string path = openSpec(ImageSpec{});
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
    const std::string path = writeImage(ImageSpec{}, GetParam().name);
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

TEST_F(OpenSequence, DropOfSeveralFilesOrNoneIsIgnored)
{
    const std::string a = writeImage(ImageSpec{}, "a.rom");
    const std::string b = writeImage(ImageSpec{}, "b.rom");
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
