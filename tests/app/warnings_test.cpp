// Refusals and warnings the window shows, each row a scripted action with the message boxes it
// must produce in both languages: files refused, clocks out of range, the X2 notice, doubtful
// structure, the checksum question, VCore boxes and failed writes.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
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
using Act = std::function<void(Warnings&)>;
struct Row {
    std::string name;
    Act act;                   // run in English, then again in German
    std::vector<Msg> english;  // a message's text may be cut short: a prefix
    std::vector<Msg> german;
    std::string trace = "";  // how the English trace starts, when checked
};
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class Warnings : public ControllerTest, public ::testing::WithParamInterface<Row> {
public:
    void expectMessages(const std::vector<Msg>& expected)
    {
        ASSERT_EQ(fake.messages.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Msg& got = fake.messages[i];
            EXPECT_EQ(got.title, expected[i].title);
            EXPECT_EQ(got.text.substr(0, expected[i].text.size()), expected[i].text);
            EXPECT_EQ(got.icon, expected[i].icon);
            EXPECT_EQ(got.buttons, expected[i].buttons);
        }
    }
};

ImageRecipe outOfRange()
{
    // The ranges are the core's; here the window reports each clock outside, in column order.
    ImageRecipe r;
    r.entries[0].gpuClock = 120001;  // BootUp GPU, 1200.01 MHz: too high
    r.entries[1].ramClock = 39999;   // 2D RAM: too low
    r.entries[7].gpuClock = 0;       // UVD GPU: too low
    r.entries[4].gpuClock = 0;       // hidden entries are never checked
    return r;
}
// Hidden entries far above the shown ones: too much for the compensation bytes.
ImageRecipe farOff()
{
    ImageRecipe r;
    r.entries[4] = r.entries[5] = {0xFFFFFF, 0xFFFFFF, 0xFFFF};
    return r;
}
const ImageRecipe kContradicted{.atom = fixtures::AtomTables{.clockInfoSize = 20}};
Act opening(ImageRecipe r)
{
    return [r](Warnings& t) { t.openRecipe(r); };
}
Act openThenSave(ImageRecipe r, Act setup = nullptr)
{
    return [r, setup](Warnings& t) {
        t.openRecipe(r);
        if (setup) setup(t);
        t.fake.clearRecords();
        t.save(t.outPath());
    };
}
Act failingWrite(WriteErrorKind kind, const char* reason)
{
    return openThenSave(ImageRecipe{}, [kind, reason](Warnings& t) {
        t.fake.writeHook = [kind, reason](const std::string&, ByteView) {
            return Result<void, WriteError>(WriteError{kind, reason});
        };
    });
}
Act vcoreBox(bool unlink, std::size_t box, const char* text)
{
    return openThenSave(ImageRecipe{}, [=](Warnings& t) {
        if (unlink && t.controller.uvdLinked()) t.controller.Chk_UVD_Click();
        t.controller.setVcoreText(box, text);
    });
}
Msg range(const std::string& line, bool german, bool high)
{
    return german ? Msg{line + "\r\rBitte die Einstellung überprüfen",
                        high ? "Takt zu hoch!" : "Takt zu niedrig!", kExcl, kOk}
                  : Msg{line + "\r\rPlease correct the setting", "Clock read error", kExcl, kOk};
}
Msg x2(const char* first, bool german, const char* title)
{
    // The notice's opening lines; the rest is the same for both files.
    return {std::string(first) +
                (german ? "Für ein erfolgreiches Modding müssen jedoch beide BIOS ROMs GENAU "
                          "GLEICH verändert werden.\r\rSo können beide ROM's auf Festplatte "
                          "gespeichert werden:\r\r"
                        : "To complete the BIOS MOD please open both ROMs and enter FULL EQUAL "
                          "settings.\r\rTo store both ROM's on your harddrive:\r\r"),
            title, kInfo, kOk};
}
Act openingX2(bool second) { return opening({.deviceId = "950F", .x2SecondFile = second}); }
const std::string kOpenSteps = "open?; Opening ROM file...; 0.4s@0; Checking...; 0.2s@25; ";

// clang-format off
const Row kRows[] = {
    {"WrongFile", opening({.deviceId = "0195"}),  // 95 01 swapped
     {{"Sorry, this is not an ATI 38xx BIOS.ROM file", "Wrong ROM file", kExcl, kOk}},
     {{"Die gewählte Datei ist keine kompatible ATI 38xx BIOS Datei", "Keine ROM Datei", kExcl, kOk}},
     kOpenSteps + "msg:Wrong ROM file; Wrong file selected, aborting...; timer"},
    {"NoClockTable", opening({.signatureOffset = std::nullopt}),
     {{"Sorry, this BIOS.ROM file holds no clock table", "No clock table", kExcl, kOk}},
     {{"Die gewählte BIOS Datei enthält keine", "Keine Takttabelle", kExcl, kOk}}},
    {"Unreadable", [](Warnings& t) { t.open((t.dir / "gone.rom").string()); },
     {{"The file cannot be read:\r", "Cannot read file", kCrit, kOk}},
     {{"Die Datei kann nicht gelesen werden:\r", "Datei nicht lesbar", kCrit, kOk}},
     "open?; Opening ROM file...; 0.4s@0; msg:Cannot read file; Wrong file selected, aborting...; timer"},
    {"OutOfRange", opening(outOfRange()),
     {range("BootUp GPU clock exceeds limit", false, true), range("2D RAM clock below limit", false, false),
      range("UVD GPU clock below limit", false, false)},
     {range("BootUp GPU Takt über Limit", true, true), range("2D RAM Takt unter Limit", true, false),
      range("UVD GPU Takt unter Limit", true, false)},
     // while the clocks are shown: after that pause, before the checksum's
     kOpenSteps + "Getting BIOS info's...; 0.5s@30; Showing BIOS info's...; 0.5s@50; "
     "Getting CLOCK info's...; 0.3s@60; Showing CLOCKinfo's...; 0.2s@80; msg:Clock read error"},
    {"X2First", openingX2(false),
     {x2("You have selected the first BIOS file of your Radeon HD-3870 X².\r", false, "Opening 3870 X² BIOS 1 of 2")},
     {x2("Du hast die erste BIOS Datei deiner Radeon HD-3870 X² geöffnet.\r", true, "Öffne 3870 X² BIOS 1 von 2")},
     // once the file has passed the check, before the controls are reset
     kOpenSteps + "msg:Opening 3870 X² BIOS 1 of 2; Getting BIOS info's...; 0.5s@30"},
    {"X2Second", openingX2(true),
     {x2("You have selected the second BIOS file of your Radeon HD-3870 X².\r", false, "Opening 3870 X² BIOS 2 of 2")},
     {x2("Du hast die zweite BIOS Datei deiner Radeon HD-3870 X² geöffnet.\r", true, "Öffne 3870 X² BIOS 2 von 2")}},
    {"CutShort",
     [](Warnings& t) {
         Bytes image = fixtures::buildImage(ImageRecipe{});
         image.resize(60'000);  // of the 65,536 bytes the option ROM declares
         t.open(t.writeBytes(image, "card.rom"));
     },
     {{"The file is shorter than the image it holds (60000 of 65536 bytes).\r\r"
       "It is probably an incomplete dump, so saving it is not advised.", "Incomplete BIOS file", kExcl, kOk}},
     {{"Die Datei ist kürzer als das BIOS, das sie enthält (60000 von 65536 Bytes).", "Unvollständige BIOS Datei", kExcl, kOk}}},
    {"Contradicted", opening(kContradicted),
     {{"The BIOS's own power table places the clock table elsewhere.\r\r"
       "Saving would rewrite bytes that may not be clocks.", "Clock table not confirmed", kExcl, kOk}},
     {{"Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle.\r\r", "Takttabelle nicht bestätigt", kExcl, kOk}}},
    // Asked before each save, No by default: nothing converted, no dialog, nothing written.
    {"ContradictedSave", openThenSave(kContradicted),
     {{"The BIOS's own power table places the clock table elsewhere, so saving would rewrite "
       "bytes that may not be clocks.\r\rSave anyway?", "Clock table not confirmed", kExcl,
       MessageButtons::YesNoDefaultNo}},
     {{"", "Takttabelle nicht bestätigt", kExcl, MessageButtons::YesNoDefaultNo}},
     "msg:Clock table not confirmed"},
    // 23,040 bytes: the clock block at 0x5A1C lies past them.
    {"PastOptionRom", openThenSave({.optionRomBlocks = 0x2D}),
     {{"The save would change the byte at 0x5A1C, past the option ROM's declared length "
       "(23040 bytes).\r\rThere the checksum correction cannot keep the option ROM's own "
       "checksum. The file was not written.", "Cannot save", kCrit, kOk}},
     {{"Das Speichern würde das Byte bei 0x5A1C ändern, das hinter der angegebenen Länge "
       "des Option-ROMs (23040 Bytes) liegt.\r\r", "Speichern nicht möglich", kCrit, kOk}}},
    // Another program re-dumped the opened file: asked before writing over it, No by default.
    {"ChangedOnDisk",
     [](Warnings& t) {
         const std::string opened = t.openRecipe(ImageRecipe{});
         fixtures::writeFile(opened, fixtures::buildImage({.deviceId = "9505"}));
         t.fake.clearRecords();
         t.save(opened);
     },
     {{"Since it was opened, the file has been changed by another program:\r", "File changed on disk",
       kExcl, MessageButtons::YesNoDefaultNo}},
     {{"Die Datei wurde seit dem Öffnen von einem anderen Programm geändert:\r", "Datei wurde geändert",
       kExcl, MessageButtons::YesNoDefaultNo}},
     "save?; Converting CLOCK values...; 0.5s@10; Converting VCore values...; 0.3s@20; 0.1s@30; "
     "0.1s@40; Calculating Checksum...; 0.2s@50; 0.2s@60; 0.2s@70; 0.3s@80; Saving ROM file...; "
     "0.5s@90; msg:File changed on disk; Not saved...; timer"},
    {"ChecksumNo", openThenSave(farOff()),
     {{"Changed clock range too high!\r\rDo you want to run the classic checksum correction?",
       "Error in checksum correction!", kInfo, MessageButtons::YesNo},
      {"Can't correct checksum. Please try to change the bytes with a HEX-Editor.",
       "CRC correction not possible", kCrit, kOk}},
     {{"Taktänderungen zu groß!\r\rSoll die Checksumme auf klassische Art korrigiert werden?",
       "Fehler in Checksummenberechnung!", kInfo, MessageButtons::YesNo},
      {"Korrektur der Checksumme nicht möglich, bitte per HEX-Editor korrigieren",
       "CRC Korrektur nicht möglich", kCrit, kOk}},
     "save?; Converting CLOCK values...; 0.5s@10; Converting VCore values...; 0.3s@20; 0.1s@30; "
     "0.1s@40; Calculating Checksum...; 0.2s@50; 0.2s@60; msg:Error in checksum correction!; 0.2s@70"},
    {"VCoreEmpty", vcoreBox(false, 4, ""),
     {{"The 3D Low Power VCore is empty or not a number.\r\r"
       "Please enter a value from 0,9 to 1,327 volts and save again.", "VCore missing", kExcl, kOk}},
     {{"Die VCore für 3D Low Power ist leer oder keine Zahl.\r\r"
       "Bitte einen Wert von 0,9 bis 1,327 Volt eingeben und erneut speichern.", "VCore fehlt", kExcl, kOk}},
     "msg:VCore missing"},
    {"VCoreUvdUnlinked", vcoreBox(true, 3, ""),
     {{"The UVD VCore is empty or not a number.\r\r", "VCore missing", kExcl, kOk}},
     {{"Die VCore für UVD ist leer oder keine Zahl.\r\r", "VCore fehlt", kExcl, kOk}}},
    {"VCoreUvdLinkedIsNotRead", vcoreBox(false, 3, ""), {}, {}, "save?"},
    {"AccessDenied", failingWrite(WriteErrorKind::AccessDenied, "Permission denied"),
     {{"File is read only. Can't write to file!", "Access denied", kCrit, kOk}},
     {{"Datei ist schreibgeschützt. Kein Schreiben möglich!", "Zugriff verweigert", kCrit, kOk}}},
    {"Locked", failingWrite(WriteErrorKind::Locked, "x"),
     {{"The file is locked by another program.\rPlease save again later or choose another name.",
       "File locked", kCrit, kOk}},
     {{"Die Datei ist von einem anderen Programm gesperrt.\r"
       "Bitte später erneut speichern oder einen anderen Namen wählen.", "Datei gesperrt", kCrit, kOk}}},
    {"ReadBackMismatch", failingWrite(WriteErrorKind::ReadBackMismatch, "x"),
     {{"The file could not be written:\r", "Write error", kCrit, kOk}},
     {{"Die Datei konnte nicht geschrieben werden:\r", "Fehler beim Schreiben", kCrit, kOk}}},
};
// clang-format on

TEST_P(Warnings, ShowTheirMessagesInOrderInBothLanguages)
{
    const Row& row = GetParam();
    row.act(*this);
    EXPECT_TRUE(fake.trace().starts_with(row.trace)) << fake.trace();
    expectMessages(row.english);
    EXPECT_FALSE(controller.busy());
    switchToGerman();
    row.act(*this);
    expectMessages(row.german);
}

INSTANTIATE_TEST_SUITE_P(Rows, Warnings, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

using Refusals = Warnings;

// A refused file - gone (by a name that is not UTF-8, shown escaped), of another card - shows
// its box and leaves window and document as they were. The open dialog then
// proposes the refused name, the save dialog the kept document's.
TEST_F(Refusals, RefusedFileLeavesTheDocumentAndRemembersItsName)
{
    openRecipe({.deviceId = "9505"});
    moveSlider(0, 800);
    const std::string before = describeWindow(controller.state());
    const Bytes image = controller.image()->fileImage;
    const ClockEntries asRead = controller.clocks()->asRead;
    const std::tuple<std::string, const char*, std::string> rows[] = {
        {(dir / "gon\xE9.rom").string(), "Cannot read file",
         "The file cannot be read:\r" + dir.string() +
             "/gon\\xE9.rom\r\rNo such file or directory"},
        {writeImage({.deviceId = "0195"}, "bad.rom"), "Wrong ROM file", ""}};
    for (const auto& [path, title, text] : rows) {
        fake.clearRecords();
        fake.yesNoAnswers = {MessageAnswer::Yes};  // the edit is given up for the new file
        open(path);
        ASSERT_EQ(fake.messages.size(), 2u) << path;
        EXPECT_EQ(fake.messages[0].title, "Unsaved changes");
        EXPECT_EQ(fake.messages[1].title, title);
        if (!text.empty()) {
            EXPECT_EQ(fake.messages[1].text, text);
        }
        EXPECT_EQ(describeWindow(controller.state()), before);
        EXPECT_EQ(controller.image()->fileImage, image);
        EXPECT_EQ(controller.clocks()->asRead, asRead);
        controller.ROMOpen_Click();
        EXPECT_EQ(fake.dialogs.back().fileName, path);
    }
    controller.ROMSave_Click();
    EXPECT_EQ(fake.dialogs.back().fileName, (dir / "card_mod.rom").string());
}

// No file holds the sum the save computed either: the checksum panel keeps the opened file's.
TEST_F(Refusals, FailedWriteNamesTheReasonAndLeavesTheControlsDisabled)
{
    failingWrite(WriteErrorKind::Failed, "No space left on device")(*this);
    EXPECT_EQ(fake.messages.at(0).text,
              "The file could not be written:\r" + outPath() + "\r\rNo space left on device");
    const MainWindowState& s = controller.state();
    EXPECT_EQ(s.statusPanels[kProgressPanel] + " " + std::to_string(s.progressValue),
              "Error writing to file... 90");
    EXPECT_EQ(s.statusPanels[kChecksumPanel],
              "Checksum-16: " + SumBytes(fixtures::buildImage(ImageRecipe{})));
    EXPECT_FALSE(s.sliders[0].enabled || s.vcoreBoxes[0].enabled || s.mnuTrouble.enabled);
    EXPECT_TRUE(s.romSave.enabled);  // a later save may succeed
}

TEST_F(Refusals, ContradictedTableIsWrittenOnlyAfterYesAndAskedAgain)
{
    openRecipe(kContradicted);
    fake.yesNoAnswers.push_back(MessageAnswer::Yes);
    save(outPath());
    EXPECT_TRUE(std::filesystem::exists(outPath()));
    EXPECT_EQ(controller.state().frameToolTip,
              "The BIOS's own power table places the clock table elsewhere");
    switchToGerman();
    EXPECT_EQ(controller.state().frameToolTip,
              "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle");
    openRecipe({.atom = fixtures::AtomTables{}});
    EXPECT_EQ(controller.state().frameToolTip,
              "Takttabelle durch die Power-Tabelle des BIOS bestätigt");
}

TEST_F(Refusals, ClocksOutOfRangeAreClampedToTheirSliders)
{
    openRecipe(outOfRange());
    EXPECT_EQ(controller.state().sliders[6].value, 300);  // UVD GPU at 0 MHz
}

// Before a save writes over the file that was opened - by any name that leads to it - a change
// by another program since the open is asked about: a new size, a new modification time, or
// other bytes under the old time. A save not written leaves the checksum panel as it was.
TEST_F(Refusals, SavingOverTheOpenedFileAsksOnlyWhenItChanged)
{
    enum class Change { None, Bytes, Time };
    enum class Target { Opened, HardLink, Other };
    struct Case {
        const char* name;
        Change change;
        Target target;
        MessageAnswer answer;
        bool asked;
    };
    const Case cases[] = {
        {"unchanged", Change::None, Target::Opened, MessageAnswer::No, false},
        {"new bytes, old time", Change::Bytes, Target::Opened, MessageAnswer::No, true},
        {"new bytes, agreed", Change::Bytes, Target::Opened, MessageAnswer::Yes, true},
        {"touched", Change::Time, Target::Opened, MessageAnswer::No, true},
        {"by a hard link", Change::Time, Target::HardLink, MessageAnswer::No, true},
        {"another file", Change::Bytes, Target::Other, MessageAnswer::No, false},
    };
    const Bytes redump = fixtures::buildImage({.deviceId = "9505"});
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir / "link.rom");
        const std::string opened = openRecipe(ImageRecipe{});
        const auto openedTime = std::filesystem::last_write_time(opened);
        if (c.change == Change::Bytes) {
            fixtures::writeFile(opened, redump);  // as long as the image opened
            std::filesystem::last_write_time(opened, openedTime);
        } else if (c.change == Change::Time) {
            std::filesystem::last_write_time(opened, openedTime + std::chrono::seconds(1));
        }
        std::string target = opened;
        if (c.target == Target::HardLink) {
            target = (dir / "link.rom").string();
            std::filesystem::create_hard_link(opened, target);
        }
        if (c.target == Target::Other) target = outPath();
        const Bytes before = fixtures::readFile(opened);
        const std::string panel = controller.state().statusPanels[kChecksumPanel];
        fake.clearRecords();
        fake.yesNoAnswers = {c.answer};
        save(target);
        EXPECT_EQ(fake.messages.size(), c.asked ? 1u : 0u) << c.name;
        const bool written = !c.asked || c.answer == MessageAnswer::Yes;
        EXPECT_EQ(fake.writtenPaths.size(), written ? 1u : 0u) << c.name;
        EXPECT_EQ(controller.state().statusPanels[kChecksumPanel] == panel, !written) << c.name;
        if (c.target != Target::Other) {
            EXPECT_EQ(fixtures::readFile(opened) != before, written) << c.name;
        }
    }

    // A save over the opened file makes it the file known on disk: the next save does not ask.
    const std::string opened = openRecipe(ImageRecipe{});
    fake.clearRecords();
    for (int save = 0; save < 2; ++save) this->save(opened);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.writtenPaths.size(), 2u);
}

// A save refused before writing leaves the checksum panel as it was, and the status says that
// nothing was saved. (A changed file kept shows its status in its row above.)
TEST_F(Refusals, RefusedSaveClaimsNoSum)
{
    openRecipe({.optionRomBlocks = 0x2D});
    const std::string panel = controller.state().statusPanels[kChecksumPanel];
    moveSlider(0, 800);
    save(outPath());
    const MainWindowState& s = controller.state();
    EXPECT_EQ(s.statusPanels[kChecksumPanel], panel);
    EXPECT_EQ(s.statusPanels[kProgressPanel], "Not saved...");
    EXPECT_TRUE(s.sliders[0].enabled && s.mnuTrouble.enabled);  // the controls come back
    EXPECT_TRUE(fake.writtenPaths.empty());
    switchToGerman();
    save(outPath());
    EXPECT_EQ(s.statusPanels[kProgressPanel], "Nicht gespeichert...");
}

TEST_F(Refusals, MemoryPromptAndCardsDecideWhatIsShown)
{
    const ImageRecipe noSize{.memoryText = ""};
    fake.memoryAnswers = {MemoryAnswer::MB256, MemoryAnswer::MB512, MemoryAnswer::Closed};
    std::string lines;
    for (int i = 0; i < 3; ++i) {
        fake.clearRecords();
        openRecipe(noSize);
        lines += controller.state().info.card + "|";
    }
    EXPECT_EQ(lines, "ATI HD3870 - 256MB GDDR3|ATI HD3870 - 512MB GDDR3|ATI HD3870 - 512MB GDDR3|");
    EXPECT_NE(fake.trace().find("0.5s@30; memory?; Showing BIOS info's..."), std::string::npos);
    EXPECT_EQ(fake.memoryPrompts.at(0).question,
              "Please select the right amount of RAM of your ATI 38xx.\r"
              "This is very important for the correct operation of this tool!!!");
    EXPECT_EQ(fake.memoryPrompts[0].caption + "|" + fake.memoryPrompts[0].button256,
              " Amount of VGA RAM not found|256 MB");

    for (const auto& [id, memory, line, picture] :
         std::vector<std::tuple<std::string, std::string, std::string, CardPicture>>{
             {"9505", "GDDR3 256MB", "ATI HD3850 - 256MB GDDR3", CardPicture::HD3850},
             {"9501", "GDDR4 256MB", "ATI HD3870 - 512MB GDDR4", CardPicture::HD3870},
             {"950F", "GDDR3 512MB", "ATI HD3870 X² - 512MB GDDR3", CardPicture::HD3870X2}}) {
        openRecipe({.deviceId = id, .memoryText = memory});
        EXPECT_EQ(controller.state().info.card, line);
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
        {EIO, "system text", "system text"}};  // anything else keeps the system's words
    for (const auto& [error, german, english] : cases) {
        const WriteError write{WriteErrorKind::Failed, "system text", error};
        const FileError read{FileErrorKind::ReadFailed, "system text", error};
        EXPECT_EQ(writeErrorReason(write, UiLanguage::German), german);
        EXPECT_EQ(writeErrorReason(write, UiLanguage::English), english);
        EXPECT_EQ(fileErrorReason(read, UiLanguage::German), german);
    }
    const WriteError link{WriteErrorKind::UntrustedLink, "system text", 0};
    EXPECT_EQ(writeErrorReason(link, UiLanguage::German),
              "Der Name ist ein Link, den ein anderer Benutzer in einem gemeinsamen Ordner "
              "angelegt hat; ihm wird nicht gefolgt");
    const FileError device{FileErrorKind::NotAFile, "Not a regular file", 0};
    EXPECT_EQ(fileErrorReason(device, UiLanguage::German), "Keine reguläre Datei");
}

}  // namespace
}  // namespace clockvane::app::testing
