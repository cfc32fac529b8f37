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
#include "text/printable.h"
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
        texts::namesOfBox(box).name, formatVolts(kVcoreMinVolts, decimalSeparator()),
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
    // What the panel says of the file last opened or written, until this save writes one.
    const std::string checksumBefore = state_.statusPanels[kChecksumPanel];
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
    if (!changesStayInsideOptionRom() || !fileWritingStage(path)) refuseSave(checksumBefore);
}

// A save stopped before anything was written: the panel goes back to the sum of the file it
// described, since no file has the sum just computed; the controls come back.
void MainController::refuseSave(const std::string& checksumBefore)
{
    state_.statusPanels[kChecksumPanel] = checksumBefore;
    setStatus(texts::kStatusNotSaved.in(language_));
    enableEditingAfterSave();
    platform_.startTimer1();
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

// False when the user declined to write over a changed file: nothing was written. A failed
// write is reported here and counts as done.
bool MainController::fileWritingStage(const std::string& path)
{
    setProgress(90);
    setStatus(texts::kStatusWriting.in(language_));
    pause(0.5);

    // The same file, whatever name leads to it: a hard link or "./card.rom" is the opened file.
    const LoadedDocument& document = *document_;
    const std::optional<FileStamp> target = platform_.fileStamp(path);
    const bool overOpenedFile = target && document.onDisk && target->sameFileAs(*document.onDisk);
    if (overOpenedFile && !confirmOverwritingChangedFile(path, *target)) return false;
    const Bytes written = bytesToWrite(document_->image);
    if (const auto error = platform_.writeFile(path, written)) {
        reportWriteFailure(*error, printableText(path));
        return true;
    }
    // The file on disk is now this save's: only a later change by another program is asked
    // about. Its stamp is taken afresh, since the copy-and-rename save puts a new file (a new
    // inode) under the name.
    if (overOpenedFile) {
        document_->onDisk = platform_.fileStamp(path);
        document_->onDiskSum = sum16(written);
    }
    setProgress(100);
    setStatus(texts::kStatusDone.in(language_));
    platform_.startTimer1();
    enableEditingAfterSave();
    return true;
}

// As vim and Emacs do: another program's change to the opened file is not replaced without
// asking, and No, the default, writes nothing. A file that cannot be read back counts as
// changed.
bool MainController::confirmOverwritingChangedFile(const std::string& path, const FileStamp& now)
{
    const LoadedDocument& document = *document_;
    bool changed =
        now.size != document.onDisk->size || now.modifiedNs != document.onDisk->modifiedNs;
    if (!changed) {
        const auto content = platform_.readFile(path);
        changed = !content ||
                  static_cast<std::uint16_t>(sum16(content.value().image) +
                                             sum16(content.value().beyond)) != document.onDiskSum;
    }
    if (!changed) return true;
    return showMessage(texts::kChangedOnDiskText.in(language_) + "\r" + printableText(path) +
                           "\r\r" + texts::kChangedOnDiskQuestion.in(language_),
                       texts::kChangedOnDiskTitle.in(language_), MessageIcon::Exclamation,
                       MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes;
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
