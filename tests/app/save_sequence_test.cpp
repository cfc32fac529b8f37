// The save sequence: its steps and texts, the bytes it writes (the same as the command-line
// pipeline's), the checksum question and its answers, and every way it can end early.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "bytes/sums.h"
#include "edit/save_pipeline.h"
#include "fixtures/controller_fixture.h"
#include "image/rom_loader.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;

// An image whose hidden entries hold far more than the shown ones: every save rewrites them
// from the shown values, and the difference is too large for the compensation bytes.
ImageRecipe farOffImage()
{
    ImageRecipe recipe;
    recipe.entries[4] = {0xFFFFFF, 0xFFFFFF, 0xFFFF};
    recipe.entries[5] = {0xFFFFFF, 0xFFFFFF, 0xFFFF};
    return recipe;
}

class SaveSequence : public ControllerTest {
protected:
    // The controls as the save will read them, for the pipeline the command line uses.
    SaveControls controlsNow() const
    {
        SaveControls controls;
        const MainWindowState& state = controller.state();
        for (std::size_t i = 0; i < kSliderCount; ++i) controls.sliders[i] = state.sliders[i].value;
        for (std::size_t k = 0; k < kVcoreBoxCount; ++k)
            controls.vcoreTexts[k] = state.vcoreBoxes[k].text;
        controls.uvdLinked = controller.uvdLinked();
        controls.decimalSeparator = fake.decimalSeparator();
        return controls;
    }

    // What the pipeline writes for the file at `opened` with `controls` and a given answer.
    static Bytes pipelineBytes(const std::string& opened, const SaveControls& controls,
                               bool answerYes)
    {
        auto loaded = loadRom(RawFile{fixtures::readFile(opened), {}});
        EXPECT_TRUE(loaded.ok());
        LoadedRom& rom = loaded.value();
        FixedClassicAnswer answer(answerYes);
        const auto result = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, answer);
        EXPECT_TRUE(result.ok());
        return bytesToWrite(rom.image);
    }

    std::string out() const { return (dir / "out.rom").string(); }
};

// --- An untouched save, in both languages -------------------------------------------------------

struct SaveTraceCase {
    bool german;
    std::vector<std::string> statuses;  // per wait
    std::string done;
    std::string suffix;
};

class SaveTrace : public SaveSequence, public ::testing::WithParamInterface<SaveTraceCase> {};

TEST_P(SaveTrace, WritesTheCorrectedImageStepByStep)
{
    const std::string opened = openRecipe(ImageRecipe{});
    if (GetParam().german) controller.SetLangDeutsch_Click();
    const SaveControls controls = controlsNow();
    const std::string loadedSum = SumBytes(fixtures::readFile(opened));
    fake.clearRecords();
    save(out());

    const auto& s = GetParam().statuses;
    const std::vector<RecordedWait> expected{
        {0.5, s[0], 10}, {0.3, s[1], 20}, {0.1, s[1], 30}, {0.1, s[1], 40}, {0.2, s[2], 50},
        {0.2, s[2], 60}, {0.2, s[2], 70}, {0.3, s[2], 80}, {0.5, s[3], 90},
    };
    EXPECT_EQ(fake.waits, expected);
    EXPECT_TRUE(fake.messages.empty());  // balanced by the compensation bytes: nothing asked
    const MainWindowState& state = controller.state();
    EXPECT_EQ(state.statusPanels[kProgressPanel], GetParam().done);
    EXPECT_EQ(state.statusPanels[kChecksumPanel], "Checksum-16: " + loadedSum + GetParam().suffix);
    EXPECT_EQ(state.progressValue, 100);
    EXPECT_EQ(fake.timerStarts, 1);
    EXPECT_EQ(fake.events.back(), "timer");

    const Bytes written = fixtures::readFile(out());
    EXPECT_EQ(written, pipelineBytes(opened, controls, false));
    EXPECT_EQ(SumBytes(written), loadedSum);
    EXPECT_NE(written, fixtures::readFile(opened));  // the clock fields were rewritten
    EXPECT_FALSE(controller.busy());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, SaveTrace,
    ::testing::Values(SaveTraceCase{false,
                                    {"Converting CLOCK values...", "Converting VCore values...",
                                     "Calculating Checksum...", "Saving ROM file..."},
                                    "Done...",
                                    " (Corrected)"},
                      SaveTraceCase{true,
                                    {"Konvertiere Taktraten...", "Konvertiere VCore-Werte...",
                                     "Berechne Checksumme...", "Schreibe ROM Datei..."},
                                    "Fertig...",
                                    " (Korrigiert)"}),
    [](const auto& info) { return languageName(info.param.german); });

TEST_F(SaveSequence, ProposesTheModNameOfTheLoadedFile)
{
    openRecipe(ImageRecipe{}, "hd3850.bin");
    controller.ROMSave_Click();
    ASSERT_EQ(fake.dialogs.size(), 2u);
    const RecordedDialog& dialog = fake.dialogs[1];
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(dialog.request.title, "Please enter a new filename for the modded BIOS.ROM");
    EXPECT_EQ(dialog.request.filter, "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin");
    EXPECT_EQ(dialog.request.fileName, (dir / "hd3850_mod.bin").string());
    EXPECT_EQ(dialog.request.flags, 0x200C06u);

    controller.SetLangDeutsch_Click();
    controller.ROMSave_Click();
    EXPECT_EQ(fake.dialogs.back().request.title, "Bitte Dateiname für die gemoddete Datei angeben");
}

TEST_F(SaveSequence, EditedValuesReachTheFileAsThePipelineWritesThem)
{
    const std::string opened = openRecipe(ImageRecipe{});
    controller.Chk_UVD_Click();
    for (const auto& [slider, mhz] : {std::pair{0, 800}, {3, 500}, {6, 600}, {9, 1000}}) {
        controller.setSliderValue(slider, mhz);
        controller.ScrollBar1_Change(slider);
    }
    controller.setVcoreText(2, "1,25");
    controller.setVcoreText(3, "0,5");  // raised to 0,9 by the save's validation
    save(out());
    EXPECT_EQ(controller.state().vcoreBoxes[3].text, "0,9");
    EXPECT_EQ(fixtures::readFile(out()), pipelineBytes(opened, controlsNow(), false));
}

// --- The checksum question ----------------------------------------------------------------------

struct AnswerCase {
    std::optional<MessageAnswer> answer;  // nothing: the box was closed
    bool corrected;
};

class ChecksumQuestion : public SaveSequence, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ChecksumQuestion, FileIsWrittenWhateverTheAnswer)
{
    const std::string opened = openRecipe(farOffImage());
    const SaveControls controls = controlsNow();
    const std::string loadedSum = SumBytes(fixtures::readFile(opened));
    fake.clearRecords();
    if (GetParam().answer) fake.yesNoAnswers.push_back(*GetParam().answer);
    std::size_t waitsAtQuestion = 0;
    fake.duringMessage(1, [&] { waitsAtQuestion = fake.waits.size(); });
    save(out());

    ASSERT_GE(fake.messages.size(), 1u);
    EXPECT_EQ(
        fake.messages[0],
        (RecordedMessage{
            "Changed clock range too high!\r\rDo you want to run the classic checksum correction?",
            "Error in checksum correction!", MessageIcon::Information, MessageButtons::YesNo}));
    EXPECT_EQ(waitsAtQuestion, 6u);  // after the pause at 60, before the one at 70

    const Bytes written = fixtures::readFile(out());
    const bool yes = GetParam().answer == MessageAnswer::Yes;
    EXPECT_EQ(written, pipelineBytes(opened, controls, yes));
    const std::string panel = controller.state().statusPanels[kChecksumPanel];
    if (GetParam().corrected) {
        EXPECT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(panel, "Checksum-16: " + loadedSum + " (Corrected)");
        EXPECT_EQ(SumBytes(written), loadedSum);
    } else {
        ASSERT_EQ(fake.messages.size(), 2u);
        EXPECT_EQ(fake.messages[1],
                  (RecordedMessage{
                      "Can't correct checksum. Please try to change the bytes with a HEX-Editor.",
                      "CRC correction not possible", MessageIcon::Critical, MessageButtons::Ok}));
        EXPECT_EQ(panel, "Checksum-16: " + SumBytes(written) + " (NOT corrected)");
        EXPECT_NE(SumBytes(written), loadedSum);
    }
    EXPECT_EQ(controller.state().statusPanels[kProgressPanel], "Done...");
}

INSTANTIATE_TEST_SUITE_P(Answers, ChecksumQuestion,
                         ::testing::Values(AnswerCase{MessageAnswer::Yes, true},
                                           AnswerCase{MessageAnswer::No, false},
                                           AnswerCase{std::nullopt, false}),
                         [](const auto& info) {
                             return std::string(!info.param.answer ? "Closed"
                                                : *info.param.answer == MessageAnswer::Yes ? "Yes"
                                                                                           : "No");
                         });

TEST_F(SaveSequence, ChecksumQuestionAndFailureInGerman)
{
    openRecipe(farOffImage());
    controller.SetLangDeutsch_Click();
    save(out());
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[0].title, "Fehler in Checksummenberechnung!");
    EXPECT_EQ(
        fake.messages[0].text,
        "Taktänderungen zu groß!\r\rSoll die Checksumme auf klassische Art korrigiert werden?");
    EXPECT_EQ(fake.messages[1].title, "CRC Korrektur nicht möglich");
    EXPECT_EQ(fake.messages[1].text,
              "Korrektur der Checksumme nicht möglich, bitte per HEX-Editor korrigieren");
    const std::string panel = controller.state().statusPanels[kChecksumPanel];
    EXPECT_EQ(panel.substr(panel.size() - 19), " (NICHT korrigiert)");
}

// --- Several saves in one session ----------------------------------------------------------------

// Every shown clock at 655.36 MHz: raising them far needs the classic correction, moving them
// by a megahertz does not.
ImageRecipe lowClockImage()
{
    ImageRecipe recipe;
    for (ClockEntry& entry : recipe.entries) entry = {0x010000, 0x010000, 1000};
    return recipe;
}

struct SessionSave {
    int gpu, ram;  // every shown slider but UVD's (linked)
    MessageAnswer answer;
};

TEST_F(SaveSequence, EachSaveOfASessionWritesWhatASaveOfTheFreshFileWrites)
{
    const std::vector<std::vector<SessionSave>> sessions{
        {{1100, 1650, MessageAnswer::Yes}, {656, 656, MessageAnswer::Yes}},   // classic, then CRC
        {{656, 656, MessageAnswer::Yes}, {1100, 1650, MessageAnswer::Yes}},   // CRC, then classic
        {{1100, 1650, MessageAnswer::No}, {1100, 1650, MessageAnswer::Yes}},  // No, then Yes
    };
    for (std::size_t n = 0; n < sessions.size(); ++n) {
        const std::string opened = openRecipe(lowClockImage(), "low" + std::to_string(n) + ".rom");
        const std::string loadedSum = SumBytes(fixtures::readFile(opened));
        for (const SessionSave& step : sessions[n]) {
            SCOPED_TRACE("session " + std::to_string(n) + ", " + std::to_string(step.gpu) + " MHz");
            for (std::size_t slider : {0, 1, 2, 3, 4, 5, 8, 9}) {
                controller.setSliderValue(slider, isGpuSlider(slider) ? step.gpu : step.ram);
                controller.ScrollBar1_Change(slider);
            }
            fake.yesNoAnswers.push_back(step.answer);
            save(out());
            const Bytes written = fixtures::readFile(out());
            EXPECT_EQ(written,
                      pipelineBytes(opened, controlsNow(), step.answer == MessageAnswer::Yes));
            const bool balanced = SumBytes(written) == loadedSum;
            EXPECT_EQ(controller.state().statusPanels[kChecksumPanel],
                      "Checksum-16: " + SumBytes(written) +
                          (balanced ? " (Corrected)" : " (NOT corrected)"));
            fake.yesNoAnswers.clear();
        }
    }
}

// --- Saves that end early -----------------------------------------------------------------------

TEST_F(SaveSequence, CancelledDialogChangesNothing)
{
    openRecipe(ImageRecipe{});
    const std::string before = describeWindow(controller.state());
    const ClockEntries working = controller.clocks()->working;
    const MainWindowState& state = controller.state();
    const std::string status = state.statusPanels[kProgressPanel];
    fake.clearRecords();
    controller.ROMSave_Click();
    EXPECT_EQ(fake.dialogs.size(), 1u);
    EXPECT_TRUE(fake.waits.empty());
    EXPECT_TRUE(fake.writtenPaths.empty());
    EXPECT_EQ(controller.clocks()->working, working);
    EXPECT_EQ(describeWindow(state), before);
    EXPECT_EQ(state.statusPanels[kProgressPanel], status);
    EXPECT_EQ(state.progressValue, 100);
}

struct WriteFailureCase {
    WriteErrorKind kind;
    bool german;
    std::string title;
    std::string textStart;
    std::string status;
};

std::string writeFailureName(const ::testing::TestParamInfo<WriteFailureCase>& info)
{
    const char* kinds[] = {"AccessDenied", "Failed", "ReadBackMismatch"};
    return kinds[static_cast<int>(info.param.kind)] + languageName(info.param.german);
}

class WriteFailure : public SaveSequence, public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailure, ReportsAndLeavesTheControlsDisabled)
{
    openRecipe(ImageRecipe{});
    if (GetParam().german) controller.SetLangDeutsch_Click();
    fake.clearRecords();
    fake.writeHook = [kind = GetParam().kind](const std::filesystem::path&,
                                              ByteView) -> std::optional<WriteError> {
        return WriteError{kind, "No space left on device"};
    };
    save(out());

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, GetParam().title);
    EXPECT_EQ(fake.messages[0].text.substr(0, GetParam().textStart.size()), GetParam().textStart);
    EXPECT_EQ(fake.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(fake.messages[0].buttons, MessageButtons::Ok);

    const MainWindowState& state = controller.state();
    EXPECT_EQ(state.statusPanels[kProgressPanel], GetParam().status);
    EXPECT_EQ(state.progressValue, 90);
    EXPECT_EQ(fake.timerStarts, 1);
    EXPECT_FALSE(state.mnuTrouble.enabled);
    for (const SliderState& slider : state.sliders) EXPECT_FALSE(slider.enabled);
    for (const VcoreBoxState& box : state.vcoreBoxes) EXPECT_FALSE(box.enabled);
    EXPECT_TRUE(state.romSave.enabled);  // a later save may succeed
    EXPECT_FALSE(controller.busy());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WriteFailure,
    ::testing::Values(
        WriteFailureCase{WriteErrorKind::AccessDenied, false, "Access denied",
                         "File is read only. Can't write to file!", "Error writing to file..."},
        WriteFailureCase{WriteErrorKind::AccessDenied, true, "Zugriff verweigert",
                         "Datei ist schreibgeschützt. Kein Schreiben möglich!",
                         "Fehler beim Schreiben der Datei..."},
        WriteFailureCase{WriteErrorKind::Failed, false, "Write error",
                         "The file could not be written:\r", "Error writing to file..."},
        WriteFailureCase{WriteErrorKind::Failed, true, "Fehler beim Schreiben",
                         "Die Datei konnte nicht geschrieben werden:\r",
                         "Fehler beim Schreiben der Datei..."},
        WriteFailureCase{WriteErrorKind::ReadBackMismatch, false, "Write error",
                         "The file could not be written:\r", "Error writing to file..."}),
    writeFailureName);

TEST_F(SaveSequence, AccessDeniedMessageIsExactAndOtherFailuresNameTheReason)
{
    openRecipe(ImageRecipe{});
    fake.writeHook = [](const std::filesystem::path&, ByteView) -> std::optional<WriteError> {
        return WriteError{WriteErrorKind::Failed, "No space left on device"};
    };
    save(out());
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text,
              "The file could not be written:\r" + out() + "\r\rNo space left on device");

    fake.writeHook = [](const std::filesystem::path&, ByteView) -> std::optional<WriteError> {
        return WriteError{WriteErrorKind::AccessDenied, "Permission denied"};
    };
    save(out());
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[1].text,
              "File is read only. Can't write to file!");  // no reason appended
}

TEST_F(SaveSequence, ReadOnlyFileOnDiskIsLeftUntouched)
{
    openRecipe(ImageRecipe{});
    const std::string target = writeBytes(Bytes{'o', 'l', 'd'}, "locked.rom");
    ::chmod(target.c_str(), 0444);
    save(target);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Access denied");
    EXPECT_EQ(fixtures::readFile(target), (Bytes{'o', 'l', 'd'}));
}

TEST_F(SaveSequence, ControlsComeBackLinkedAfterASave)
{
    openRecipe(ImageRecipe{});
    save(out());
    const MainWindowState& state = controller.state();
    EXPECT_TRUE(state.mnuTrouble.enabled);
    for (std::size_t i = 0; i < kSliderCount; ++i)
        EXPECT_EQ(state.sliders[i].enabled, i != 6 && i != 7) << i;
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k)
        EXPECT_EQ(state.vcoreBoxes[k].enabled, k != 3) << k;
    EXPECT_EQ(state.vcoreBoxes[3].text, "");
}

TEST_F(SaveSequence, ControlsComeBackUnlinkedAfterASave)
{
    openRecipe(ImageRecipe{});
    controller.Chk_UVD_Click();
    save(out());
    const MainWindowState& state = controller.state();
    for (const SliderState& slider : state.sliders) EXPECT_TRUE(slider.enabled);
    for (const VcoreBoxState& box : state.vcoreBoxes) EXPECT_TRUE(box.enabled);
    EXPECT_EQ(state.vcoreBoxes[3].text, "1,15");
}

struct EmptyBoxCase {
    bool unlink;
    std::size_t box;
    std::string text;
    bool german;
    std::string expectedText;  // "" when the save goes ahead
};

class EmptyVcoreBox : public SaveSequence, public ::testing::WithParamInterface<EmptyBoxCase> {};

TEST_P(EmptyVcoreBox, SaveRefusesBeforeAnythingChanges)
{
    openRecipe(ImageRecipe{});
    if (GetParam().unlink) controller.Chk_UVD_Click();
    if (GetParam().german) controller.SetLangDeutsch_Click();
    controller.setVcoreText(GetParam().box, GetParam().text);
    const ClockEntries working = controller.clocks()->working;
    fake.clearRecords();
    save(out());

    if (GetParam().expectedText.empty()) {
        EXPECT_TRUE(fake.messages.empty());
        EXPECT_EQ(fake.writtenPaths.size(), 1u);
        return;
    }
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, GetParam().german ? "VCore fehlt" : "VCore missing");
    EXPECT_EQ(fake.messages[0].text, GetParam().expectedText);
    EXPECT_EQ(fake.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(fake.dialogs.empty());
    EXPECT_TRUE(fake.waits.empty());
    EXPECT_EQ(controller.clocks()->working, working);
    EXPECT_TRUE(controller.state().sliders[0].enabled);
    EXPECT_TRUE(controller.state().mnuTrouble.enabled);
    EXPECT_EQ(fake.saveDialogAnswers.size(), 1u);  // never asked
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, EmptyVcoreBox,
    ::testing::Values(EmptyBoxCase{false, 4, "", false,
                                   "The 3D Low Power VCore is empty or not a number.\r\r"
                                   "Please enter a value from 0,9 to 1,327 volts and save again."},
                      EmptyBoxCase{
                          false, 0, ",,", true,
                          "Die VCore für BootUp ist leer oder keine Zahl.\r\r"
                          "Bitte einen Wert von 0,9 bis 1,327 Volt eingeben und erneut speichern."},
                      EmptyBoxCase{true, 3, "", false,
                                   "The UVD VCore is empty or not a number.\r\r"
                                   "Please enter a value from 0,9 to 1,327 volts and save again."},
                      EmptyBoxCase{false, 3, "", false, ""}),
    [](const auto& info) {
        return "Box" + std::to_string(info.param.box) + (info.param.unlink ? "Unlinked" : "Linked");
    });  // linked: the UVD box is not read

}  // namespace
}  // namespace clockvane::app::testing
