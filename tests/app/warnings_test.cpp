// Refusals and warnings the window shows, each row a scripted action with the trace and the
// message boxes it must produce: files refused, clocks out of range, the memory prompt, the X2
// notice, doubtful structure, the checksum question, VCore boxes and failed writes.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "app/error_reasons.h"
#include "bytes/sums.h"
#include "fixtures/controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;
using Msg = RecordedMessage;
constexpr auto kOk = MessageButtons::Ok;
constexpr auto kExcl = MessageIcon::Exclamation;
constexpr auto kCrit = MessageIcon::Critical;
constexpr auto kInfo = MessageIcon::Information;

class Warnings;
struct Row {
    std::string name;  // ending in "German" for the German window
    std::function<void(Warnings&)> act;
    std::vector<RecordedMessage> messages;  // a message's text may be cut short: a prefix
    std::string trace = "";                 // how the trace starts, when checked
};
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class Warnings : public ControllerTest, public ::testing::WithParamInterface<Row> {
public:
    using ControllerTest::controller;
    using ControllerTest::dir;
    using ControllerTest::fake;
    using ControllerTest::open;
    using ControllerTest::save;
    using ControllerTest::writeBytes;
    std::string openImage(const ImageRecipe& recipe) { return openRecipe(recipe); }
    std::string out() const { return (dir / "out.rom").string(); }
};

ImageRecipe recipe(const std::function<void(ImageRecipe&)>& change)
{
    ImageRecipe r;
    change(r);
    return r;
}

ImageRecipe outOfRange()
{
    return recipe([](ImageRecipe& r) {
        r.entries[0].gpuClock = 120001;  // BootUp GPU, 1200.01 MHz: too high
        r.entries[1].ramClock = 39999;   // 2D RAM: too low
        r.entries[2].gpuClock = 120000;  // 3D Low Power GPU at the limit: passes
        r.entries[2].ramClock = 170001;  // 3D Low Power RAM: too high
        r.entries[3].gpuClock = 29999;   // 3D GPU: too low
        r.entries[7].gpuClock = 0;       // UVD GPU: too low
        r.entries[4].gpuClock = 0;       // hidden entries are never checked
    });
}
ImageRecipe contradicted()
{
    return recipe([](ImageRecipe& r) {
        r.atom = fixtures::AtomTables{};
        r.atom->clockInfoSize = 20;
    });
}
// Hidden entries far above the shown ones: too much for the compensation bytes.
ImageRecipe farOff()
{
    return recipe([](ImageRecipe& r) {
        r.entries[4] = r.entries[5] = {0xFFFFFF, 0xFFFFFF, 0xFFFF};
    });
}
void openCutShort(Warnings& t)
{
    Bytes image = fixtures::buildImage(ImageRecipe{});
    image.resize(60'000);  // of the 65,536 bytes the option ROM declares
    t.open(t.writeBytes(image, "card.rom"));
}
void openGone(Warnings& t) { t.open((t.dir / "gone.rom").string()); }
std::function<void(Warnings&)> opening(ImageRecipe r)
{
    return [r](Warnings& t) { t.openImage(r); };
}
std::function<void(Warnings&)> openThenSave(ImageRecipe r,
                                            std::function<void(Warnings&)> setup = nullptr)
{
    return [r, setup](Warnings& t) {
        t.openImage(r);
        if (setup) setup(t);
        t.fake.clearRecords();
        t.save(t.out());
    };
}
std::function<void(Warnings&)> failingWrite(WriteErrorKind kind, const char* reason)
{
    return openThenSave(ImageRecipe{}, [kind, reason](Warnings& t) {
        t.fake.writeHook = [kind, reason](const std::filesystem::path&, ByteView) {
            return std::optional<WriteError>(WriteError{kind, reason});
        };
    });
}
std::function<void(Warnings&)> vcoreBox(bool unlink, std::size_t box, const char* text)
{
    return openThenSave(ImageRecipe{}, [=](Warnings& t) {
        if (unlink) t.controller.Chk_UVD_Click();
        t.controller.setVcoreText(box, text);
    });
}

const std::string kOpenSteps = "open?; Opening ROM file...; 0.4s@0; Checking...; 0.2s@25; ";
const std::string kX2English =
    "To complete the BIOS MOD please open both ROMs and enter FULL EQUAL settings.\r\r"
    "To store both ROM's on your harddrive:\r\rOption 1 = Use ATIWinflash\r"
    "Option 2 = USE ATIDosFlash with the following command line options\r"
    "        c:\\atiflash.exe -p 0 ati0.rom\r        c:\\atiflash.exe -p 1 ati1.rom\r\r"
    "After you have successfully edited and saved the BIOS files\r"
    "be sure to store each file in it's original location.\r"
    "If you mix up both files it's possible that your computer won't boot after flashing!";
const std::string kX2German =
    "Für ein erfolgreiches Modding müssen jedoch beide BIOS ROMs GENAU GLEICH verändert werden.\r"
    "\rSo können beide ROM's auf Festplatte gespeichert werden:\r\r"
    "Möglichkeit 1 = Mit ATIWinflash\r"
    "Möglichkeit 2 = Mit ATIDosFlash mit folgenden Parametern\r"
    "        c:\\atiflash.exe -p 0 ati0.rom\r        c:\\atiflash.exe -p 1 ati1.rom\r\r"
    "Nach dem Bearbeiten und Abspeichern der gemoddeten Dateien\r"
    "MUSS jede wieder in das ursprüngliche ROM geflasht werden.\r"
    "Sollten die ROMs vertauscht werden, kann dies u.U. zu einem schwarzen Bildschirm führen!";
const std::string kContradictedQuestion =
    "The BIOS's own power table places the clock table elsewhere, so saving would rewrite "
    "bytes that may not be clocks.\r\rSave anyway?";
Msg range(const std::string& line, bool german, bool high)
{
    return german ? Msg{line + "\r\rBitte die Einstellung überprüfen",
                        high ? "Takt zu hoch!" : "Takt zu niedrig!", kExcl, kOk}
                  : Msg{line + "\r\rPlease correct the setting", "Clock read error", kExcl, kOk};
}
ImageRecipe x2(bool second)
{
    return recipe([second](ImageRecipe& r) {
        r.deviceId = "950F";
        r.x2SecondFile = second;
    });
}

// clang-format off
const Row kRows[] = {
    {"WrongFileEnglish", opening(recipe([](ImageRecipe& r) { r.deviceId = "0195"; })),
     {{"Sorry, this is not an ATI 38xx BIOS.ROM file", "Wrong ROM file", kExcl, kOk}},
     kOpenSteps + "msg:Wrong ROM file; Wrong file selected, aborting...; timer"},
    {"WrongFileGerman", opening(recipe([](ImageRecipe& r) { r.deviceId = "1002"; })),
     {{"Die gewählte Datei ist keine kompatible ATI 38xx BIOS Datei", "Keine ROM Datei", kExcl, kOk}}},
    {"NoClockTableEnglish", opening(recipe([](ImageRecipe& r) { r.signatureOffset = std::nullopt; })),
     {{"Sorry, this BIOS.ROM file holds no clock table", "No clock table", kExcl, kOk}}},
    {"NoClockTableGerman", opening(recipe([](ImageRecipe& r) { r.signatureOffset = std::nullopt; })),
     {{"Die gewählte BIOS Datei enthält keine", "Keine Takttabelle", kExcl, kOk}}},
    {"UnreadableEnglish", openGone, {{"The file cannot be read:\r", "Cannot read file", kCrit, kOk}},
     "open?; Opening ROM file...; 0.4s@0; msg:Cannot read file; Wrong file selected, aborting...; timer"},
    {"UnreadableGerman", openGone,
     {{"Die Datei kann nicht gelesen werden:\r", "Datei nicht lesbar", kCrit, kOk}}},
    {"OutOfRangeEnglish", opening(outOfRange()),
     {range("BootUp GPU clock exceeds limit", false, true), range("2D RAM clock below limit", false, false),
      range("3D Low Power RAM clock exceeds limit", false, true), range("3D GPU clock below limit", false, false),
      range("UVD GPU clock below limit", false, false)}},
    {"OutOfRangeGerman", opening(outOfRange()),
     {range("BootUp GPU Takt über Limit", true, true), range("2D RAM Takt unter Limit", true, false),
      range("3D Low Power RAM Takt über Limit", true, true), range("3D GPU Takt unter Limit", true, false),
      range("UVD GPU Takt unter Limit", true, false)}},
    {"X2FirstEnglish", opening(x2(false)),
     {{"You have selected the first BIOS file of your Radeon HD-3870 X².\r" + kX2English,
       "Opening 3870 X² BIOS 1 of 2", kInfo, kOk}},
     kOpenSteps + "msg:Opening 3870 X² BIOS 1 of 2; Getting BIOS info's...; 0.5s@30"},
    {"X2SecondEnglish", opening(x2(true)),
     {{"You have selected the second BIOS file of your Radeon HD-3870 X².\r" + kX2English,
       "Opening 3870 X² BIOS 2 of 2", kInfo, kOk}}},
    {"X2FirstGerman", opening(x2(false)),
     {{"Du hast die erste BIOS Datei deiner Radeon HD-3870 X² geöffnet.\r" + kX2German,
       "Öffne 3870 X² BIOS 1 von 2", kInfo, kOk}}},
    {"X2SecondGerman", opening(x2(true)),
     {{"Du hast die zweite BIOS Datei deiner Radeon HD-3870 X² geöffnet.\r" + kX2German,
       "Öffne 3870 X² BIOS 2 von 2", kInfo, kOk}}},
    {"CutShortEnglish", openCutShort,
     {{"The file is shorter than the image it holds (60000 of 65536 bytes).\r\r"
       "It is probably an incomplete dump, so saving it is not advised.", "Incomplete BIOS file", kExcl, kOk}}},
    {"CutShortGerman", openCutShort,
     {{"Die Datei ist kürzer als das BIOS, das sie enthält (60000 von 65536 Bytes).\r\r"
       "Vermutlich ist sie ein unvollständiger Dump; vom Speichern wird abgeraten.",
       "Unvollständige BIOS Datei", kExcl, kOk}}},
    {"ContradictedEnglish", opening(contradicted()),
     {{"The BIOS's own power table places the clock table elsewhere.\r\r"
       "Saving would rewrite bytes that may not be clocks.", "Clock table not confirmed", kExcl, kOk}}},
    {"ContradictedGerman", opening(contradicted()),
     {{"Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle.\r\r"
       "Beim Speichern würden Bytes überschrieben, die womöglich keine Taktraten sind.",
       "Takttabelle nicht bestätigt", kExcl, kOk}}},
    // Asked before each save, No by default: nothing converted, no dialog, nothing written.
    {"ContradictedSaveNo", openThenSave(contradicted()),
     {{"The BIOS's own power table places the clock table elsewhere, so saving would rewrite "
       "bytes that may not be clocks.\r\rSave anyway?", "Clock table not confirmed", kExcl,
       MessageButtons::YesNoDefaultNo}}, "msg:Clock table not confirmed"},
    // 23,040 bytes: the clock block at 0x5A1C lies past them.
    {"PastOptionRomEnglish", openThenSave(recipe([](ImageRecipe& r) { r.optionRomBlocks = 0x2D; })),
     {{"The save would change the byte at 0x5A1C, past the option ROM's declared length "
       "(23040 bytes).\r\rThere the checksum correction cannot keep the option ROM's own "
       "checksum. The file was not written.", "Cannot save", kCrit, kOk}}},
    {"PastOptionRomGerman", openThenSave(recipe([](ImageRecipe& r) { r.optionRomBlocks = 0x2D; })),
     {{"Das Speichern würde das Byte bei 0x5A1C ändern, das hinter der angegebenen Länge "
       "des Option-ROMs (23040 Bytes) liegt.\r\rDort kann die Checksummenkorrektur die "
       "Prüfsumme des Option-ROMs nicht erhalten. Die Datei wurde nicht geschrieben.",
       "Speichern nicht möglich", kCrit, kOk}}},
    {"ChecksumNoEnglish", openThenSave(farOff()),
     {{"Changed clock range too high!\r\rDo you want to run the classic checksum correction?",
       "Error in checksum correction!", kInfo, MessageButtons::YesNo},
      {"Can't correct checksum. Please try to change the bytes with a HEX-Editor.",
       "CRC correction not possible", kCrit, kOk}}},
    {"ChecksumNoGerman", openThenSave(farOff()),
     {{"Taktänderungen zu groß!\r\rSoll die Checksumme auf klassische Art korrigiert werden?",
       "Fehler in Checksummenberechnung!", kInfo, MessageButtons::YesNo},
      {"Korrektur der Checksumme nicht möglich, bitte per HEX-Editor korrigieren",
       "CRC Korrektur nicht möglich", kCrit, kOk}}},
    {"VCoreEmptyEnglish", vcoreBox(false, 4, ""),
     {{"The 3D Low Power VCore is empty or not a number.\r\r"
       "Please enter a value from 0,9 to 1,327 volts and save again.", "VCore missing", kExcl, kOk}}},
    {"VCoreBrokenGerman", vcoreBox(false, 0, ",,"),
     {{"Die VCore für BootUp ist leer oder keine Zahl.\r\r"
       "Bitte einen Wert von 0,9 bis 1,327 Volt eingeben und erneut speichern.", "VCore fehlt", kExcl, kOk}},
     "msg:VCore fehlt"},
    {"VCoreUvdUnlinked", vcoreBox(true, 3, ""),
     {{"The UVD VCore is empty or not a number.\r\r", "VCore missing", kExcl, kOk}}},
    {"VCoreUvdLinkedIsNotRead", vcoreBox(false, 3, ""), {}, "save?"},
    {"AccessDeniedEnglish", failingWrite(WriteErrorKind::AccessDenied, "Permission denied"),
     {{"File is read only. Can't write to file!", "Access denied", kCrit, kOk}}},
    {"AccessDeniedGerman", failingWrite(WriteErrorKind::AccessDenied, "x"),
     {{"Datei ist schreibgeschützt. Kein Schreiben möglich!", "Zugriff verweigert", kCrit, kOk}}},
    {"WriteFailedGerman", failingWrite(WriteErrorKind::Failed, "x"),
     {{"Die Datei konnte nicht geschrieben werden:\r", "Fehler beim Schreiben", kCrit, kOk}}},
    {"ReadBackMismatch", failingWrite(WriteErrorKind::ReadBackMismatch, "x"),
     {{"The file could not be written:\r", "Write error", kCrit, kOk}}},
};
// clang-format on

TEST_P(Warnings, ShowTheirMessagesInOrder)
{
    const Row& row = GetParam();
    if (row.name.ends_with("German")) switchToGerman();
    row.act(*this);
    if (!row.trace.empty()) {
        EXPECT_TRUE(fake.trace().starts_with(row.trace)) << fake.trace();
    }
    ASSERT_EQ(fake.messages.size(), row.messages.size());
    for (std::size_t i = 0; i < row.messages.size(); ++i) {
        const Msg& want = row.messages[i];
        const Msg& got = fake.messages[i];
        EXPECT_EQ(got.title, want.title);
        EXPECT_EQ(got.text.substr(0, want.text.size()), want.text);
        EXPECT_EQ(got.icon, want.icon);
        EXPECT_EQ(got.buttons, want.buttons);
    }
    EXPECT_FALSE(controller.busy());
}

INSTANTIATE_TEST_SUITE_P(Rows, Warnings, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

using Refusals = Warnings;

TEST_F(Refusals, RefusedFileLeavesTheDocumentAndRemembersItsName)
{
    openImage(ImageRecipe{});
    controller.setSliderValue(0, 800);
    controller.ScrollBar1_Change(0);
    const std::string before = describeWindow(controller.state());
    const Bytes image = controller.image()->fileImage;
    const std::string gone = (dir / "gone.rom").string();
    open(gone);
    EXPECT_EQ(fake.messages.back().text,
              "The file cannot be read:\r" + gone + "\r\rNo such file or directory");
    open(writeBytes(fixtures::buildImage(recipe([](ImageRecipe& r) { r.deviceId = "0195"; })),
                    "bad.rom"));
    EXPECT_EQ(describeWindow(controller.state()), before);
    EXPECT_EQ(controller.image()->fileImage, image);
    controller.ROMOpen_Click();
    EXPECT_EQ(fake.dialogs.back().request.fileName, (dir / "bad.rom").string());
    controller.ROMSave_Click();
    EXPECT_EQ(fake.dialogs.back().request.fileName, (dir / "card_mod.rom").string());

    switchToGerman();
    open(gone);  // the system's reason in German too
    EXPECT_EQ(fake.messages.back().text, "Die Datei kann nicht gelesen werden:\r" + gone +
                                             "\r\rDatei oder Verzeichnis nicht gefunden");
}

TEST_F(Refusals, FailedWriteNamesTheReasonAndLeavesTheControlsDisabled)
{
    failingWrite(WriteErrorKind::Failed, "No space left on device")(*this);
    EXPECT_EQ(fake.messages.at(0).text,
              "The file could not be written:\r" + out() + "\r\rNo space left on device");
    const MainWindowState& s = controller.state();
    EXPECT_EQ(s.statusPanels[kProgressPanel] + " " + std::to_string(s.progressValue),
              "Error writing to file... 90");
    EXPECT_FALSE(s.sliders[0].enabled || s.vcoreBoxes[0].enabled || s.mnuTrouble.enabled);
    EXPECT_TRUE(s.romSave.enabled);  // a later save may succeed
}

TEST_F(Refusals, ContradictedTableIsWrittenOnlyAfterYesAndAskedAgain)
{
    openImage(contradicted());
    fake.yesNoAnswers.push_back(MessageAnswer::Yes);
    save(out());
    EXPECT_TRUE(std::filesystem::exists(out()));
    EXPECT_EQ(controller.state().frameToolTip,
              "The BIOS's own power table places the clock table elsewhere");
    switchToGerman();
    save(out());
    EXPECT_EQ(fake.trace(), "msg:Takttabelle nicht bestätigt");
    EXPECT_EQ(controller.state().frameToolTip,
              "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle");
    openImage(recipe([](ImageRecipe& r) { r.atom = fixtures::AtomTables{}; }));
    EXPECT_EQ(controller.state().frameToolTip,
              "Takttabelle durch die Power-Tabelle des BIOS bestätigt");
}

TEST_F(Refusals, ChecksumYesCorrectsAndClampedClocksAreShown)
{
    const std::string opened = openImage(farOff());
    fake.yesNoAnswers.push_back(MessageAnswer::Yes);
    save(out());
    EXPECT_EQ(controller.state().statusPanels[kChecksumPanel],
              "Checksum-16: " + SumBytes(fixtures::readFile(opened)) + " (Corrected)");

    openImage(outOfRange());
    const MainWindowState& s = controller.state();
    EXPECT_EQ(std::to_string(s.sliders[0].value) + " " + std::to_string(s.sliders[3].value) + " " +
                  std::to_string(s.sliders[8].value) + " " + std::to_string(s.sliders[6].value),
              "1200 400 1200 300");
}

TEST_F(Refusals, MemoryPromptAndCardsDecideWhatIsShown)
{
    const ImageRecipe noSize = recipe([](ImageRecipe& r) { r.memoryText = ""; });
    fake.memoryAnswers = {MemoryAnswer::MB256, MemoryAnswer::MB512, MemoryAnswer::Closed};
    std::string lines;
    for (int i = 0; i < 3; ++i) {
        fake.clearRecords();
        openImage(noSize);
        lines += controller.state().infoValues[2] + "|";
    }
    EXPECT_EQ(lines, "ATI HD3870 - 256MB GDDR3|ATI HD3870 - 512MB GDDR3|ATI HD3870 - 512MB GDDR3|");
    EXPECT_NE(fake.trace().find("0.5s@30; memory?; Showing BIOS info's..."), std::string::npos);
    EXPECT_EQ(fake.memoryPrompts.at(0).question,
              "Please select the right amount of RAM of your ATI 38xx.\r"
              "This is very important for the correct operation of this tool!!!");
    switchToGerman();
    openImage(noSize);
    const MemoryPromptTexts& de = fake.memoryPrompts.at(0);
    EXPECT_EQ(de.caption + "|" + de.button256 + "|" + de.button512,
              " GDDR-Größe nicht gefunden|256 MB|512 MB");

    for (const auto& [id, memory, line, picture] :
         std::vector<std::tuple<std::string, std::string, std::string, CardPicture>>{
             {"9505", "GDDR3 256MB", "ATI HD3850 - 256MB GDDR3", CardPicture::HD3850},
             {"9505", "256MB 512MB", "ATI HD3850 - 256MB GDDR3", CardPicture::HD3850},
             {"9501", "GDDR4 256MB", "ATI HD3870 - 512MB GDDR4", CardPicture::HD3870},
             {"950F", "GDDR3 512MB", "ATI HD3870 X² - 512MB GDDR3", CardPicture::HD3870X2}}) {
        openImage(recipe([&](ImageRecipe& r) {
            r.deviceId = id;
            r.memoryText = memory;
        }));
        EXPECT_EQ(controller.state().infoValues[2], line);
        EXPECT_EQ(controller.state().picture, picture) << line;
    }
}

TEST(SystemReason, CommonFailuresAreWordedInBothLanguages)
{
    const std::tuple<int, const char*, const char*> cases[] = {
        {ENOENT, "Datei oder Verzeichnis nicht gefunden", "No such file or directory"},
        {EACCES, "Keine Berechtigung", "Permission denied"},
        {EPERM, "Keine Berechtigung", "Permission denied"},
        {EISDIR, "Ist ein Verzeichnis", "Is a directory"},
        {ENOSPC, "Kein freier Speicherplatz auf dem Gerät", "No space left on device"},
        {EROFS, "Dateisystem ist nur lesbar", "Read-only file system"},
        {EFBIG, "Datei zu groß", "File too large"},
        {ENAMETOOLONG, "Dateiname zu lang", "File name too long"},
        {EIO, "system text", "system text"},  // anything else keeps the system's words
    };
    for (const auto& [error, german, english] : cases) {
        const WriteError write{WriteErrorKind::Failed, "system text", error};
        const FileError read{FileErrorKind::ReadFailed, "system text", error};
        EXPECT_EQ(writeErrorReason(write, UiLanguage::German), german);
        EXPECT_EQ(writeErrorReason(write, UiLanguage::English), english);
        EXPECT_EQ(fileErrorReason(read, UiLanguage::German), german);
    }
    const FileError device{FileErrorKind::NotAFile, "Not a regular file", 0};
    EXPECT_EQ(fileErrorReason(device, UiLanguage::German), "Keine reguläre Datei");
}

}  // namespace
}  // namespace clockvane::app::testing
