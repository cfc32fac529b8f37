// What the window does about the image's own structure: a dump cut short and a clock table the
// BIOS's PowerPlay table places elsewhere are warned about on opening, the latter is asked
// about before each save with No as the default, the frame's tool tip tells the check, and a
// save that would change a byte past the option ROM is never written.

#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using fixtures::AtomTables;
using fixtures::ImageRecipe;

ImageRecipe withTables()
{
    ImageRecipe recipe;
    recipe.atom = AtomTables{};
    return recipe;
}

ImageRecipe contradicted()
{
    ImageRecipe recipe = withTables();
    recipe.atom->clockInfoSize = 20;
    return recipe;
}

Bytes cutShort()
{
    Bytes image = fixtures::buildImage(ImageRecipe{});
    image.resize(60'000);  // of the 65,536 bytes the option ROM declares
    return image;
}

const RecordedMessage kContradictedEnglish{
    "The BIOS's own power table places the clock table elsewhere.\r\r"
    "Saving would rewrite bytes that may not be clocks.",
    "Clock table not confirmed", MessageIcon::Exclamation, MessageButtons::Ok};
const RecordedMessage kContradictedGerman{
    "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle.\r\r"
    "Beim Speichern würden Bytes überschrieben, die womöglich keine Taktraten sind.",
    "Takttabelle nicht bestätigt", MessageIcon::Exclamation, MessageButtons::Ok};
const RecordedMessage kCutShortEnglish{
    "The file is shorter than the image it holds (60000 of 65536 bytes).\r\r"
    "It is probably an incomplete dump, so saving it is not advised.",
    "Incomplete BIOS file", MessageIcon::Exclamation, MessageButtons::Ok};
const RecordedMessage kCutShortGerman{
    "Die Datei ist kürzer als das BIOS, das sie enthält (60000 von 65536 Bytes).\r\r"
    "Vermutlich ist sie ein unvollständiger Dump; vom Speichern wird abgeraten.",
    "Unvollständige BIOS Datei", MessageIcon::Exclamation, MessageButtons::Ok};

struct OpenCase {
    std::string name;
    Bytes image;
    bool german;
    std::vector<RecordedMessage> messages;
    std::string toolTip;
};

// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const OpenCase& openCase, std::ostream* out) { *out << openCase.name; }

std::vector<OpenCase> openCases()
{
    const Bytes confirmed = fixtures::buildImage(withTables());
    const Bytes minimal = fixtures::buildImage(ImageRecipe{});
    const Bytes contradiction = fixtures::buildImage(contradicted());
    return {
        {"ConfirmedEnglish",
         confirmed,
         false,
         {},
         "Clock table confirmed by the BIOS's own power table"},
        {"ConfirmedGerman",
         confirmed,
         true,
         {},
         "Takttabelle durch die Power-Tabelle des BIOS bestätigt"},
        {"NotAvailableEnglish",
         minimal,
         false,
         {},
         "The BIOS holds no power table to confirm the clock table with"},
        {"NotAvailableGerman",
         minimal,
         true,
         {},
         "Das BIOS enthält keine Power-Tabelle, mit der sich die Takttabelle bestätigen ließe"},
        {"ContradictedEnglish",
         contradiction,
         false,
         {kContradictedEnglish},
         "The BIOS's own power table places the clock table elsewhere"},
        {"ContradictedGerman",
         contradiction,
         true,
         {kContradictedGerman},
         "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle"},
        {"CutShortEnglish",
         cutShort(),
         false,
         {kCutShortEnglish},
         "The BIOS holds no power table to confirm the clock table with"},
        {"CutShortGerman",
         cutShort(),
         true,
         {kCutShortGerman},
         "Das BIOS enthält keine Power-Tabelle, mit der sich die Takttabelle bestätigen ließe"},
    };
}

class StructureOnOpen : public ControllerTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(StructureOnOpen, WarnsOnlyAboutDoubtfulImagesAndTellsTheCheckInTheToolTip)
{
    const OpenCase& openCase = GetParam();
    if (openCase.german) switchToGerman();
    open(writeBytes(openCase.image, "card.rom"));
    EXPECT_EQ(fake.messages, openCase.messages);
    EXPECT_TRUE(controller.state().romSave.enabled);  // the user may go on
    EXPECT_EQ(controller.state().frameToolTip, openCase.toolTip);
}

INSTANTIATE_TEST_SUITE_P(Images, StructureOnOpen, ::testing::ValuesIn(openCases()),
                         [](const auto& info) { return info.param.name; });

class StructureOnSave : public ControllerTest {};

TEST_F(StructureOnSave, ToolTipFollowsTheLanguageAndIsEmptyBeforeAnyImage)
{
    EXPECT_EQ(controller.state().frameToolTip, "");
    openRecipe(contradicted());
    controller.SetLangDeutsch_Click();
    EXPECT_EQ(controller.state().frameToolTip,
              "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle");
}

TEST_F(StructureOnSave, ContradictedTableIsAskedAboutBeforeEachSaveWithNoAsTheDefault)
{
    openRecipe(contradicted());
    fake.clearRecords();
    const std::string target = (dir / "out.rom").string();

    save(target);  // the question is closed with No
    const RecordedMessage question{
        "The BIOS's own power table places the clock table elsewhere, so saving would rewrite "
        "bytes that may not be clocks.\r\rSave anyway?",
        "Clock table not confirmed", MessageIcon::Exclamation, MessageButtons::YesNoDefaultNo};
    EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{question});
    EXPECT_TRUE(fake.dialogs.empty());  // no save dialog, nothing converted
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(controller.state().sliders[0].enabled);

    fake.clearRecords();
    fake.yesNoAnswers.push_back(MessageAnswer::Yes);
    save(target);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.events.front(), "message:Clock table not confirmed");
    EXPECT_TRUE(std::filesystem::exists(target));

    // The question comes again at the next save.
    fake.clearRecords();
    save(target);
    EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{question});
}

TEST_F(StructureOnSave, ChangePastTheOptionRomIsReportedAndNothingWritten)
{
    ImageRecipe recipe;
    recipe.optionRomBlocks = 0x2D;  // 23,040 bytes: the clock block at 0x5A1C lies past them
    openRecipe(recipe);
    fake.clearRecords();
    const std::string target = (dir / "out.rom").string();
    save(target);

    const RecordedMessage refusal{
        "The save would change the byte at 0x5A1C, past the option ROM's declared length "
        "(23040 bytes).\r\rThere the checksum correction cannot keep the option ROM's own "
        "checksum. The file was not written.",
        "Cannot save", MessageIcon::Critical, MessageButtons::Ok};
    EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{refusal});
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(fake.writtenPaths.empty());
    EXPECT_TRUE(controller.state().sliders[0].enabled);  // the controls come back
    EXPECT_EQ(fake.events.back(), "timer");

    switchToGerman();
    save(target);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Speichern nicht möglich");
    EXPECT_EQ(fake.messages[0].text,
              "Das Speichern würde das Byte bei 0x5A1C ändern, das hinter der angegebenen Länge "
              "des Option-ROMs (23040 Bytes) liegt.\r\rDort kann die Checksummenkorrektur die "
              "Prüfsumme des Option-ROMs nicht erhalten. Die Datei wurde nicht geschrieben.");
}

}  // namespace
}  // namespace clockvane::app::testing
