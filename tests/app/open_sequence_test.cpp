// The open sequence: its steps and texts, the identification of each card, the X2 notice and
// the memory-size prompt.

#include <gtest/gtest.h>

#include <algorithm>

#include "bytes/sums.h"
#include "fixtures/controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;

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
    const std::string path = openRecipe(ImageRecipe{});

    const auto& s = GetParam().statuses;
    const std::vector<RecordedWait> expected{
        {0.4, s[0], 0},  {0.2, s[1], 25}, {0.5, s[2], 30}, {0.5, s[3], 50},
        {0.3, s[4], 60}, {0.2, s[5], 80}, {0.5, s[6], 90},
    };
    EXPECT_EQ(fake.waits, expected);
    const MainWindowState& state = controller.state();
    EXPECT_EQ(state.statusPanels[kProgressPanel], GetParam().done);
    EXPECT_EQ(state.progressValue, 100);
    EXPECT_TRUE(state.progressDisplay);
    EXPECT_EQ(state.statusPanels[kChecksumPanel],
              "Checksum-16: " + SumBytes(fixtures::readFile(path)));
    EXPECT_EQ(state.statusPanels[kUnusedPanel], "");
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
    const std::string first = openRecipe(ImageRecipe{}, "first.rom");
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
    openRecipe(ImageRecipe{});
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
    ImageRecipe recipe;
    recipe.deviceId = GetParam().deviceId;
    recipe.memoryText = GetParam().memoryText;
    recipe.x2SecondFile = GetParam().x2SecondFile;
    std::size_t waitsAtNotice = 0;
    int progressAtNotice = 0;
    fake.duringMessage(1, [&] {
        waitsAtNotice = fake.waits.size();
        progressAtNotice = controller.state().progressValue;
    });
    openRecipe(recipe);

    const MainWindowState& state = controller.state();
    EXPECT_EQ(state.infoValues[2], GetParam().cardLine);
    const CardPicture pictures[] = {CardPicture::HD3870, CardPicture::HD3850,
                                    CardPicture::HD3870X2};
    EXPECT_EQ(state.picture, pictures[GetParam().picture]);
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
    ImageRecipe recipe;
    recipe.deviceId = "950F";
    recipe.x2SecondFile = GetParam().secondFile;
    openRecipe(recipe);
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
    MemoryAnswer answer;
    std::string cardLine;
};

class MemoryPrompt : public ControllerTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryPrompt, DecidesTheSizeShown)
{
    ImageRecipe recipe;
    recipe.memoryText = "";
    fake.memoryAnswers.push_back(GetParam().answer);
    openRecipe(recipe);
    ASSERT_EQ(fake.memoryPrompts.size(), 1u);
    EXPECT_EQ(controller.state().infoValues[2], GetParam().cardLine);
    EXPECT_EQ(controller.card()->size == MemorySize::MB256,
              GetParam().answer == MemoryAnswer::MB256);
    // Asked after the BIOS-information pause, before the information is shown.
    const std::vector<std::string> around{"wait:0.5", "memory", "status:Showing BIOS info's..."};
    const auto at = std::find(fake.events.begin(), fake.events.end(), "memory");
    ASSERT_NE(at, fake.events.end());
    EXPECT_EQ(std::vector<std::string>(at - 1, at + 2), around);
}

std::string memoryAnswerName(MemoryAnswer answer)
{
    switch (answer) {
    case MemoryAnswer::MB256: return "MB256";
    case MemoryAnswer::MB512: return "MB512";
    case MemoryAnswer::Closed: break;
    }
    return "Closed";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MemoryPrompt,
    ::testing::Values(MemoryCase{MemoryAnswer::MB256, "ATI HD3870 - 256MB GDDR3"},
                      MemoryCase{MemoryAnswer::MB512, "ATI HD3870 - 512MB GDDR3"},
                      MemoryCase{MemoryAnswer::Closed, "ATI HD3870 - 512MB GDDR3"}),
    [](const auto& info) { return memoryAnswerName(info.param.answer); });

TEST_F(OpenSequence, MemoryPromptSpeaksTheLanguageOfTheMoment)
{
    ImageRecipe recipe;
    recipe.memoryText = "";
    openRecipe(recipe);
    switchToGerman();
    openRecipe(recipe);
    ASSERT_EQ(fake.memoryPrompts.size(), 1u);
    const MemoryPromptTexts& german = fake.memoryPrompts[0];
    EXPECT_EQ(german.caption, " GDDR-Größe nicht gefunden");
    EXPECT_EQ(german.question,
              "Bitte die Größe des Speichers Deiner ATI 38xx angeben.\r"
              "Diese Angabe ist für die korrekte Funktion des Programms sehr wichtig!!!");
    EXPECT_EQ(german.button256, "256 MB");
    EXPECT_EQ(german.button512, "512 MB");

    controller.SetLangEnglish_Click();
    openRecipe(recipe);
    ASSERT_EQ(fake.memoryPrompts.size(), 2u);
    EXPECT_EQ(fake.memoryPrompts[1].caption, " Amount of VGA RAM not found");
    EXPECT_EQ(fake.memoryPrompts[1].question,
              "Please select the right amount of RAM of your ATI 38xx.\r"
              "This is very important for the correct operation of this tool!!!");
}

}  // namespace
}  // namespace clockvane::app::testing
