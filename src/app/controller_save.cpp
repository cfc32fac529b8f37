// The save sequence: the edited values go back into the clock block, the image sum is brought
// back to the sum of the file as opened, and the result is written under a new name. Each
// stage shows its status text and pauses so the user can follow it.

#include "app/app_info.h"
#include "app/main_controller.h"
#include "app/texts.h"
#include "checksum/correction.h"
#include "checksum/save_pipeline.h"
#include "checksum/sums.h"
#include "clocks/voltage_text.h"
#include "writeback/encode.h"

namespace clockvane::app {

void MainController::ROMSave_Click()
{
    if (busy_ || !document_ || !state_.romSave.enabled) return;
    {
        SequenceGuard guard(busy_);
        // Every box holds a valid value, or is empty, before anything is converted.
        for (std::size_t box = 0; box < kVcoreBoxCount; ++box) CmbVCore_LostFocus(box);
        if (const auto box = firstUnreadableVcoreBox()) {
            refuseSaveForBox(*box);
        } else {
            const FileDialogRequest request{state_.saveDialogTitle, std::string(kRomFileFilter),
                                            defaultSaveName(document_->path), kSaveDialogFlags};
            if (const auto path = platform_.showSaveDialog(request)) ModTaktRatenErmittlung(*path);
        }
    }
    platform_.stateChanged();
}

// A box the save reads (the UVD box only while unlinked) that still holds no number after
// the validation: an empty box, or one such as ",,".
std::optional<std::size_t> MainController::firstUnreadableVcoreBox() const
{
    for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
        if (!saveReadsBox(box, uvdLinked())) continue;
        if (!EncodeVcore(state_.vcoreBoxes[box].text, decimalSeparator())) return box;
    }
    return std::nullopt;
}

void MainController::refuseSaveForBox(std::size_t box)
{
    const std::string text = texts::vcoreMissingText(
        texts::kVcoreBoxStates[box], formatVolts(kVcoreMinVolts, decimalSeparator()),
        formatVolts(kVcoreMaxVolts, decimalSeparator()), language_);
    showMessage(text, texts::kVcoreMissingTitle.in(language_), MessageIcon::Exclamation);
}

// What the save reads from the controls, at the moment it reads them.
SaveControls MainController::saveControls() const
{
    SaveControls controls;
    for (std::size_t i = 0; i < kSliderCount; ++i) controls.sliders[i] = state_.sliders[i].value;
    for (std::size_t k = 0; k < kVcoreBoxCount; ++k)
        controls.vcoreTexts[k] = state_.vcoreBoxes[k].text;
    controls.uvdLinked = uvdLinked();
    controls.decimalSeparator = decimalSeparator();
    return controls;
}

void MainController::ModTaktRatenErmittlung(const std::string& path)
{
    disableEditingForSave();
    setStatus(texts::kStatusConvertingClocks.in(language_));
    pause(0.5);
    if (!writeBackStage()) return;
    checksumStage();
    fileWritingStage(path);
}

// Nothing the save reads can change while it runs.
void MainController::disableEditingForSave()
{
    state_.mnuTrouble.enabled = false;
    for (SliderState& slider : state_.sliders) slider.enabled = false;
    for (VcoreBoxState& box : state_.vcoreBoxes) box.enabled = false;
    setProgress(10);
    state_.progressDisplay = true;
}

// Clocks, then voltages, into the working copy of the clock table.
bool MainController::writeBackStage()
{
    ClockSet& clocks = document_->clocks;
    writeBackClocks(clocks, saveControls());
    setProgress(20);

    setStatus(texts::kStatusConvertingVcores.in(language_));
    pause(0.3);
    setProgress(30);
    pause(0.1);
    setProgress(40);
    pause(0.1);
    // The boxes were checked before the save started and are disabled since; should one hold
    // no number all the same, the save stops here with the controls given back.
    if (const auto box = writeBackVcores(clocks, saveControls())) {
        refuseSaveForBox(*box);
        enableEditingAfterSave();
        platform_.startTimer1();
        return false;
    }
    return true;
}

// Balances the image sum against the file as opened: first through the compensation bytes,
// then, if the user agrees, through the classic area before the version text.
void MainController::checksumStage()
{
    RomImage& image = document_->image;
    ClockSet& clocks = document_->clocks;

    setStatus(texts::kStatusSaveChecksum.in(language_));
    setProgress(50);
    pause(0.2);
    setProgress(60);
    pause(0.2);

    bool corrected = CorrectCRC(clocks);
    bool classicChosen = false;
    if (!corrected) {
        classicChosen =
            showMessage(texts::kChecksumQuestionText.in(language_),
                        texts::kChecksumQuestionTitle.in(language_), MessageIcon::Information,
                        MessageButtons::YesNo) == MessageAnswer::Yes;
    }
    setProgress(70);
    pause(0.2);

    assembleOutputImage(image, clocks);
    setProgress(80);
    setStatus(texts::kStatusSaveChecksum.in(language_));
    pause(0.3);

    if (classicChosen) corrected = ChecksummenKorrekturFinal(image, document_->loadedSum);
    if (!corrected) {
        showMessage(texts::kChecksumFailedText.in(language_),
                    texts::kChecksumFailedTitle.in(language_), MessageIcon::Critical);
    }
    const texts::Bilingual& suffix =
        corrected ? texts::kSuffixCorrected : texts::kSuffixNotCorrected;
    state_.statusPanels[1] =
        std::string(texts::kChecksumPrefix) + SumBytes(image.outputImage) + suffix.in(language_);
}

void MainController::fileWritingStage(const std::string& path)
{
    setProgress(90);
    setStatus(texts::kStatusWriting.in(language_));
    pause(0.5);

    if (const auto error = platform_.writeFile(path, bytesToWrite(document_->image))) {
        reportWriteFailure(*error, path);
        return;
    }
    setProgress(100);
    setStatus(texts::kStatusDone.in(language_));
    platform_.startTimer1();
    enableEditingAfterSave();
}

// The file on disk is left as it was (the write replaces it only when complete); the editing
// controls stay disabled until a later save succeeds or a file is opened.
void MainController::reportWriteFailure(const WriteError& error, const std::string& path)
{
    if (error.kind == WriteErrorKind::AccessDenied) {
        showMessage(texts::kAccessDeniedText.in(language_), texts::kAccessDeniedTitle.in(language_),
                    MessageIcon::Critical);
    } else {
        showMessage(texts::kWriteFailedText.in(language_) + "\r" + path + "\r\r" +
                        texts::writeErrorReason(error, language_),
                    texts::kWriteFailedTitle.in(language_), MessageIcon::Critical);
    }
    setStatus(texts::kStatusWriteFailed.in(language_));
    platform_.startTimer1();
}

void MainController::enableEditingAfterSave()
{
    state_.mnuTrouble.enabled = true;
    for (SliderState& slider : state_.sliders) slider.enabled = true;
    for (VcoreBoxState& box : state_.vcoreBoxes) box.enabled = true;
    if (uvdLinked()) {
        state_.sliders[kUvdGpuSlider].enabled = false;
        state_.sliders[kUvdRamSlider].enabled = false;
        state_.vcoreBoxes[kUvdBox].text.clear();
        state_.vcoreBoxes[kUvdBox].enabled = false;
    }
}

}  // namespace clockvane::app
