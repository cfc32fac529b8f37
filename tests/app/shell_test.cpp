// The window's shell: start-up and the stored language, the language switch with every
// caption it sets, switching in the middle of a sequence, commands ignored while a sequence
// runs, the status reset timer, shut-down and the About window.

#include <gtest/gtest.h>

#include "app/app_info.h"
#include "fixtures/controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;

// --- Start-up ------------------------------------------------------------------------------------

TEST(StartUp, FirstStartIsEnglishWithNothingLoaded)
{
    FakePlatform fake;
    MainController controller(fake);
    controller.Form_Load();
    const MainWindowState& state = controller.state();

    EXPECT_EQ(state.windowTitle, "Orvanta Clockvane - V0.9 Beta");
    EXPECT_EQ(fake.settingReads, std::vector<std::string>{"Orvanta Clockvane|\\|language"});
    EXPECT_EQ(controller.language(), UiLanguage::English);
    EXPECT_TRUE(state.setLangEnglish.checked);
    EXPECT_FALSE(state.setLangDeutsch.checked);
    EXPECT_EQ(state.romOpen.caption, "&Open ROM file");
    EXPECT_FALSE(state.romSave.enabled);
    EXPECT_FALSE(state.mnuTrouble.enabled);
    EXPECT_TRUE(state.chkUvd.checked);
    EXPECT_EQ(state.about.caption, "&?");
    EXPECT_EQ(state.frameCaption, "BIOS info's");
    EXPECT_EQ(state.infoCaptions, (std::array<std::string, 3>{"Version", "Date/Time", "GPU/RAM"}));
    EXPECT_EQ(state.infoValues[3], "Please open BIOS ROM first");
    EXPECT_EQ(state.infoValues[4], "or Drag'n'Drop BIOS file here");
    EXPECT_TRUE(state.hintsVisible);
    EXPECT_EQ(state.picture, CardPicture::Ati);
    EXPECT_FALSE(state.linkLinesVisible);
    EXPECT_EQ(state.linkedCaption, "< Linked");
    for (std::size_t i = 0; i < kSliderCount; ++i) {
        EXPECT_FALSE(state.sliders[i].enabled);
        EXPECT_EQ(state.sliders[i].value, i % 2 == 0 ? 300 : 400);
        EXPECT_EQ(state.sliders[i].lower, i % 2 == 0 ? 300 : 400);
        EXPECT_EQ(state.sliders[i].upper, i % 2 == 0 ? 1200 : 1700);
    }
    const std::vector<std::string> presets{"0,9",  "0,974", "1,02", "1,125",
                                           "1,22", "1,274", "1,327"};
    const char* tips[] = {
        "BootUP VCore in Volts", "2D VCore in Volts", "3D High Power  VCore in Volts",
        "Unified Video Decoder (UVD) VCore in Volts", "3D Low Power VCore in Volts"};
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k) {
        EXPECT_EQ(state.vcoreBoxes[k].items, presets);
        EXPECT_EQ(state.vcoreBoxes[k].toolTip, tips[k]);
        EXPECT_FALSE(state.vcoreBoxes[k].enabled);
        EXPECT_EQ(state.vcoreBoxes[k].text, "");
    }
    EXPECT_FALSE(controller.hasImage());
}

struct SettingCase {
    std::optional<std::string> stored;
    bool german;
};

class StoredLanguage : public ::testing::TestWithParam<SettingCase> {};

TEST_P(StoredLanguage, OnlyTheTextOfTrueMeansGerman)
{
    FakePlatform fake;
    if (GetParam().stored) fake.storedSettings["language"] = *GetParam().stored;
    MainController controller(fake);
    controller.Form_Load();
    const bool german = GetParam().german;
    EXPECT_EQ(controller.language(), german ? UiLanguage::German : UiLanguage::English);
    EXPECT_EQ(controller.state().setLangDeutsch.checked, german);
    EXPECT_EQ(controller.state().romOpen.caption, german ? "ROM Datei Ö&ffnen" : "&Open ROM file");
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], german ? "Bereit..." : "");
}

INSTANTIATE_TEST_SUITE_P(Values, StoredLanguage,
                         ::testing::Values(SettingCase{"True", true}, SettingCase{"true", true},
                                           SettingCase{"TRUE", true}, SettingCase{"False", false},
                                           SettingCase{"yes", false}, SettingCase{"1", false},
                                           SettingCase{"", false}, SettingCase{" True", false},
                                           SettingCase{std::nullopt, false}),
                         [](const auto& info) {
                             return info.param.stored ? nameFragment(*info.param.stored) + "_" +
                                                            std::to_string(info.index)
                                                      : "Missing";
                         });

// --- The language switch -------------------------------------------------------------------------

struct Captions {
    bool deutschChecked;
    std::string file, open, save, language, exit, trouble, uvd, date, openTitle, saveTitle, status,
        hint1, hint2;
};

Captions captionsOf(const MainWindowState& s)
{
    return {s.setLangDeutsch.checked, s.mnuFile.caption, s.romOpen.caption,
            s.romSave.caption,        s.setLang.caption, s.exitProgram.caption,
            s.mnuTrouble.caption,     s.chkUvd.caption,  s.infoCaptions[1],
            s.openDialogTitle,        s.saveDialogTitle, s.statusPanels[kProgressPanel],
            s.infoValues[3],          s.infoValues[4]};
}

void expectCaptions(const MainWindowState& state, const Captions& expected)
{
    const Captions actual = captionsOf(state);
    EXPECT_EQ(actual.deutschChecked, expected.deutschChecked);
    EXPECT_EQ(state.setLangEnglish.checked, !expected.deutschChecked);
    const std::pair<std::string, std::string> pairs[] = {{actual.file, expected.file},
                                                         {actual.open, expected.open},
                                                         {actual.save, expected.save},
                                                         {actual.language, expected.language},
                                                         {actual.exit, expected.exit},
                                                         {actual.trouble, expected.trouble},
                                                         {actual.uvd, expected.uvd},
                                                         {actual.date, expected.date},
                                                         {actual.openTitle, expected.openTitle},
                                                         {actual.saveTitle, expected.saveTitle},
                                                         {actual.status, expected.status},
                                                         {actual.hint1, expected.hint1},
                                                         {actual.hint2, expected.hint2}};
    for (const auto& [got, want] : pairs) EXPECT_EQ(got, want);
    // Captions that read the same in both languages.
    EXPECT_EQ(state.setLangDeutsch.caption, "&Deutsch");
    EXPECT_EQ(state.setLangEnglish.caption, "&English");
    EXPECT_EQ(state.about.caption, "&?");
    EXPECT_EQ(state.infoCaptions[0], "Version");
    EXPECT_EQ(state.infoCaptions[2], "GPU/RAM");
    EXPECT_EQ(state.frameCaption, "BIOS info's");
}

const Captions kGerman{true,
                       "&Datei",
                       "ROM Datei Ö&ffnen",
                       "ROM Datei speichern &unter...",
                       "S&pracheinstellungen",
                       "Programm &Beenden",
                       "&Fehlerbehebung",
                       "&UVD Funktionen deaktivieren",
                       "Datum/Uhrzeit",
                       "Bitte original BIOS.ROM auswählen",
                       "Bitte Dateiname für die gemoddete Datei angeben",
                       "Bereit...",
                       "Bitte ROM Datei laden",
                       "oder Datei per Drag'n'Drop öffnen"};
const Captions kEnglish{false,
                        "&File",
                        "&Open ROM file",
                        "&Save ROM file as...",
                        "&Language",
                        "E&xit",
                        "&Troubleshooting",
                        "&Disable UVD options",
                        "Date/Time",
                        "Please select your BIOS.ROM file",
                        "Please enter a new filename for the modded BIOS.ROM",
                        "Ready...",
                        "Please open BIOS ROM first",
                        "or Drag'n'Drop BIOS file here"};

class LanguageSwitch : public ControllerTest {};

TEST_F(LanguageSwitch, SetsEveryCaptionOfBothColumns)
{
    openRecipe(ImageRecipe{});  // status "Done..." is replaced by the switch
    controller.SetLangDeutsch_Click();
    expectCaptions(controller.state(), kGerman);
    EXPECT_EQ(controller.language(), UiLanguage::German);
    const std::string once = describeWindow(controller.state());
    controller.SetLangDeutsch_Click();
    EXPECT_EQ(describeWindow(controller.state()), once);

    controller.SetLangEnglish_Click();
    expectCaptions(controller.state(), kEnglish);
    EXPECT_EQ(controller.language(), UiLanguage::English);
    // Texts already shown keep their language: the card line, the checksum panel.
    EXPECT_EQ(controller.state().infoValues[2], kDefaultCardLine);
}

TEST_F(LanguageSwitch, DuringAnOpenChangesEveryLaterText)
{
    ImageRecipe recipe;
    recipe.memoryText = "";
    fake.duringWait(2, [this] { controller.SetLangDeutsch_Click(); });  // while "Checking..."
    openRecipe(recipe);
    ASSERT_EQ(fake.waits.size(), 7u);
    EXPECT_EQ(fake.waits[1].status, "Checking...");
    EXPECT_EQ(fake.waits[2].status, "Lade BIOS-Informationen...");
    EXPECT_EQ(fake.waits[6].status, "Berechne Checksumme...");
    ASSERT_EQ(fake.memoryPrompts.size(), 1u);
    EXPECT_EQ(fake.memoryPrompts[0].caption, " GDDR-Größe nicht gefunden");
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], "Fertig...");
}

TEST_F(LanguageSwitch, DuringASaveChangesEveryLaterText)
{
    openRecipe(ImageRecipe{});
    fake.clearRecords();
    fake.duringWait(1, [this] { controller.SetLangDeutsch_Click(); });
    save((dir / "out.rom").string());
    ASSERT_EQ(fake.waits.size(), 9u);
    EXPECT_EQ(fake.waits[0].status, "Converting CLOCK values...");
    EXPECT_EQ(fake.waits[1].status, "Konvertiere VCore-Werte...");
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], "Fertig...");
    EXPECT_EQ(controller.state().statusPanels[kChecksumPanel].substr(17), " (Korrigiert)");
}

// --- Commands while a sequence runs --------------------------------------------------------------

TEST_F(LanguageSwitch, SecondOpenSaveOrDropDuringASequenceIsIgnored)
{
    const std::string first = openRecipe(ImageRecipe{}, "first.rom");
    ImageRecipe other;
    other.entries[0].gpuClock = 80000;
    const std::string second = writeImage(other, "second.rom");
    fake.clearRecords();
    fake.duringWait(2, [&] {
        controller.ROMOpen_Click();
        controller.ROMSave_Click();
        controller.Form_OLEDragDrop({second});
    });
    save((dir / "out.rom").string());

    EXPECT_EQ(fake.dialogs.size(), 1u);  // only the running save's
    EXPECT_EQ(fake.waits.size(), 9u);
    EXPECT_EQ(fake.writtenPaths, std::vector<std::string>{(dir / "out.rom").string()});
    EXPECT_EQ(controller.state().sliders[0].value, 775);  // the second image never came in

    // During an open, likewise.
    fake.clearRecords();
    fake.duringWait(3, [&] {
        controller.ROMOpen_Click();
        controller.ROMSave_Click();
        controller.Form_OLEDragDrop({second});
    });
    open(first);
    EXPECT_EQ(fake.dialogs.size(), 1u);
    EXPECT_EQ(fake.waits.size(), 7u);
    EXPECT_EQ(controller.state().sliders[0].value, 775);
    // Afterwards the commands work again.
    controller.Form_OLEDragDrop({second});
    EXPECT_EQ(controller.state().sliders[0].value, 800);
}

// --- The status reset timer ----------------------------------------------------------------------

TEST_F(LanguageSwitch, TimerResetsStatusAndProgressAfterOpenAndSave)
{
    openRecipe(ImageRecipe{});
    EXPECT_EQ(fake.timerStarts, 1);
    controller.Timer1_Timer();
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], "Ready...");
    EXPECT_EQ(controller.state().progressValue, 0);
    EXPECT_FALSE(controller.state().progressDisplay);
    const std::string checksum = controller.state().statusPanels[kChecksumPanel];

    controller.SetLangDeutsch_Click();
    save((dir / "out.rom").string());
    EXPECT_EQ(fake.timerStarts, 2);
    EXPECT_TRUE(controller.state().progressDisplay);
    controller.Timer1_Timer();
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], "Bereit...");
    EXPECT_EQ(controller.state().progressValue, 0);
    EXPECT_FALSE(controller.state().progressDisplay);
    EXPECT_EQ(controller.state().statusPanels[kChecksumPanel], checksum + " (Korrigiert)");
}

// --- Shut-down -----------------------------------------------------------------------------------

TEST_F(LanguageSwitch, ShutDownStoresTheCheckMarkOnce)
{
    controller.SetLangDeutsch_Click();
    controller.SetLangEnglish_Click();
    controller.SetLangDeutsch_Click();
    controller.EXITProgramm_Click();
    EXPECT_EQ(fake.settingWrites, std::vector<std::string>{"Orvanta Clockvane|\\|language=True"});
    EXPECT_EQ(fake.closeRequests, 1);
    controller.Form_Unload();  // the window's own close after the menu's
    EXPECT_EQ(fake.settingWrites.size(), 1u);
}

TEST(ShutDown, EnglishAfterGermanAndBackIsStoredAsFalse)
{
    FakePlatform fake;
    fake.storedSettings["language"] = "True";
    MainController controller(fake);
    controller.Form_Load();
    controller.SetLangEnglish_Click();
    controller.Form_Unload();
    EXPECT_EQ(fake.settingWrites, std::vector<std::string>{"Orvanta Clockvane|\\|language=False"});
    EXPECT_EQ(fake.closeRequests, 0);
}

// --- The About window ----------------------------------------------------------------------------

TEST_F(LanguageSwitch, AboutWindowTextsInTheCurrentLanguage)
{
    controller.About_Click();
    controller.SetLangDeutsch_Click();
    controller.About_Click();
    ASSERT_EQ(fake.aboutWindows.size(), 2u);
    const AboutTexts& english = fake.aboutWindows[0];
    EXPECT_EQ(english.caption, " About the Editor");
    EXPECT_EQ(english.riskNotice,
              "You are using this editor at your own risk.\r"
              "The author of this tool is NOT responsible for any damage on your hardware "
              "caused by usage of this tool");
    EXPECT_EQ(english.usageSteps, "1. Save your card's original BIOS with WinFlash\r"
                                  "2. Open the original BIOS.ROM\r"
                                  "3. Now edit all desired settings\r"
                                  "4. Save the new modded ROM to a new filename\r"
                                  "5. Flash the modded BIOS_mod.ROM with WinFlash\r"
                                  "6. That's it!");
    EXPECT_EQ(english.versionLine, "V0.9 Beta");
    const AboutTexts& german = fake.aboutWindows[1];
    EXPECT_EQ(german.caption, " Über den Editor");
    EXPECT_EQ(german.riskNotice,
              "Benutzung dieses Editors auf eigene Gefahr.\r"
              "Der Autor dieses Tools ist nicht verantwortlich für evtl. auftretende "
              "Schäden an der Hardware");
    EXPECT_EQ(german.usageSteps, "1. Original BIOS mit Winflash auslesen und speichern\r"
                                 "2. Die gerade gespeicherte BIOS.ROM in den Editor laden\r"
                                 "3. Alle gewünschten Einstellungen vornehmen\r"
                                 "4. Die gemoddete Datei unter einem neuen Namen speichern\r"
                                 "5. Gemoddete BIOS_mod.ROM mit Winflash zurückspielen\r"
                                 "6. Fertig!");
    EXPECT_EQ(german.versionLine, "V0.9 Beta");

    controller.Picture1_Click();
    EXPECT_EQ(fake.openedUrls, std::vector<std::string>{std::string(kHomePageUrl)});
    EXPECT_TRUE(fake.openedUrls[0].ends_with("/README.md"));
}

}  // namespace
}  // namespace clockvane::app::testing
