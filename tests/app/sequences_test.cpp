// The window's sequences on the scripted desktop, each as one trace of status texts, pauses
// with their progress, dialogs and message boxes: start-up, open, save, the language switch,
// editing and the UVD link.

#include <gtest/gtest.h>

#include "app/app_info.h"
#include "bytes/sums.h"
#include "files/rom_file.h"
#include "fixtures/controller_fixture.h"
#include "fixtures/recipes.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;

const std::string kOpenEnglish =
    "open?; Opening ROM file...; 0.4s@0; Checking...; 0.2s@25; Getting BIOS info's...; 0.5s@30; "
    "Showing BIOS info's...; 0.5s@50; Getting CLOCK info's...; 0.3s@60; Showing CLOCKinfo's...; "
    "0.2s@80; Calculating checksum...; 0.5s@90; Done...; timer";
const std::string kOpenGerman =
    "open?; Öffne ROM Datei...; 0.4s@0; Überprüfung...; 0.2s@25; Lade BIOS-Informationen...; "
    "0.5s@30; Zeige BIOS-Informationen...; 0.5s@50; Lese Takt-Informationen...; 0.3s@60; "
    "Zeige CLOCK-Infos...; 0.2s@80; Berechne Checksumme...; 0.5s@90; Fertig...; timer";
const std::string kSaveEnglish =
    "save?; Converting CLOCK values...; 0.5s@10; Converting VCore values...; 0.3s@20; 0.1s@30; "
    "0.1s@40; Calculating Checksum...; 0.2s@50; 0.2s@60; 0.2s@70; 0.3s@80; Saving ROM file...; "
    "0.5s@90; write; Done...; timer";
const std::string kSaveGerman =
    "save?; Konvertiere Taktraten...; 0.5s@10; Konvertiere VCore-Werte...; 0.3s@20; 0.1s@30; "
    "0.1s@40; Berechne Checksumme...; 0.2s@50; 0.2s@60; 0.2s@70; 0.3s@80; Schreibe ROM Datei...; "
    "0.5s@90; write; Fertig...; timer";

using Sequences = ControllerTest;

TEST(StartUp, FirstStartIsEnglishWithNothingLoadedAndOnlyTrueMeansGerman)
{
    FakePlatform fake;
    MainController controller(fake);
    controller.Form_Load();
    const MainWindowState& s = controller.state();
    EXPECT_EQ(s.windowTitle, "Orvanta Clockvane - V0.9 Beta");
    EXPECT_EQ(fake.settingReads, std::vector<std::string>{"Orvanta Clockvane|\\|language"});
    EXPECT_FALSE(s.romSave.enabled || s.mnuTrouble.enabled || s.sliders[9].enabled ||
                 s.linkLinesVisible || s.linkedLabelVisible || controller.hasImage());
    EXPECT_EQ(s.info.openHint + "|" + s.info.dropHint,
              "Please open BIOS ROM first|or Drag'n'Drop BIOS file here");
    // The ranges are the core's; the other two ends are met when editing.
    EXPECT_EQ(std::to_string(s.sliders[8].lower) + "-" + std::to_string(s.sliders[9].upper),
              "300-1700");

    // Only the text "True", in any case, means German; "+" marks those.
    for (const std::string row : {"+True", "+TRUE", "+true", "-False", "-1", "- True", "-yes"}) {
        FakePlatform stored;
        stored.storedSettings["language"] = row.substr(1);
        MainController other(stored);
        other.Form_Load();
        const bool german = row[0] == '+';
        EXPECT_EQ(other.state().romOpen.caption, german ? "ROM Datei Ö&ffnen" : "&Open ROM file");
        EXPECT_EQ(other.state().statusPanels[kProgressPanel], german ? "Bereit..." : "") << row;
    }
}

TEST_F(Sequences, OpenShowsEachStepAndFillsTheWindow)
{
    const std::string path = openRecipe(ImageRecipe{}, "hd.rom");
    EXPECT_EQ(fake.trace(), kOpenEnglish);
    const MainWindowState& s = controller.state();
    EXPECT_EQ(s.progressValue, 100);
    EXPECT_EQ(s.statusPanels[kChecksumPanel], "Checksum-16: " + SumBytes(fixtures::readFile(path)));
    EXPECT_EQ(describeWindow(s),
              "slider0 775 on [775 MHz 0/1]\nslider1 1125 on [1125 MHz 4/2]\n"
              "slider2 300 on [300 MHz 0/1]\nslider3 450 on [450 MHz 0/1]\n"
              "slider4 775 on [775 MHz 0/1]\nslider5 1125 on [1125 MHz 4/2]\n"
              "slider6 400 off [775 MHz 0/5]\nslider7 900 off [1125 MHz 0/5]\n"
              "slider8 500 on [500 MHz 0/1]\nslider9 900 on [900 MHz 0/1]\n"
              "box0 '1,204' on\nbox1 '1,1' on\nbox2 '1,204' on\nbox3 '' off\nbox4 '1,15' on\n"
              "frame BIOS info's\ninfo '010.065.000.001.000000'\ninfo '12/10/07  - 10:43'\n"
              "info 'ATI HD3870 - 512MB GDDR3'\ninfo 'Please open BIOS ROM first'\n"
              "info 'or Drag'n'Drop BIOS file here'\nversion colour 1 hints 0\npicture 1 link 11\n"
              "save 1 trouble 1 uvd 1\nchecksum '" +
                  s.statusPanels[kChecksumPanel] + "'\n");

    // The dialogs: titles, filter, flags, the last file and the proposed name. Cancelled, they
    // change nothing.
    const std::string opened = describeWindow(s);
    fake.clearRecords();
    controller.ROMOpen_Click();
    controller.ROMSave_Click();
    EXPECT_EQ(fake.trace(), "open?; save?");
    EXPECT_EQ(describeWindow(s), opened);
    ASSERT_EQ(fake.dialogs.size(), 2u);
    const FileDialogRequest& o = fake.dialogs[0];
    const FileDialogRequest& sv = fake.dialogs[1];
    EXPECT_EQ(o.title + "|" + o.filter + "|" + o.fileName,
              "Please select your BIOS.ROM file|BIOS ROM files (*.rom;*.bin)|*.rom;*.bin|" + path);
    EXPECT_EQ(sv.title + "|" + sv.fileName, "Please enter a new filename for the modded BIOS.ROM|" +
                                                (dir / "hd_mod.rom").string());
    EXPECT_EQ(o.flags, 0x201804u);
    EXPECT_EQ(sv.flags, 0x200C06u);

    // Same file again, in German after the status reset: the same window, the German steps.
    controller.Timer1_Timer();
    switchToGerman();
    const std::string before = describeWindow(s);
    open(path);
    EXPECT_EQ(fake.trace(), kOpenGerman);
    EXPECT_EQ(describeWindow(s), before);
}

TEST_F(Sequences, SaveShowsEachStepAndWritesWhatThePipelineWrites)
{
    for (const bool german : {false, true}) {
        Bytes file = fixtures::buildImage(ImageRecipe{});
        if (german) file.resize(3 << 20, 0x5A);  // junk past the image's 100,000 bytes: kept
        const std::string opened = writeBytes(file, "card.rom");
        open(opened);
        if (german) {  // with edited values, unlinked
            controller.SetLangDeutsch_Click();
            controller.Chk_UVD_Click();
            for (const auto& [slider, mhz] : {std::pair{0, 800}, {3, 500}, {6, 600}, {9, 1000}})
                moveSlider(slider, mhz);
            controller.setVcoreText(3, "0,5");  // raised to 0,9 by the save's validation
        }
        const std::string loadedSum = SumBytes(splitFileBytes(file).image);
        controller.Timer1_Timer();  // the open's percentage goes; the save's comes back
        fake.clearRecords();
        save(outPath());
        EXPECT_EQ(fake.trace(), german ? kSaveGerman : kSaveEnglish);
        EXPECT_EQ(controller.state().statusPanels[kChecksumPanel],
                  "Checksum-16: " + loadedSum + (german ? " (Korrigiert)" : " (Corrected)"));
        EXPECT_EQ(fixtures::readFile(outPath()), pipelineBytesNow(opened, false));
        EXPECT_EQ(controller.state().sliders[6].enabled, german);  // the controls come back
        EXPECT_EQ(controller.state().vcoreBoxes[3].text, german ? "0,9" : "");
        EXPECT_TRUE(controller.state().progressDisplay);
        controller.Timer1_Timer();
        EXPECT_EQ(controller.state().statusPanels[kProgressPanel],
                  german ? "Bereit..." : "Ready...");
        EXPECT_EQ(controller.state().progressValue, 0);
        EXPECT_FALSE(controller.state().progressDisplay);
        controller.SetLangEnglish_Click();
    }
}

// Every shown clock at 655.36 MHz: raising them far needs the classic correction. Declined,
// the save is not corrected; agreed to next, it is, and writes what one save of the file as
// opened writes. The saves in a row are the pipeline's rule; here the panel follows each.
TEST_F(Sequences, EachSaveOfASessionWritesWhatASaveOfTheFreshFileWrites)
{
    const std::string opened = openRecipe(fixtures::lowClocks(), "low.rom");
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        for (std::size_t slider : {0, 1, 2, 3, 4, 5, 8, 9})
            moveSlider(slider, isGpuSlider(slider) ? 1100 : 1650);
        fake.yesNoAnswers = {answer};
        save(outPath());
        const Bytes written = fixtures::readFile(outPath());
        EXPECT_EQ(written, pipelineBytesNow(opened, answer == MessageAnswer::Yes));
        EXPECT_EQ(controller.state().statusPanels[kChecksumPanel],
                  "Checksum-16: " + SumBytes(written) +
                      (answer == MessageAnswer::Yes ? " (Corrected)" : " (NOT corrected)"));
    }
}

TEST_F(Sequences, LanguageSwitchSetsEveryCaptionAndEveryLaterText)
{
    controller.SetLangDeutsch_Click();
    EXPECT_EQ(describeCaptions(controller.state()),
              "de|&Datei|ROM Datei Ö&ffnen|ROM Datei speichern &unter...|S&pracheinstellungen|"
              "Programm &Beenden|&Fehlerbehebung|&UVD Funktionen deaktivieren|Datum/Uhrzeit|"
              "Bitte original BIOS.ROM auswählen|Bitte Dateiname für die gemoddete Datei angeben|"
              "Bereit...|Bitte ROM Datei laden|oder Datei per Drag'n'Drop öffnen");
    controller.SetLangEnglish_Click();
    EXPECT_EQ(describeCaptions(controller.state()),
              "en|&File|&Open ROM file|&Save ROM file as...|&Language|E&xit|&Troubleshooting|"
              "&Disable UVD options|Date/Time|Please select your BIOS.ROM file|"
              "Please enter a new filename for the modded BIOS.ROM|Ready...|"
              "Please open BIOS ROM first|or Drag'n'Drop BIOS file here");

    // Switched while "Checking..." runs: every later text is German.
    fake.clearRecords();
    fake.duringWait(2, [this] { controller.SetLangDeutsch_Click(); });
    openRecipe(ImageRecipe{});
    EXPECT_EQ(fake.trace(),
              "open?; Opening ROM file...; 0.4s@0; Checking...; 0.2s@25; Bereit...; " +
                  kOpenGerman.substr(kOpenGerman.find("Lade BIOS")));

    // The About window speaks the language of the moment; its picture opens the home page.
    controller.About_Click();
    EXPECT_EQ(fake.aboutWindows.at(0).caption + fake.aboutWindows[0].versionLine,
              " Über den EditorV0.9 Beta");
    EXPECT_TRUE(fake.aboutWindows[0].usageSteps.ends_with("zurückspielen\r6. Fertig!"));
    controller.Picture1_Click();
    EXPECT_EQ(fake.openedUrls, std::vector<std::string>{std::string(kHomePageUrl)});
    EXPECT_TRUE(fake.openedUrls[0].ends_with("/README.md"));

    // Shut-down stores the check mark once, through the menu or the window's close.
    controller.EXITProgramm_Click();
    controller.Form_Unload();
    EXPECT_EQ(fake.settingWrites, std::vector<std::string>{"Orvanta Clockvane|\\|language=True"});
    EXPECT_EQ(fake.closeRequests, 1);
}

TEST_F(Sequences, CommandsDuringASequenceAreIgnored)
{
    const std::string first = openRecipe(ImageRecipe{}, "first.rom");
    ImageRecipe other;
    other.entries[0].gpuClock = 80000;
    const std::string second = writeImage(other, "second.rom");
    const auto interrupt = [&] {
        controller.ROMOpen_Click();
        controller.ROMSave_Click();
        controller.Form_OLEDragDrop({second});
    };
    fake.clearRecords();
    fake.duringWait(2, interrupt);
    save(outPath());
    fake.duringWait(12, interrupt);  // during the open's third pause
    open(first);
    EXPECT_EQ(fake.dialogs.size(), 2u);
    EXPECT_EQ(fake.writtenPaths, std::vector<std::string>{outPath()});
    EXPECT_EQ(controller.state().sliders[0].value, 775);
    controller.Form_OLEDragDrop({second});  // afterwards they work again
    EXPECT_EQ(controller.state().sliders[0].value, 800);

    // A drop opens one file whose name ends in "rom" or "bin", in any case.
    for (const std::string row :
         {"+x.Rom", "+I.bin", "+biosrom", "-a.rom.txt", "-c.bios", "-c.rom1"}) {
        fake.clearRecords();
        controller.Form_OLEDragDrop({writeImage(ImageRecipe{}, row.substr(1))});
        EXPECT_EQ(fake.waitCount, row[0] == '+' ? 7 : 0) << row;
    }
    controller.Form_OLEDragDrop({first, second, first});
    EXPECT_EQ(fake.waitCount, 0);
}

// The bands, the key filter and the box validation are the core's rules; here each reaches
// the window: a band's colours, GDDR4's higher bounds, an admitted and a refused key, a
// validated box.
TEST_F(Sequences, EditingColoursMirrorsAndFiltersByTheBounds)
{
    ImageRecipe gddr4;
    gddr4.memoryText = "GDDR4";
    for (const bool four : {false, true}) {
        if (four) fake.yesNoAnswers = {MessageAnswer::Yes};  // the edits are given up
        openRecipe(four ? gddr4 : ImageRecipe{});
        std::string bands;
        for (const auto& [slider, mhz] : {std::pair{0, 850}, {0, 851}, {0, 951}, {1, 1001}}) {
            controller.setSliderValue(slider, mhz);
            controller.ScrollBar1_Scroll(slider);
            const ClockLabelState& l = controller.state().clockLabels[slider];
            bands += l.caption + "=" + std::to_string(static_cast<int>(l.background)) + "/" +
                     std::to_string(static_cast<int>(l.foreground)) + " ";
        }
        EXPECT_EQ(bands, std::string("850 MHz=0/1 851 MHz=3/1 951 MHz=4/2 1001 MHz=") +
                             (four ? "0/1 " : "4/2 "));
    }
    moveSlider(0, 5000);  // kept within the slider's range
    moveSlider(1, 10);
    moveSlider(4, 951);  // mirrored grey into the linked UVD label
    const MainWindowState& s = controller.state();
    EXPECT_EQ(describeLine(s, "slider0") + describeLine(s, "slider1"),
              "slider0 1200 on [1200 MHz 4/2]slider1 400 on [400 MHz 0/1]");
    EXPECT_EQ(describeLine(s, "slider6"), "slider6 400 off [951 MHz 0/5]");
    moveSlider(6, 999);  // a linked UVD slider takes no value and shows its own, grey
    EXPECT_EQ(describeLine(s, "slider6"), "slider6 400 off [400 MHz 0/5]");

    controller.setVcoreText(0, "1");
    EXPECT_TRUE(controller.CmbVCore_KeyPress(0, ',') && !controller.CmbVCore_KeyPress(0, 'a'));
    controller.setVcoreText(4, "1,4");
    controller.CmbVCore_LostFocus(4);
    EXPECT_EQ(s.vcoreBoxes[4].text, "1,327");

    // Under English regional settings the point takes the comma's place everywhere.
    FakePlatform point('.');
    MainController english(point);
    english.Form_Load();
    point.openDialogAnswers.push_back(writeImage(ImageRecipe{}, "point.rom"));
    english.ROMOpen_Click();
    EXPECT_EQ(english.state().vcoreBoxes[0].items[0] + " " + english.state().vcoreBoxes[0].text,
              "0.9 1.204");
    english.setVcoreText(0, "1");
    EXPECT_TRUE(english.CmbVCore_KeyPress(0, '.') && !english.CmbVCore_KeyPress(0, ','));
    english.setVcoreText(0, "0.5");
    english.CmbVCore_LostFocus(0);
    EXPECT_EQ(english.state().vcoreBoxes[0].text, "0.9");
}

// Up and Down step from the box's text to the preset next to it (0,9 0,974 1,02 1,125 1,22
// 1,274 1,327 V), never further, and stop at the ends; a box without a number stays as it is.
TEST_F(Sequences, VcoreStepsGoToTheNeighbouringPreset)
{
    openRecipe(ImageRecipe{});
    const std::tuple<const char*, bool, const char*> rows[] = {
        {"1,204", false, "1,125"}, {"1,204", true, "1,22"}, {"1,22", true, "1,274"},
        {"1,22", false, "1,125"},  {"0,95", false, "0,9"},  {"0,9", false, "0,9"},
        {"1,327", true, "1,327"},  {"0,5", true, "0,9"},    {"1,4", false, "1,327"},
        {"", false, ""},           {",,", true, ",,"}};
    for (const auto& [text, up, stepped] : rows) {
        controller.setVcoreText(0, text);
        controller.CmbVCore_Step(0, up);
        EXPECT_EQ(controller.state().vcoreBoxes[0].text, stepped) << text << (up ? " up" : " down");
    }
    controller.CmbVCore_Step(3, true);  // the linked UVD box is disabled
    EXPECT_EQ(controller.state().vcoreBoxes[3].text, "");
}

// A screen reader hears the clock a label shows and its tool tip, the warning of its colour, in
// the language of the moment: a linked UVD slider speaks the 3D High Power clock but keeps its
// own position for the unlink.
TEST_F(Sequences, SpokenSlidersFollowTheirLabels)
{
    openRecipe(ImageRecipe{});
    moveSlider(4, 951);
    moveSlider(0, 900);
    const MainWindowState& s = controller.state();
    const auto heard = [&s](std::size_t slider) {
        const SpokenSlider spoken = spokenSlider(s, slider);
        return std::to_string(spoken.mhz) + " " + spoken.warning.substr(0, 7);
    };
    EXPECT_EQ(heard(0) + "|" + heard(4) + "|" + heard(6) + "|" + heard(2),
              "900 Yellow:|951 Red: fa|951 |300 ");
    EXPECT_EQ(s.sliders[6].value, 400);
    controller.Chk_UVD_Click();
    moveSlider(6, 951);
    EXPECT_EQ(heard(6) + "|" + heard(7), "951 Red: fa|900 ");
    controller.SetLangDeutsch_Click();
    EXPECT_EQ(heard(6) + "|" + s.clockLabels[0].toolTip.substr(0, 7), "951 Rot: we|Gelb: h");
    controller.Chk_UVD_Click();  // linked again: grey, so no warning
    EXPECT_EQ(heard(6), "951 ");
}

TEST_F(Sequences, UnlinkingWarnsEachTimeAndLinkingKeepsTheUvdVoltage)
{
    openRecipe(ImageRecipe{});
    fake.clearRecords();
    const MainWindowState& s = controller.state();
    controller.Chk_UVD_Click();
    EXPECT_EQ(fake.messages,
              (std::vector<RecordedMessage>{
                  {"Warning:\r\rYou are about to change UVD clocks!\r"
                   "If you experience problems with your modded BIOS file\r"
                   "such as incorrect 2D and 3D clocks, try to deactivate\r"
                   "this feature before saving your modded BIOS.",
                   "Unlocking advanced feature", MessageIcon::Information, MessageButtons::Ok}}));
    EXPECT_EQ(describeLine(s, "slider6") + describeLine(s, "slider7") + describeLine(s, "box3"),
              "slider6 400 on [400 MHz 0/1]slider7 900 on [900 MHz 0/1]box3 '1,15' on");
    EXPECT_FALSE(s.linkLinesVisible || s.chkUvd.checked);
    moveSlider(4, 900);  // no longer mirrored
    moveSlider(6, 951);
    EXPECT_EQ(describeLine(s, "slider6"), "slider6 951 on [951 MHz 4/2]");

    controller.setVcoreText(3, "1,3");
    controller.Chk_UVD_Click();  // linking is silent
    EXPECT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(describeLine(s, "slider6"), "slider6 951 off [900 MHz 0/5]");
    EXPECT_TRUE(s.vcoreBoxes[3].text.empty() && s.linkLinesVisible && s.linkedLabelVisible);
    EXPECT_DOUBLE_EQ(controller.uvdVcoreKept(), 1.3);
    for (const std::string broken : {"", ",,"}) {
        controller.Chk_UVD_Click();
        controller.setVcoreText(3, broken);
        controller.Chk_UVD_Click();
        EXPECT_DOUBLE_EQ(controller.uvdVcoreKept(), 1.3) << broken;
    }
    controller.SetLangDeutsch_Click();
    controller.Chk_UVD_Click();
    EXPECT_EQ(s.vcoreBoxes[3].text + " " + s.clockLabels[6].caption, "1,3 951 MHz");
    EXPECT_EQ(fake.messages.back().title, "Erweiterte Funktion aktivieren");
    EXPECT_TRUE(fake.messages.back().text.starts_with(
        "Warnung:\r\rDiese Einstellung ermöglicht das Ändern der UVD Taktraten!\r"));
}

}  // namespace
}  // namespace clockvane::app::testing
