// The save sequence: the edited values go back into the clock block, the image sum is brought
// back to the sum of the file as opened, and the result is written under a new name. Each
// stage shows its status text and pauses so the user can follow it.

#include "app/app_info.h"
#include "app/error_reasons.h"
#include "app/main_controller.h"
#include "bytes/sums.h"
#include "edit/save_pipeline.h"
#include "files/save_name.h"
#include "layout/encode.h"
#include "layout/voltage_text.h"
#include "text/texts.h"

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
        } else if (confirmContradictedClockTable()) {
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

namespace {

// The window's view of the core's save: each stage's status text and progress value on the
// screen, each pause a wait that keeps the window alive, the question in a message box.
const texts::Bilingual& statusText(SaveStatus status)
{
    switch (status) {
    case SaveStatus::ConvertingClocks: return texts::kStatusConvertingClocks;
    case SaveStatus::ConvertingVcores: return texts::kStatusConvertingVcores;
    case SaveStatus::Checksum: break;
    }
    return texts::kStatusSaveChecksum;
}

}  // namespace

// The window's view of the core's save: each stage's status text and progress value on the
// screen, each pause a wait that keeps the window alive, the question in a message box.
class MainController::SaveProgress final : public SaveObserver {
public:
    explicit SaveProgress(MainController& window) : window_(window) {}
    void progress(int percent) override { window_.setProgress(percent); }
    void status(SaveStatus status) override
    {
        window_.setStatus(statusText(status).in(window_.language_));
    }
    void pause(double seconds) override { window_.pause(seconds); }
    bool askClassic() override
    {
        const UiLanguage language = window_.language_;
        return window_.showMessage(texts::kChecksumQuestionText.in(language),
                                   texts::kChecksumQuestionTitle.in(language),
                                   MessageIcon::Information,
                                   MessageButtons::YesNo) == MessageAnswer::Yes;
    }

private:
    MainController& window_;
};

void MainController::ModTaktRatenErmittlung(const std::string& path)
{
    disableEditingForSave();
    SaveProgress observer(*this);
    LoadedDocument& document = *document_;
    const auto saved = runSavePipeline(document.image, document.clocks, document.loadedSum,
                                       saveControls(), observer);
    // The boxes were checked before the save started and are disabled since; should one hold
    // no number all the same, the save stops with the document unchanged and the controls
    // given back.
    if (!saved) {
        refuseSaveForBox(saved.error().box);
        enableEditingAfterSave();
        platform_.startTimer1();
        return;
    }
    showChecksumResult(*saved);
    if (!changesStayInsideOptionRom()) return;
    fileWritingStage(path);
}

// Nothing the save reads can change while it runs.
void MainController::disableEditingForSave()
{
    setEditingControlsEnabled(false);
    state_.progressDisplay = true;
}

// The pipeline has checked the assembled image's sum against the opened file's: the panel
// says "corrected" only when they agree.
void MainController::showChecksumResult(const SaveResult& saved)
{
    const bool corrected = saved.corrected();
    if (!corrected) {
        showMessage(texts::kChecksumFailedText.in(language_),
                    texts::kChecksumFailedTitle.in(language_), MessageIcon::Critical);
    }
    const texts::Bilingual& suffix =
        corrected ? texts::kSuffixCorrected : texts::kSuffixNotCorrected;
    state_.statusPanels[kChecksumPanel] =
        std::string(texts::kChecksumPrefix) + formatSum16(saved.outputSum) + suffix.in(language_);
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
    } else if (error.kind == WriteErrorKind::Locked) {
        showMessage(texts::kFileLockedText.in(language_), texts::kFileLockedTitle.in(language_),
                    MessageIcon::Critical);
    } else {
        showMessage(texts::kWriteFailedText.in(language_) + "\r" + path + "\r\r" +
                        writeErrorReason(error, language_),
                    texts::kWriteFailedTitle.in(language_), MessageIcon::Critical);
    }
    setStatus(texts::kStatusWriteFailed.in(language_));
    platform_.startTimer1();
}

void MainController::enableEditingAfterSave()
{
    setEditingControlsEnabled(true);
    if (uvdLinked()) state_.vcoreBoxes[kUvdBox].text.clear();
}

}  // namespace clockvane::app
