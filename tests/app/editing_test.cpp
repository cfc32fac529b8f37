// The editing controls: clock labels and their warning bands, the mirrored UVD labels, the
// VCore key filter and validation, and linking and unlinking the UVD state.

#include <gtest/gtest.h>

#include "fixtures/controller_fixture.h"

namespace clockvane::app::testing {
namespace {

using fixtures::ImageRecipe;

class Editing : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        openRecipe(ImageRecipe{});
        fake.clearRecords();
    }

    void moveSlider(std::size_t index, int value)
    {
        controller.setSliderValue(index, value);
        controller.ScrollBar1_Change(index);
    }

    const ClockLabelState& label(std::size_t index) const
    {
        return controller.state().clockLabels[index];
    }
    const std::string& boxText(std::size_t box) const
    {
        return controller.state().vcoreBoxes[box].text;
    }
};

// --- Warning bands at every boundary ----------------------------------------------------------

struct BandCase {
    bool gddr4;
    std::size_t slider;
    int mhz;
    LabelColour background;
    LabelColour foreground;
};

class LabelBand : public ControllerTest, public ::testing::WithParamInterface<BandCase> {};

TEST_P(LabelBand, ColoursTheLabelByTheValue)
{
    ImageRecipe recipe;
    recipe.memoryText = GetParam().gddr4 ? "GDDR4" : "GDDR3 512MB";
    openRecipe(recipe);
    const std::size_t i = GetParam().slider;
    controller.setSliderValue(i, GetParam().mhz);
    controller.ScrollBar1_Scroll(i);  // dragging the thumb shows the same as a change
    const ClockLabelState& label = controller.state().clockLabels[i];
    EXPECT_EQ(label.caption, std::to_string(GetParam().mhz) + " MHz");
    EXPECT_EQ(label.background, GetParam().background);
    EXPECT_EQ(label.foreground, GetParam().foreground);
}

constexpr auto kFace = LabelColour::ButtonFace;
constexpr auto kText = LabelColour::ButtonText;
constexpr auto kYellow = LabelColour::Yellow;
constexpr auto kRed = LabelColour::Red;
constexpr auto kHighlight = LabelColour::HighlightText;

INSTANTIATE_TEST_SUITE_P(
    Boundaries, LabelBand,
    ::testing::Values(
        // GPU sliders, whatever the memory.
        BandCase{false, 0, 850, kFace, kText}, BandCase{false, 2, 851, kYellow, kText},
        BandCase{false, 8, 950, kYellow, kText}, BandCase{true, 4, 951, kRed, kHighlight},
        BandCase{false, 0, 300, kFace, kText}, BandCase{false, 0, 1200, kRed, kHighlight},
        // Memory sliders of a GDDR3 image.
        BandCase{false, 1, 900, kFace, kText}, BandCase{false, 3, 901, kYellow, kText},
        BandCase{false, 9, 1000, kYellow, kText}, BandCase{false, 5, 1001, kRed, kHighlight},
        // Memory sliders of a GDDR4 image.
        BandCase{true, 1, 1000, kFace, kText}, BandCase{true, 3, 1250, kFace, kText},
        BandCase{true, 9, 1251, kYellow, kText}, BandCase{true, 5, 1350, kYellow, kText},
        BandCase{true, 1, 1351, kRed, kHighlight}),
    [](const auto& info) {
        return std::string(info.param.gddr4 ? "Gddr4" : "Gddr3") + "Slider" +
               std::to_string(info.param.slider) + "At" + std::to_string(info.param.mhz);
    });

TEST_F(Editing, SliderValueStaysWithinItsRange)
{
    moveSlider(0, 5000);
    EXPECT_EQ(controller.state().sliders[0].value, 1200);
    moveSlider(1, 10);
    EXPECT_EQ(controller.state().sliders[1].value, 400);
    EXPECT_EQ(label(1).caption, "400 MHz");
}

// --- Mirroring while linked --------------------------------------------------------------------

TEST_F(Editing, HighPowerSlidersMirrorIntoTheGreyUvdLabels)
{
    moveSlider(4, 951);
    EXPECT_EQ(label(4).caption, "951 MHz");
    EXPECT_EQ(label(4).background, LabelColour::Red);
    EXPECT_EQ(label(6).caption, "951 MHz");
    EXPECT_EQ(label(6).foreground, LabelColour::LightGrey);
    EXPECT_EQ(label(6).background, LabelColour::ButtonFace);
    EXPECT_EQ(controller.state().sliders[6].value, 400);

    moveSlider(5, 1333);
    EXPECT_EQ(label(7).caption, "1333 MHz");
    EXPECT_EQ(label(7).foreground, LabelColour::LightGrey);
}

TEST_F(Editing, DisabledUvdSlidersTakeNoValueWhileLinked)
{
    controller.setSliderValue(6, 999);
    controller.ScrollBar1_Change(6);
    EXPECT_EQ(controller.state().sliders[6].value, 400);
    // A change of a linked UVD slider shows its own value but no band colour.
    EXPECT_EQ(label(6).caption, "400 MHz");
    EXPECT_EQ(label(6).foreground, LabelColour::LightGrey);
    EXPECT_EQ(label(6).background, LabelColour::ButtonFace);
}

TEST_F(Editing, UnlinkedSlidersNoLongerMirror)
{
    controller.Chk_UVD_Click();
    moveSlider(4, 900);
    EXPECT_EQ(label(6).caption, "400 MHz");
    moveSlider(6, 951);
    EXPECT_EQ(label(6).caption, "951 MHz");
    EXPECT_EQ(label(6).background, LabelColour::Red);
    EXPECT_EQ(label(6).foreground, LabelColour::HighlightText);
}

// --- The VCore boxes ---------------------------------------------------------------------------

TEST_F(Editing, KeyFilterLooksAtTheBoxText)
{
    struct Case {
        std::string text;
        int key;
        bool admitted;
    };
    const Case cases[] = {{"1", ',', true}, {"1", '.', false}, {"1", 8, true},  {"1", 'a', false},
                          {"1", 13, false}, {"1", '-', false}, {"", '0', true}, {"", ',', false}};
    for (const Case& c : cases) {
        controller.setVcoreText(0, c.text);
        EXPECT_EQ(controller.CmbVCore_KeyPress(0, c.key), c.admitted)
            << "'" << c.text << "' + " << c.key;
    }
}

TEST_F(Editing, TypingIntoAnEmptyBoxNeedsADigitFirst)
{
    controller.setVcoreText(1, "");
    std::string text;
    for (const char key : {',', '1', ',', '2'}) {
        if (controller.CmbVCore_KeyPress(1, key)) {
            text += key;
            controller.setVcoreText(1, text);
        }
    }
    EXPECT_EQ(boxText(1), "1,2");
}

// Under English regional settings the point takes the comma's place everywhere.
class EnglishSettings : public ControllerTest {
protected:
    EnglishSettings() : ControllerTest('.') {}
};

TEST_F(EnglishSettings, BoxesShowFilterAndValidateWithThePoint)
{
    openRecipe(ImageRecipe{});
    EXPECT_EQ(controller.state().vcoreBoxes[0].items.front(), "0.9");
    EXPECT_EQ(controller.state().vcoreBoxes[0].text, "1.204");
    controller.setVcoreText(0, "1");
    EXPECT_TRUE(controller.CmbVCore_KeyPress(0, '.'));
    EXPECT_FALSE(controller.CmbVCore_KeyPress(0, ','));
    controller.setVcoreText(0, "0.5");
    controller.CmbVCore_LostFocus(0);
    EXPECT_EQ(controller.state().vcoreBoxes[0].text, "0.9");
    controller.setVcoreText(0, "1,2");  // not a number here: loses its first character
    controller.CmbVCore_LostFocus(0);
    EXPECT_EQ(controller.state().vcoreBoxes[0].text, ",2");
}

TEST_F(Editing, ValidationClampsAndRepairsTheText)
{
    struct Case {
        std::string typed;
        std::string shown;
    };
    const Case cases[] = {{"0,5", "0,9"}, {"1,4", "1,327"},   {"", ""},       {",1,2", "1,2"},
                          {"0,9", "0,9"}, {"1,327", "1,327"}, {"1,2", "1,2"}, {"5", "1,327"},
                          {",,", ","},    {"1,25", "1,25"}};
    for (const Case& c : cases) {
        controller.setVcoreText(4, c.typed);
        controller.CmbVCore_LostFocus(4);
        EXPECT_EQ(boxText(4), c.shown) << "typed '" << c.typed << "'";
    }
}

// --- Linking and unlinking the UVD state ---------------------------------------------------------

const RecordedMessage kUnlinkWarningEnglish{
    "Warning:\r\rYou are about to change UVD clocks!\r"
    "If you experience problems with your modded BIOS file\r"
    "such as incorrect 2D and 3D clocks, try to deactivate\r"
    "this feature before saving your modded BIOS.",
    "Unlocking advanced feature", MessageIcon::Information, MessageButtons::Ok};

TEST_F(Editing, UnlinkingWarnsAndHandsTheUvdControlsBack)
{
    controller.Chk_UVD_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0], kUnlinkWarningEnglish);

    const MainWindowState& state = controller.state();
    EXPECT_FALSE(controller.uvdLinked());
    EXPECT_FALSE(state.chkUvd.checked);
    EXPECT_TRUE(state.sliders[6].enabled);
    EXPECT_TRUE(state.sliders[7].enabled);
    EXPECT_TRUE(state.vcoreBoxes[3].enabled);
    EXPECT_EQ(label(6).caption, "400 MHz");
    EXPECT_EQ(label(7).caption, "900 MHz");
    EXPECT_EQ(label(6).foreground, LabelColour::ButtonText);
    EXPECT_EQ(label(6).background, LabelColour::ButtonFace);
    EXPECT_FALSE(state.linkLinesVisible);
    EXPECT_FALSE(state.linkedLabelVisible);
    EXPECT_EQ(boxText(3), "1,15");
}

TEST_F(Editing, UnlinkingWarnsInGerman)
{
    controller.SetLangDeutsch_Click();
    controller.Chk_UVD_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Erweiterte Funktion aktivieren");
    EXPECT_EQ(fake.messages[0].text,
              "Warnung:\r\r"
              "Diese Einstellung ermöglicht das Ändern der UVD Taktraten!\r"
              "Falls nach einer Änderung der Werte keine korrekten 2D- oder 3D-\r"
              "Taktraten gesetzt werden, bitte diese Funktion deaktivieren,\r"
              "bevor das gemoddete BIOS gespeichert wird.");
}

TEST_F(Editing, LinkingIsSilentAndKeepsTheUvdVoltage)
{
    controller.Chk_UVD_Click();
    moveSlider(6, 500);
    controller.setVcoreText(3, "1,3");
    controller.Chk_UVD_Click();

    EXPECT_EQ(fake.messages.size(), 1u);  // only the unlink warned
    const MainWindowState& state = controller.state();
    EXPECT_TRUE(controller.uvdLinked());
    EXPECT_FALSE(state.sliders[6].enabled);
    EXPECT_FALSE(state.vcoreBoxes[3].enabled);
    EXPECT_EQ(label(6).caption, "775 MHz");
    EXPECT_EQ(label(7).caption, "1125 MHz");
    EXPECT_EQ(label(6).foreground, LabelColour::LightGrey);
    EXPECT_EQ(label(6).background, LabelColour::ButtonFace);  // no longer the band's colour
    EXPECT_TRUE(state.linkLinesVisible);
    EXPECT_TRUE(state.linkedLabelVisible);
    EXPECT_EQ(boxText(3), "");
    EXPECT_DOUBLE_EQ(controller.uvdVcoreKept(), 1.3);

    controller.Chk_UVD_Click();
    EXPECT_EQ(fake.messages.size(), 2u);  // every unlink warns
    EXPECT_EQ(boxText(3), "1,3");
    EXPECT_EQ(label(6).caption, "500 MHz");
}

TEST_F(Editing, LinkingAnEmptyOrBrokenUvdBoxKeepsTheVoltageBefore)
{
    for (const std::string text : {"", ",,"}) {
        controller.Chk_UVD_Click();
        controller.setVcoreText(3, text);
        controller.Chk_UVD_Click();
        EXPECT_DOUBLE_EQ(controller.uvdVcoreKept(), 1.15) << "'" << text << "'";
        EXPECT_EQ(boxText(3), "");
    }
    controller.Chk_UVD_Click();
    EXPECT_EQ(boxText(3), "1,15");
}

TEST(UvdBeforeAnyImage, MenuItemDoesNothingWhileItsMenuIsDisabled)
{
    FakePlatform fake;
    MainController controller(fake);
    controller.Form_Load();
    controller.Chk_UVD_Click();
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(controller.uvdLinked());
}

}  // namespace
}  // namespace clockvane::app::testing
