// The whole flashing round in the window: unsaved edits are asked about before they are lost,
// Revert, the comparison with a file read back from the card, and both BIOS files of an
// HD 3870 X2 edited at once.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "bytes/sums.h"
#include "fixtures/controller_fixture.h"
#include "fixtures/recipes.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;

ImageRecipe x2File(bool second) { return {.deviceId = "950F", .x2SecondFile = second}; }

const RecordedMessage kDiscardQuestion{
    "The settings were changed and not saved yet.\r\rDiscard the changes?", "Unsaved changes",
    MessageIcon::Exclamation, MessageButtons::YesNoDefaultNo};

using FlashRound = ControllerTest;

// Each way of leaving the document asks while the controls differ from the file as opened or
// last saved; No (the default, and the answer of a box closed otherwise) keeps everything.
TEST_F(FlashRound, LeavingEditedControlsAsksFirstAndNoKeepsThem)
{
    struct Row {
        const char* name;
        std::function<void(FlashRound&, const std::string& other)> leave;
    };
    const Row rows[] = {
        {"close box",
         [](FlashRound& t, const std::string&) {
             if (t.controller.Form_QueryUnload()) t.controller.Form_Unload();
         }},
        {"exit menu", [](FlashRound& t, const std::string&) { t.controller.EXITProgramm_Click(); }},
        {"open", [](FlashRound& t, const std::string& other) { t.open(other); }},
        {"drop",
         [](FlashRound& t, const std::string& other) { t.controller.Form_OLEDragDrop({other}); }},
    };
    const std::string other = writeImage({.deviceId = "9505"}, "other.rom");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string opened = openRecipe({});
        // Moved and moved back: nothing differs, nothing is asked.
        moveSlider(4, 900);
        moveSlider(4, 775);
        controller.setVcoreText(0, "1,2040");
        EXPECT_TRUE(controller.Form_QueryUnload());
        EXPECT_FALSE(controller.hasUnsavedChanges());

        moveSlider(4, 900);
        fake.clearRecords();
        row.leave(*this, other);
        EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{kDiscardQuestion});
        EXPECT_EQ(controller.state().sliders[4].value, 900);
        EXPECT_EQ(fake.closeRequests + fake.settingWrites.size(), 0u);
        EXPECT_EQ(controller.state().statusPanels[kFileNamePanel], "card.rom");

        fake.clearRecords();
        fake.yesNoAnswers = {MessageAnswer::Yes};
        row.leave(*this, other);
        const bool closes = fake.closeRequests + fake.settingWrites.size() > 0;
        EXPECT_TRUE(closes || controller.state().statusPanels[kFileNamePanel] == "other.rom");
        if (closes) return;  // the window is gone: the remaining rows need another
    }
}

// Status panel 1 names the file, its bytes escaped where they are not text; a save of the edits
// makes them the kept values, so closing asks nothing afterwards.
TEST_F(FlashRound, FilePanelNamesTheFileAndASaveKeepsTheEdits)
{
    openRecipe({}, "caf\xE9.rom");
    EXPECT_EQ(controller.state().statusPanels[kFileNamePanel], "caf\\xE9.rom");
    moveSlider(0, 800);
    EXPECT_TRUE(controller.hasUnsavedChanges());
    save(outPath());
    EXPECT_TRUE(controller.Form_QueryUnload());  // a question would be answered No
}

TEST_F(FlashRound, RevertPutsTheValuesAsOpenedBackAndIsUsableOnlyWhileTheyDiffer)
{
    EXPECT_FALSE(controller.state().romRevert.enabled);
    openRecipe({});
    // The controls; the checksum panel tells of the file last written and is not reverted.
    const auto controls = [this] {
        const std::string window = describeWindow(controller.state());
        return window.substr(0, window.find("checksum"));
    };
    const std::string asOpened = controls();
    EXPECT_FALSE(controller.state().romRevert.enabled);

    moveSlider(4, 1000);  // a yellow or red label, mirrored to UVD
    controller.setVcoreText(0, "1,3");
    controller.Chk_UVD_Click();  // unlinked: the UVD controls get values of their own
    moveSlider(6, 700);
    EXPECT_TRUE(controller.state().romRevert.enabled);
    controller.ROMRevert_Click();
    EXPECT_EQ(controls(), asOpened);
    EXPECT_TRUE(controller.uvdLinked());
    EXPECT_FALSE(controller.state().romRevert.enabled || controller.hasUnsavedChanges());

    // Saved edits still differ from the file as opened: Revert stays usable and goes back to it.
    moveSlider(2, 350);
    save(outPath());
    EXPECT_TRUE(controller.state().romRevert.enabled);
    controller.ROMRevert_Click();
    EXPECT_EQ(controls(), asOpened);
    EXPECT_TRUE(controller.hasUnsavedChanges());  // the file last written holds 350 MHz
}

// The open file against a second image, as the tool's diff compares them: the lines that
// differ are marked, an identical file only says so.
TEST_F(FlashRound, CompareMarksWhatDiffersOrSaysTheImagesAreIdentical)
{
    EXPECT_FALSE(controller.state().romCompare.enabled);
    const std::string opened = openRecipe({});
    EXPECT_TRUE(controller.state().romCompare.enabled);
    const Bytes original = fixtures::readFile(opened);
    Bytes oneByte = original;
    oneByte[0x100] ^= 0x01;
    Bytes firstByte = original;  // the first byte is compared too
    firstByte[0] ^= 0x01;

    // The edit saved through the window: 3D High Power GPU at 800 MHz, and the linked UVD
    // state takes 3D High Power's clocks and VCore. The save also writes the hidden copies of
    // 2D, 3D Low Power, 3D High Power and UVD, which the recipe gives values of their own.
    moveSlider(4, 800);
    save(outPath());

    struct Row {
        std::string name;
        std::string file;
        std::set<std::string> marked;  // of the shown states; empty: identical
    };
    const Row rows[] = {
        {"identical", writeBytes(original, "copy.rom"), {}},
        {"one byte", writeBytes(oneByte, "byte.rom"), {"Differing bytes", "Checksum-16"}},
        {"first byte", writeBytes(firstByte, "first.rom"), {"Differing bytes", "Checksum-16"}},
        {"saved edit", outPath(), {"3D High Power GPU", "UVD GPU", "UVD RAM", "UVD VCore"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fake.clearRecords();
        fake.openDialogAnswers = {row.file};
        controller.ROMCompare_Click();
        if (row.marked.empty()) {
            const RecordedMessage identical{"The images are identical",
                                            "Comparison of the BIOS files",
                                            MessageIcon::Information, MessageButtons::Ok};
            EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{identical});
            EXPECT_TRUE(fake.comparisons.empty());
            continue;
        }
        ASSERT_EQ(fake.comparisons.size(), 1u);
        const ComparisonTable& table = fake.comparisons[0];
        EXPECT_EQ(table.firstHeading, "card.rom");
        std::set<std::string> marked;
        std::map<std::string, std::string> lines;
        std::size_t hidden = 0;
        for (const ComparisonRow& line : table.rows) {
            if (line.label.starts_with("Hidden entry")) {
                hidden += line.differs;
                continue;
            }
            if (line.differs && line.note == "different") marked.insert(line.label);
            lines[line.label] = line.first + " | " + line.second;
        }
        EXPECT_EQ(marked, row.marked);
        EXPECT_EQ(hidden, row.name == "saved edit" ? 15u : 0u);  // entries 4, 5, 6, 8, 9
        EXPECT_EQ(lines["Card"], "ATI HD3870 | ATI HD3870");
        EXPECT_EQ(lines["Structure check"], "not available | not available");
        if (row.name == "one byte" || row.name == "first byte") {
            EXPECT_EQ(lines["Differing bytes"],
                      row.name == "one byte" ? "0x0100-0x0100 | 1 byte" : "0x0000-0x0000 | 1 byte");
        } else {
            EXPECT_EQ(lines["3D High Power GPU"].substr(0, 16), "775,00 MHz | 799");
            EXPECT_EQ(lines["Checksum-16"], SumBytes(original) + " | " + SumBytes(original));
            EXPECT_EQ(lines["Differing bytes"], "none | none");
        }
    }

    // 42 bytes apart from each other: 40 ranges are listed, then how many more there are.
    Bytes scattered = original;
    for (std::size_t i = 0; i < 42; ++i) scattered[0x100 + 2 * i] ^= 0x01;
    fake.clearRecords();
    fake.openDialogAnswers = {writeBytes(scattered, "scattered.rom")};
    controller.ROMCompare_Click();
    ASSERT_EQ(fake.comparisons.size(), 1u);
    std::vector<std::string> listed;
    for (const ComparisonRow& line : fake.comparisons[0].rows)
        if (line.label == "Differing bytes") listed.push_back(line.first);
    ASSERT_EQ(listed.size(), 41u);
    EXPECT_EQ(listed[39] + " " + listed[40], "0x014E-0x014E ... and 2 more ranges");

    // A file that is no BIOS of these cards is refused; the open document stays.
    fake.clearRecords();
    fake.openDialogAnswers = {writeImage({.deviceId = "1234"}, "wrong.rom")};
    controller.ROMCompare_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Wrong ROM file");
    EXPECT_EQ(controller.image()->fileImage, original);
}

// Dropped in either order, or picked together in the dialog: file 1 is on the controls and
// file 2 goes with it; both names and both sums are shown, and no single-file notice.
TEST_F(FlashRound, TwoFilesOfOneX2OpenAsAPair)
{
    const std::string first = writeImage(x2File(false), "x2_1.rom");
    const std::string second = writeImage(x2File(true), "x2_2.rom");
    const std::string sums = "Checksum-16: " + SumBytes(fixtures::readFile(first)) + " / " +
                             SumBytes(fixtures::readFile(second));
    for (const bool dialog : {false, true}) {
        fake.clearRecords();
        if (dialog) {
            fake.openDialogFileLists = {{first, second}};
            controller.ROMOpen_Click();
        } else {
            controller.Form_OLEDragDrop({second, first});
        }
        ASSERT_NE(controller.x2SecondFile(), nullptr);
        EXPECT_EQ(controller.x2SecondFile()->path, second);
        const MainWindowState& s = controller.state();
        EXPECT_EQ(s.frameCaption, "X2 files 1 and 2");
        EXPECT_EQ(s.statusPanels[kFileNamePanel], "x2_1.rom + x2_2.rom");
        EXPECT_EQ(s.statusPanels[kChecksumPanel], sums);
        EXPECT_TRUE(fake.messages.empty());
        EXPECT_TRUE(s.romSave.enabled && s.sliders[0].enabled);
    }
    switchToGerman();
    EXPECT_EQ(controller.state().frameCaption, "X2 Dateien 1 und 2");

    // One file opened afterwards is a single document again, with its X2 notice.
    controller.SetLangEnglish_Click();
    fake.clearRecords();
    controller.Form_OLEDragDrop({second});
    EXPECT_EQ(controller.x2SecondFile(), nullptr);
    EXPECT_EQ(controller.state().frameCaption, "BIOS info's");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Opening 3870 X\xC2\xB2 BIOS 2 of 2");
}

// Two files that are not the halves of one X2 are refused as a pair, with the reason, and the
// document open before stays as it was.
TEST_F(FlashRound, FilesThatAreNotOneX2AreRefusedAsAPairWithTheReason)
{
    ImageRecipe otherVersion = x2File(true);
    otherVersion.version = "010.065.000.002.000000";
    ImageRecipe gddr4 = x2File(true);
    gddr4.memoryText = "GDDR4 512MB";
    ImageRecipe tablesFirst = fixtures::fullSizeWithTables();
    tablesFirst.deviceId = "950F";
    ImageRecipe otherBoard = tablesFirst;
    otherBoard.x2SecondFile = true;
    otherBoard.atom->subsystemId = 0x3C4E;

    struct Row {
        ImageRecipe a;
        ImageRecipe b;
        int namedFile;  // 0 or 1: the file the message names; -1: none
        std::string reason;
    };
    const Row rows[] = {
        {{}, x2File(true), 0, "This file is not a BIOS file of an HD 3870 X\xC2\xB2."},
        {x2File(true),
         {.deviceId = "9505"},
         1,
         "This file is not a BIOS file of an HD 3870 X\xC2\xB2."},
        {x2File(false), x2File(false), -1, "Both files are the first BIOS file of an X\xC2\xB2."},
        {x2File(true), x2File(true), -1, "Both files are the second BIOS file of an X\xC2\xB2."},
        {x2File(false), otherVersion, -1,
         "The BIOS versions differ: the files do not come from the same card."},
        {x2File(false), gddr4, -1,
         "The memory types or sizes differ: the files do not come from the same card."},
        {tablesFirst, otherBoard, -1,
         "The subsystem IDs differ: the files do not come from the same card."},
        {x2File(false), {.deviceId = "1234"}, 1, "Sorry, this is not an ATI 38xx BIOS.ROM file"},
    };
    openRecipe({});
    const std::string before = describeWindow(controller.state());
    for (const Row& row : rows) {
        const std::array<std::string, 2> paths{writeImage(row.a, "a.rom"),
                                               writeImage(row.b, "b.rom")};
        SCOPED_TRACE(row.reason);
        fake.clearRecords();
        controller.Form_OLEDragDrop({paths[0], paths[1]});
        const std::string named = row.namedFile < 0 ? "" : "\r" + paths[std::size_t(row.namedFile)];
        const RecordedMessage refusal{
            "The files are not opened as a pair:" + named + "\r\r" + row.reason,
            "Not an X\xC2\xB2 file pair", MessageIcon::Exclamation, MessageButtons::Ok};
        EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{refusal});
        EXPECT_EQ(controller.x2SecondFile(), nullptr);
        EXPECT_EQ(describeWindow(controller.state()), before);
        EXPECT_EQ(controller.state().statusPanels[kFileNamePanel], "card.rom");
    }

    // Three files picked at once are no pair either; three dropped are ignored as before.
    fake.clearRecords();
    const std::string x = writeImage({}, "x.rom");
    controller.Form_OLEDragDrop({x, x, x});
    EXPECT_TRUE(fake.events.empty());
    fake.openDialogFileLists = {{x, x, x}};
    controller.ROMOpen_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text,
              "The files are not opened as a pair:\r\rPlease select one file, or the two BIOS "
              "files of one HD 3870 X\xC2\xB2.");
}

// Differing clock tables are told before the controls are given back, naming the states; the
// controls show file 1. A save writes both copies, each through the one save pipeline against
// its own opened sum, under names asked for one after the other.
TEST_F(FlashRound, PairWithDifferentClocksIsToldAndSavedIntoBothFiles)
{
    ImageRecipe secondRecipe = x2File(true);
    secondRecipe.entries[1].gpuClock = 31000;  // 2D GPU 310 MHz
    secondRecipe.entries[7].vcore = 1204;      // UVD VCore
    const std::string first = writeImage(x2File(false), "x2_1.rom");
    const std::string second = writeImage(secondRecipe, "x2_2.rom");
    controller.Form_OLEDragDrop({first, second});
    EXPECT_NE(fake.trace().find("0.3s@60; msg:Clock tables differ; Showing CLOCKinfo's..."),
              std::string::npos);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text,
              "The clock tables of the two files differ in:\r2D\rUVD\r\rThe values of file 1 are "
              "shown. A save gives both files the values set.");
    EXPECT_EQ(controller.state().sliders[2].value, 300);

    moveSlider(4, 800);
    const std::string out1 = (dir / "one.rom").string();
    const std::string out2 = (dir / "two.rom").string();
    fake.clearRecords();
    fake.saveDialogAnswers = {out1, out1, out2};  // one name for both is asked again
    controller.ROMSave_Click();
    ASSERT_EQ(fake.dialogs.size(), 3u);
    EXPECT_EQ(fake.dialogs[0].fileName, (dir / "x2_1_mod.rom").string());
    EXPECT_EQ(fake.dialogs[2].fileName, (dir / "x2_2_mod.rom").string());
    EXPECT_EQ(fake.writtenPaths, (std::vector<std::string>{out1, out2}));
    EXPECT_EQ(fixtures::readFile(out1), pipelineBytesNow(first, false));
    EXPECT_EQ(fixtures::readFile(out2), pipelineBytesNow(second, false));
    EXPECT_EQ(controller.state().statusPanels[kChecksumPanel],
              "Checksum-16: " + SumBytes(fixtures::readFile(first)) + " (Corrected) / " +
                  SumBytes(fixtures::readFile(second)) + " (Corrected)");
    EXPECT_FALSE(controller.hasUnsavedChanges());
}

// Raised so far that only the classic correction balances the sums: the question comes once,
// and its answer saves both files.
TEST_F(FlashRound, PairAsksTheClassicQuestionOnceForBothFiles)
{
    ImageRecipe low1 = fixtures::lowClocks();
    low1.deviceId = "950F";
    ImageRecipe low2 = low1;
    low2.x2SecondFile = true;
    const std::string first = writeImage(low1, "x2_1.rom");
    const std::string second = writeImage(low2, "x2_2.rom");
    controller.Form_OLEDragDrop({first, second});
    for (std::size_t slider : {0, 1, 2, 3, 4, 5, 8, 9})
        moveSlider(slider, isGpuSlider(slider) ? 1100 : 1650);
    fake.clearRecords();
    fake.yesNoAnswers = {MessageAnswer::Yes};
    fake.saveDialogAnswers = {(dir / "one.rom").string(), (dir / "two.rom").string()};
    controller.ROMSave_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Error in checksum correction!");
    EXPECT_EQ(fixtures::readFile(dir / "one.rom"), pipelineBytesNow(first, true));
    EXPECT_EQ(fixtures::readFile(dir / "two.rom"), pipelineBytesNow(second, true));
}

}  // namespace
}  // namespace clockvane::app::testing
