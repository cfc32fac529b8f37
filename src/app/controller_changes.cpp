// Edits are never lost unasked: the controls as last opened or written are kept, and closing
// the window or opening another file while the controls differ from them asks first, with No
// as the default. Revert puts the values as opened back. Status panel 1 names the open file.

#include <cmath>
#include <filesystem>

#include "app/main_controller.h"
#include "layout/voltage_text.h"
#include "text/printable.h"
#include "text/texts.h"

namespace clockvane::app {
namespace {

bool isUvdSlider(std::size_t index) { return index == kUvdGpuSlider || index == kUvdRamSlider; }

// Two box texts mean the same voltage ("1,2" and "1,20"), or are the same text.
bool sameVoltage(const std::string& a, const std::string& b, char separator)
{
    const auto voltsA = parseVolts(a, separator);
    const auto voltsB = parseVolts(b, separator);
    if (voltsA && voltsB) return std::lround(*voltsA * 1000.0) == std::lround(*voltsB * 1000.0);
    return a == b;
}

// Whether a save would write the same values: the UVD sliders and box count only while the
// UVD state has values of its own.
bool sameValues(const SaveControls& a, const SaveControls& b)
{
    if (a.uvdLinked != b.uvdLinked) return false;
    for (std::size_t i = 0; i < kSliderCount; ++i) {
        if (a.uvdLinked && isUvdSlider(i)) continue;
        if (a.sliders[i] != b.sliders[i]) return false;
    }
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k) {
        if (!saveReadsBox(k, a.uvdLinked)) continue;
        if (!sameVoltage(a.vcoreTexts[k], b.vcoreTexts[k], a.decimalSeparator)) return false;
    }
    return true;
}

// The last part of a path, as its own bytes; shown escaped where they are not text.
std::string fileNameOf(const std::string& path)
{
    return printableText(std::filesystem::path(path).filename().string());
}

}  // namespace

bool MainController::hasUnsavedChanges() const
{
    return document_ && !sameValues(saveControls(), controlsKept_);
}

// True when nothing would be lost, or the user said to discard it.
bool MainController::mayDiscardChanges()
{
    if (!hasUnsavedChanges()) return true;
    return showMessage(texts::kDiscardText.in(language_), texts::kDiscardTitle.in(language_),
                       MessageIcon::Exclamation,
                       MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes;
}

bool MainController::Form_QueryUnload()
{
    if (unloaded_) return true;
    return mayDiscardChanges();
}

// The end of an open: these values are what Revert restores and what counts as unchanged.
void MainController::keepControlsAsOpened()
{
    controlsAsOpened_ = saveControls();
    uvdVcoreAsOpened_ = uvdVcoreKept_;
    keepControlsAsSaved();
}

void MainController::keepControlsAsSaved()
{
    controlsKept_ = saveControls();
    noteControlsChanged();
}

void MainController::noteControlsChanged()
{
    // Usable, like the troubleshooting menu, only while the controls can be edited.
    state_.romRevert.enabled =
        document_ && state_.mnuTrouble.enabled && !sameValues(saveControls(), controlsAsOpened_);
}

void MainController::ROMRevert_Click()
{
    if (busy_ || !document_ || !state_.romRevert.enabled) return;
    const SaveControls& opened = controlsAsOpened_;
    state_.chkUvd.checked = opened.uvdLinked;
    uvdVcoreKept_ = uvdVcoreAsOpened_;
    for (std::size_t i = 0; i < kSliderCount; ++i) {
        state_.sliders[i].value = opened.sliders[i];
        state_.clockLabels[i].background = LabelColour::ButtonFace;
        state_.clockLabels[i].foreground = LabelColour::ButtonText;
    }
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k)
        state_.vcoreBoxes[k].text = opened.vcoreTexts[k];
    for (std::size_t i = 0; i < kSliderCount; ++i) refreshClockLabel(i);
    setEditingControlsEnabled(true);
    applyUvdLinkState();
    noteControlsChanged();
    platform_.stateChanged();
}

void MainController::showOpenFileNames()
{
    std::string names = document_ ? fileNameOf(document_->path) : std::string();
    if (x2Second_) names += " + " + fileNameOf(x2Second_->path);
    state_.statusPanels[kFileNamePanel] = names;
}

}  // namespace clockvane::app
