// The window's shell: its design state, start-up and shut-down, the status reset timer, the
// language switch and the About window, plus the small steps every sequence shares.

#include <algorithm>
#include <cctype>

#include "app/app_info.h"
#include "app/main_controller.h"
#include "bytes/ascii.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"
#include "text/texts.h"

namespace clockvane::app {
namespace {

// The stored language is the text of a Boolean; only "True" (in any case) means German.
bool settingSaysGerman(const std::optional<std::string>& value)
{
    return value && equalsIgnoringAsciiCase(*value, "true");
}

}  // namespace

MainController::MainController(Platform& platform) : platform_(platform) { setDesignState(); }

// The window as it stands before any code runs: English captions, nothing loaded, the
// editing controls empty and disabled, the UVD clocks linked.
void MainController::setDesignState()
{
    const UiLanguage english = UiLanguage::English;
    for (std::size_t i = 0; i < kSliderCount; ++i) {
        const SliderRange range = sliderRange(i);
        state_.sliders[i] = {isGpuSlider(i) ? kGpuDesignValue : kRamDesignValue, range.lower,
                             range.upper, false};
        state_.clockLabels[i] = {};
    }
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k) {
        state_.vcoreBoxes[k] = {};
        state_.vcoreBoxes[k].toolTip = std::string(texts::namesOfBox(k).vcoreToolTip);
    }

    state_.frameCaption = std::string(texts::kFrameCaption);
    state_.infoCaptions = {std::string(texts::kVersionCaption), texts::kDateCaption.in(english),
                           std::string(texts::kCardCaption)};
    state_.infoValues = {"", "", "", texts::kHintOpen.in(english), texts::kHintDrop.in(english)};
    state_.versionForeground = LabelColour::LightGrey;
    state_.hintsVisible = true;
    state_.picture = CardPicture::Ati;
    state_.linkLinesVisible = state_.linkedLabelVisible = false;
    state_.linkedCaption = std::string(texts::kLinkedCaption);

    state_.mnuFile = {texts::kMenuFile.in(english), true, false};
    state_.romOpen = {texts::kMenuOpen.in(english), true, false};
    state_.romSave = {texts::kMenuSave.in(english), false, false};
    state_.exitProgram = {texts::kMenuExit.in(english), true, false};
    state_.setLang = {texts::kMenuLanguage.in(english), true, false};
    state_.setLangDeutsch = {std::string(texts::kMenuDeutsch), true, false};
    state_.setLangEnglish = {std::string(texts::kMenuEnglish), true, true};
    state_.mnuTrouble = {texts::kMenuTrouble.in(english), false, false};
    state_.chkUvd = {texts::kMenuUvd.in(english), true, true};
    state_.about = {std::string(texts::kMenuAbout), true, false};

    state_.openDialogTitle = texts::kOpenDialogTitle.in(english);
    state_.saveDialogTitle = texts::kSaveDialogTitle.in(english);
    state_.statusPanels = {};
    state_.progressValue = 0;
    state_.progressDisplay = false;
    setAccessibleTexts(english);
}

// Texts beyond the window's own captions: the names a screen reader gives the sliders and
// boxes, and the tool tips of the warning bands. They follow the language like the captions.
void MainController::setAccessibleTexts(UiLanguage language)
{
    for (std::size_t i = 0; i < kSliderCount; ++i)
        state_.sliders[i].accessibleName = texts::sliderName(i, language);
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k)
        state_.vcoreBoxes[k].accessibleName = texts::vcoreBoxName(k, language);
    state_.yellowBandToolTip = texts::kYellowBandToolTip.in(language);
    state_.redBandToolTip = texts::kRedBandToolTip.in(language);
}

void MainController::setStatus(const std::string& text)
{
    state_.statusPanels[kProgressPanel] = text;
    platform_.stateChanged();
}

void MainController::setProgress(int value) { state_.progressValue = value; }

// Shows the state first, so the text the wait is for can be read while it lasts.
void MainController::pause(double seconds)
{
    platform_.stateChanged();
    platform_.waitSeconds(seconds);
}

MessageAnswer MainController::showMessage(const std::string& text, const std::string& title,
                                          MessageIcon icon, MessageButtons buttons)
{
    platform_.stateChanged();
    return platform_.messageBox(text, title, icon, buttons);
}

void MainController::Form_Load()
{
    state_.windowTitle = windowTitle();
    // The dialogs' options are fixed (kOpenDialogFlags, kSaveDialogFlags) and passed with
    // every request.
    std::vector<std::string> presets;
    presets.reserve(kVcorePresetsMv.size());
    for (const int millivolts : kVcorePresetsMv) {
        presets.push_back(formatMillivolts(millivolts, decimalSeparator()));
    }
    for (VcoreBoxState& box : state_.vcoreBoxes) box.items = presets;

    const auto stored =
        platform_.readSetting(std::string(kSettingsApplication), std::string(kSettingsSection),
                              std::string(kLanguageSettingKey));
    if (settingSaysGerman(stored)) {
        language_ = UiLanguage::German;
        SetLangDeutsch_Click();
    }
    platform_.stateChanged();
}

void MainController::Form_Unload()
{
    // Closing by the menu unloads the window, and the window's own close runs this too: the
    // setting is stored once.
    if (unloaded_) return;
    unloaded_ = true;
    platform_.writeSetting(std::string(kSettingsApplication), std::string(kSettingsSection),
                           std::string(kLanguageSettingKey),
                           state_.setLangDeutsch.checked ? "True" : "False");
}

void MainController::EXITProgramm_Click()
{
    Form_Unload();
    platform_.closeMainWindow();
}

void MainController::Timer1_Timer()
{
    setProgress(0);
    state_.statusPanels[kProgressPanel] = texts::kStatusReady.in(language_);
    state_.progressDisplay = false;
    platform_.stateChanged();
}

void MainController::SetLangDeutsch_Click() { switchLanguage(UiLanguage::German); }

void MainController::SetLangEnglish_Click() { switchLanguage(UiLanguage::English); }

// The captions the switch owns, in the order the menu handlers set them.
void MainController::switchLanguage(UiLanguage language)
{
    const bool german = language == UiLanguage::German;
    state_.setLangDeutsch.checked = german;
    state_.setLangEnglish.checked = !german;
    state_.mnuFile.caption = texts::kMenuFile.in(language);
    state_.romOpen.caption = texts::kMenuOpen.in(language);
    state_.romSave.caption = texts::kMenuSave.in(language);
    state_.setLang.caption = texts::kMenuLanguage.in(language);
    state_.exitProgram.caption = texts::kMenuExit.in(language);
    state_.mnuTrouble.caption = texts::kMenuTrouble.in(language);
    state_.chkUvd.caption = texts::kMenuUvd.in(language);
    language_ = language;
    state_.infoCaptions[1] = texts::kDateCaption.in(language);
    state_.openDialogTitle = texts::kOpenDialogTitle.in(language);
    state_.saveDialogTitle = texts::kSaveDialogTitle.in(language);
    state_.statusPanels[kProgressPanel] = texts::kStatusReady.in(language);
    state_.infoValues[3] = texts::kHintOpen.in(language);
    state_.infoValues[4] = texts::kHintDrop.in(language);
    showClockTableToolTip();
    setAccessibleTexts(language);
    platform_.stateChanged();
}

void MainController::About_Click()
{
    AboutTexts about;
    about.caption = texts::kAboutCaption.in(language_);
    about.riskNotice = texts::kAboutRiskNotice.in(language_);
    about.usageSteps = texts::kAboutUsageSteps.in(language_);
    about.versionLine = versionLine();
    platform_.showAbout(about);
}

void MainController::Picture1_Click() { platform_.openUrl(std::string(kHomePageUrl)); }

}  // namespace clockvane::app
