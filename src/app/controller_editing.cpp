// The editing controls: the clock sliders with their labels, the VCore boxes with their key
// filter and validation, and the link that makes the UVD state follow 3D High Power.

#include <algorithm>
#include <optional>

#include "app/main_controller.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"
#include "text/texts.h"

namespace clockvane::app {
namespace {

bool isUvdSlider(std::size_t index) { return index == kUvdGpuSlider || index == kUvdRamSlider; }
bool is3DHighSlider(std::size_t index)
{
    return index == k3DHighGpuSlider || index == k3DHighRamSlider;
}

// The UVD slider that mirrors a 3D High Power slider.
std::size_t uvdPartner(std::size_t index)
{
    return index == k3DHighGpuSlider ? kUvdGpuSlider : kUvdRamSlider;
}

void colourByBand(ClockLabelState& label, Band band)
{
    switch (band) {
    case Band::Normal:
        label.background = LabelColour::ButtonFace;
        label.foreground = LabelColour::ButtonText;
        break;
    case Band::Yellow:
        label.background = LabelColour::Yellow;
        label.foreground = LabelColour::ButtonText;
        break;
    case Band::Red:
        label.background = LabelColour::Red;
        label.foreground = LabelColour::HighlightText;
        break;
    }
}

// The preset next to `millivolts` in the direction asked, or nothing past the last one. A text
// between two presets steps to the nearer one on that side, never further.
std::optional<int> neighbouringPreset(double millivolts, bool up)
{
    constexpr double kSame = 1e-6;  // "1,204" read back as 1203.9999... is still 1204 mV
    if (up) {
        for (const int preset : kVcorePresetsMv) {
            if (preset > millivolts + kSame) return preset;
        }
    } else {
        for (auto preset = kVcorePresetsMv.rbegin(); preset != kVcorePresetsMv.rend(); ++preset) {
            if (*preset < millivolts - kSame) return *preset;
        }
    }
    return std::nullopt;
}

}  // namespace

SpokenSlider spokenSlider(const MainWindowState& state, std::size_t slider)
{
    const bool mirrored = state.chkUvd.checked && isUvdSlider(slider);
    const std::size_t shown = !mirrored                 ? slider
                              : slider == kUvdGpuSlider ? k3DHighGpuSlider
                                                        : k3DHighRamSlider;
    SpokenSlider spoken{state.sliders[shown].value, {}};
    switch (state.clockLabels[slider].background) {
    case LabelColour::Yellow: spoken.warning = state.yellowBandToolTip; break;
    case LabelColour::Red: spoken.warning = state.redBandToolTip; break;
    default: break;
    }
    return spoken;
}

void MainController::setSliderValue(std::size_t index, int value)
{
    if (index >= kSliderCount || !state_.sliders[index].enabled) return;
    SliderState& slider = state_.sliders[index];
    slider.value = std::clamp(value, slider.lower, slider.upper);
}

void MainController::ScrollBar1_Change(std::size_t index)
{
    if (index >= kSliderCount) return;
    refreshClockLabel(index);
    platform_.stateChanged();
}

void MainController::ScrollBar1_Scroll(std::size_t index) { ScrollBar1_Change(index); }

// The label under a slider: its value, mirrored to the UVD label while linked, and the
// colour of its warning band. A linked UVD label keeps the grey the link gave it.
void MainController::refreshClockLabel(std::size_t index)
{
    setClockCaptionFromSlider(index);
    const bool linked = uvdLinked();
    if (linked && is3DHighSlider(index)) {
        state_.clockLabels[uvdPartner(index)].caption = state_.clockLabels[index].caption;
    }
    if (linked && isUvdSlider(index)) return;
    colourByBand(state_.clockLabels[index],
                 bandFor(index, state_.sliders[index].value, imageIsGddr4()));
}

void MainController::setClockCaptionFromSlider(std::size_t index)
{
    state_.clockLabels[index].caption = texts::mhzText(state_.sliders[index].value);
}

bool MainController::CmbVCore_KeyPress(std::size_t index, int keyAscii)
{
    if (index >= kVcoreBoxCount) return false;
    return vcoreKeyAccepted(state_.vcoreBoxes[index].text, keyAscii, decimalSeparator());
}

void MainController::setVcoreText(std::size_t index, const std::string& text)
{
    if (index >= kVcoreBoxCount || !state_.vcoreBoxes[index].enabled) return;
    state_.vcoreBoxes[index].text = text;
}

// Up and Down step from what the box says, not from a list position: a box whose text was
// typed or taken from the image has none, and stepping from "none" would jump to the lowest
// preset. An empty box or one without a number is left alone.
void MainController::CmbVCore_Step(std::size_t index, bool up)
{
    if (index >= kVcoreBoxCount || !state_.vcoreBoxes[index].enabled) return;
    VcoreBoxState& box = state_.vcoreBoxes[index];
    const auto volts = parseVolts(box.text, decimalSeparator());
    if (!volts) return;
    if (const auto preset = neighbouringPreset(*volts * 1000.0, up))
        box.text = formatMillivolts(*preset, decimalSeparator());
    platform_.stateChanged();
}

void MainController::CmbVCore_LostFocus(std::size_t index)
{
    if (index >= kVcoreBoxCount) return;
    VcoreBoxState& box = state_.vcoreBoxes[index];
    box.text = validateVcoreText(box.text, decimalSeparator());
    platform_.stateChanged();
}

void MainController::Chk_UVD_Click()
{
    // The item lives under the troubleshooting menu, which is usable only with an image on
    // the controls and no save running.
    if (!state_.mnuTrouble.enabled) return;
    if (uvdLinked()) {
        unlinkUvd();
    } else {
        linkUvd();
    }
    platform_.stateChanged();
}

// The UVD state gets its own clocks and voltage; the user is warned each time.
void MainController::unlinkUvd()
{
    showMessage(texts::kUnlinkText.in(language_), texts::kUnlinkTitle.in(language_),
                MessageIcon::Information);
    state_.chkUvd.checked = false;
    setEditingControlsEnabled(true);
    for (const std::size_t i : {kUvdGpuSlider, kUvdRamSlider}) {
        setClockCaptionFromSlider(i);
        state_.clockLabels[i].foreground = LabelColour::ButtonText;
    }
    refreshClockLabel(kUvdGpuSlider);
    refreshClockLabel(kUvdRamSlider);
    setUvdLinkMarkersVisible(false);
    state_.vcoreBoxes[kUvdBox].text = formatVolts(uvdVcoreKept_, decimalSeparator());
}

// The UVD state follows 3D High Power again; its voltage is kept for a later unlink.
void MainController::linkUvd()
{
    state_.chkUvd.checked = true;
    setEditingControlsEnabled(true);
    state_.clockLabels[kUvdGpuSlider].caption = state_.clockLabels[k3DHighGpuSlider].caption;
    state_.clockLabels[kUvdRamSlider].caption = state_.clockLabels[k3DHighRamSlider].caption;
    for (const std::size_t i : {kUvdGpuSlider, kUvdRamSlider}) {
        state_.clockLabels[i].foreground = LabelColour::LightGrey;
        state_.clockLabels[i].background = LabelColour::ButtonFace;
    }
    setUvdLinkMarkersVisible(true);
    // An empty box or one without a number keeps the voltage kept before.
    VcoreBoxState& box = state_.vcoreBoxes[kUvdBox];
    if (const auto volts = parseVolts(box.text, decimalSeparator())) uvdVcoreKept_ = *volts;
    box.text.clear();
}

// The one rule for which editing controls are usable: all of them while editing is possible,
// except the UVD sliders and box, which only while the UVD state is unlinked.
void MainController::setEditingControlsEnabled(bool editing)
{
    state_.mnuTrouble.enabled = editing;
    for (std::size_t i = 0; i < kSliderCount; ++i)
        state_.sliders[i].enabled = editing && !(isUvdSlider(i) && uvdLinked());
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k)
        state_.vcoreBoxes[k].enabled = editing && !(k == kUvdBox && uvdLinked());
}

void MainController::setUvdLinkMarkersVisible(bool visible)
{
    state_.linkLinesVisible = visible;
    state_.linkedLabelVisible = visible;
}

// The five boxes from the image's voltages, in volts with the user's separator; the UVD
// voltage is kept aside for the link.
void MainController::fillVcoreBoxes()
{
    const ClockEntries& entries = document_->clocks.working;
    for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
        const std::size_t entry = kPowerStates[powerStateOfBox(box)].entry();
        state_.vcoreBoxes[box].text = formatMillivolts(entries[entry].vcore, decimalSeparator());
    }
    const auto uvd = parseVolts(state_.vcoreBoxes[kUvdBox].text, decimalSeparator());
    uvdVcoreKept_ = uvd.value_or(uvdVcoreKept_);
}

// After an image has been read: linked, the UVD controls stay disabled and mirror 3D High
// Power; unlinked, they show the image's own UVD values.
void MainController::applyUvdLinkState()
{
    if (uvdLinked()) {
        state_.linkLinesVisible = true;
        state_.clockLabels[kUvdGpuSlider].caption = state_.clockLabels[k3DHighGpuSlider].caption;
        state_.clockLabels[kUvdRamSlider].caption = state_.clockLabels[k3DHighRamSlider].caption;
        state_.clockLabels[kUvdGpuSlider].foreground = LabelColour::LightGrey;
        state_.clockLabels[kUvdRamSlider].foreground = LabelColour::LightGrey;
        state_.linkedLabelVisible = true;
        state_.vcoreBoxes[kUvdBox].text.clear();
    } else {
        state_.linkLinesVisible = false;
        for (const std::size_t i : {kUvdGpuSlider, kUvdRamSlider}) {
            setClockCaptionFromSlider(i);
            state_.clockLabels[i].foreground = LabelColour::ButtonText;
        }
        state_.linkedLabelVisible = false;
        state_.vcoreBoxes[kUvdBox].text = formatVolts(uvdVcoreKept_, decimalSeparator());
    }
}

}  // namespace clockvane::app
