// The open sequence: a file from the open dialog or a drop is read, validated, identified and
// put on the controls, with a status text and a short pause after each step so the user can
// follow it. A file that is refused leaves the image and the window as they were.

#include <algorithm>
#include <cctype>
#include <utility>

#include "app/app_info.h"
#include "app/error_reasons.h"
#include "app/main_controller.h"
#include "bytes/ascii.h"
#include "bytes/sums.h"
#include "image/bios_info.h"
#include "image/rom_loader.h"
#include "layout/clock_limits.h"
#include "text/printable.h"
#include "text/texts.h"

namespace clockvane::app {
namespace {

// A drop is taken when the name ends in ROM or BIN in any case; only those three characters
// count, so "biosrom" is taken and "image.rom.txt" is not.
bool hasRomOrBinEnding(const std::string& path)
{
    return endsWithIgnoringAsciiCase(path, "ROM") || endsWithIgnoringAsciiCase(path, "BIN");
}

}  // namespace

void MainController::Form_OLEDragDrop(const std::vector<std::string>& paths)
{
    // A drop while a file is being opened or saved is ignored like any second command.
    if (busy_) return;
    // Two BIOS files at once: the two halves of an X2, opened as a pair (or refused as one).
    if (paths.size() == 2 && hasRomOrBinEnding(paths[0]) && hasRomOrBinEnding(paths[1])) {
        {
            SequenceGuard guard(busy_);
            if (mayDiscardChanges()) openX2Pair(paths);
        }
        platform_.stateChanged();
        return;
    }
    if (paths.size() != 1 || !hasRomOrBinEnding(paths.front())) return;
    droppedFilePath_ = paths.front();
    ROMOpen_Click();
}

// The user named the file, as with the open dialog, so its ending is not asked about; the
// content is checked as for any other file.
void MainController::openCommandLineFile(const std::string& path)
{
    if (busy_ || path.empty()) return;
    droppedFilePath_ = path;
    ROMOpen_Click();
}

void MainController::ROMOpen_Click()
{
    if (busy_) return;
    {
        SequenceGuard guard(busy_);
        std::optional<std::string> path;
        if (!droppedFilePath_.empty()) {
            path = droppedFilePath_;
            droppedFilePath_.clear();
        } else {
            const FileDialogRequest request{state_.openDialogTitle, std::string(kRomFileFilter),
                                            openDialogFileName_, kOpenDialogFlags};
            // Nothing: cancelled, nothing changes. Two files: the halves of an X2.
            const auto chosen = platform_.showOpenFilesDialog(request);
            if (chosen && chosen->size() == 1) path = chosen->front();
            if (chosen && chosen->size() > 1 && mayDiscardChanges()) openX2Pair(*chosen);
        }
        // Unsaved edits are given up only when the user says so.
        if (path && mayDiscardChanges()) {
            openDialogFileName_ = *path;
            openFile(*path);
        }
    }
    platform_.stateChanged();
}

void MainController::openFile(const std::string& path)
{
    setStatus(texts::kStatusOpening.in(language_));
    pause(0.4);

    auto file = readForOpen(path);
    if (!file) {
        refuseFile(file.error().text, file.error().title, file.error().icon);
        return;
    }
    setProgress(25);
    state_.progressDisplay = true;
    setStatus(texts::kStatusChecking.in(language_));
    pause(0.2);

    auto loaded = loadForOpen(std::move(file->raw));
    if (!loaded) {
        refuseFile(loaded.error().text, loaded.error().title, loaded.error().icon);
        return;
    }
    adoptDocument(std::move(loaded).value(), *file);
}

// Reads a file and notes what it was on disk: a save over it asks first should it change.
Result<MainController::ReadFile, MainController::OpenRefusal>
MainController::readForOpen(const std::string& path)
{
    auto raw = platform_.readFile(path);
    if (!raw) {
        return OpenRefusal{texts::kUnreadableText.in(language_) + "\r" + printableText(path) +
                               "\r\r" + fileErrorReason(raw.error(), language_),
                           texts::kUnreadableTitle.in(language_), MessageIcon::Critical};
    }
    const std::optional<FileStamp> onDisk = platform_.fileStamp(path);
    const auto onDiskSum =
        static_cast<std::uint16_t>(sum16(raw.value().image) + sum16(raw.value().beyond));
    return ReadFile{path, std::move(raw).value(), onDisk, onDiskSum};
}

Result<LoadedRom, MainController::OpenRefusal> MainController::loadForOpen(RawFile raw)
{
    auto loaded = loadRom(std::move(raw));
    if (loaded) return std::move(loaded).value();
    if (loaded.error().kind == LoadErrorKind::WrongDeviceId) {
        return OpenRefusal{texts::kWrongFileText.in(language_),
                           texts::kWrongFileTitle.in(language_), MessageIcon::Exclamation};
    }
    return OpenRefusal{texts::kNoClockTableText.in(language_),
                       texts::kNoClockTableTitle.in(language_), MessageIcon::Exclamation};
}

// From here the file is the document: its image, clocks and card replace the old ones. With
// an X2 pair, file 1 is the document and file 2 is edited alongside it.
void MainController::adoptDocument(LoadedRom rom, const ReadFile& file,
                                   std::optional<LoadedDocument> x2Second)
{
    document_ = LoadedDocument{.image = std::move(rom.image),
                               .clocks = rom.clocks,
                               .card = CardModel{rom.model, rom.memory.isGddr4, rom.memory.size},
                               .loadedSum = rom.loadedSum,
                               .path = file.path,
                               .structure = rom.structure,
                               .clockTableCheck = rom.clockTableCheck,
                               .onDisk = file.onDisk,
                               .onDiskSum = file.onDiskSum};
    x2Second_ = std::move(x2Second);
    warnAboutDoubtfulImage();

    // A pair needs no notice of which file is open: the frame names both.
    if (rom.model == CardType::HD3870X2 && !x2Second_) {
        const bool second = rom.x2File == X2File::Second;
        showMessage(texts::x2NoticeText(second, language_), texts::x2NoticeTitle(second, language_),
                    MessageIcon::Information);
    }
    resetToEmpty();
    noteControlsChanged();
    showOpenFileNames();
    setStatus(texts::kStatusGettingBiosInfo.in(language_));
    pause(0.5);

    identifyCard(rom);
    if (x2Second_) x2Second_->card = document_->card;
    setProgress(50);
    setStatus(texts::kStatusShowingBiosInfo.in(language_));
    pause(0.5);

    showBiosInfo();
    setProgress(60);
    setStatus(texts::kStatusGettingClockInfo.in(language_));
    pause(0.3);

    if (x2Second_) showPairDifferences();
    TaktRatenErmittlung();
    if (x2Second_) showPairState();
    keepControlsAsOpened();
    setCompareItemEnabled();
}

// The end of a refused open: the message, the status, and the timer that clears them.
void MainController::refuseFile(const std::string& text, const std::string& title, MessageIcon icon)
{
    showMessage(text, title, icon);
    setStatus(texts::kStatusOpenFailed.in(language_));
    platform_.startTimer1();
}

// Every control back to the empty, disabled state before the new image is shown.
void MainController::resetToEmpty()
{
    for (std::size_t i = 0; i < kSliderCount; ++i) {
        state_.sliders[i].enabled = false;
        state_.clockLabels[i].caption.clear();
        state_.clockLabels[i].background = LabelColour::ButtonFace;
        state_.clockLabels[i].toolTip.clear();
    }
    state_.romSave.enabled = false;
    state_.frameCaption = std::string(texts::kFrameCaption);
    state_.info.versionForeground = LabelColour::LightGrey;
    state_.info.version.clear();
    state_.info.date.clear();
    state_.info.card.clear();
    for (VcoreBoxState& box : state_.vcoreBoxes) {
        box.enabled = false;
        box.text.clear();
    }
    state_.picture = CardPicture::Ati;
    state_.statusPanels[kChecksumPanel].clear();
    state_.linkLinesVisible = false;
    state_.linkedLabelVisible = false;
    state_.info.hintsVisible = false;
    state_.mnuTrouble.enabled = false;
    setProgress(30);
}

// Memory type and size, then the card line and its picture.
void MainController::identifyCard(const LoadedRom& rom)
{
    CardModel& card = document_->card;
    card.isGddr4 = rom.memory.isGddr4;
    card.size = rom.memory.size;
    if (card.size == MemorySize::Unknown) {
        MemoryPromptTexts prompt;
        prompt.caption = texts::kMemoryPromptCaption.in(language_);
        prompt.question = texts::kMemoryPromptQuestion.in(language_);
        prompt.button256 = std::string(texts::kMemoryButton256);
        prompt.button512 = std::string(texts::kMemoryButton512);
        platform_.stateChanged();
        // A prompt closed without a button counts as the more common 512 MB.
        const bool chose256 = platform_.askMemorySize(prompt) == MemoryAnswer::MB256;
        card.size = chose256 ? MemorySize::MB256 : MemorySize::MB512;
    }

    state_.info.card = cardLine(card);
    switch (card.model) {
    case CardType::HD3870: state_.picture = CardPicture::HD3870; break;
    case CardType::HD3850: state_.picture = CardPicture::HD3850; break;
    case CardType::HD3870X2: state_.picture = CardPicture::HD3870X2; break;
    }
}

// BIOS version and date; the version label turns from grey to the normal text colour.
void MainController::showBiosInfo()
{
    const Bytes& file = document_->image.fileImage;
    state_.info.version = versionText(file);
    state_.info.versionForeground = LabelColour::ButtonText;
    state_.info.date = dateText(file);
    showClockTableToolTip();
}

// Puts the clocks and voltages of the image on the controls, shows its checksum and gives
// the controls back to the user.
void MainController::TaktRatenErmittlung()
{
    setProgress(80);
    setStatus(texts::kStatusShowingClockInfo.in(language_));
    pause(0.2);

    placeClocksOnSliders();
    for (std::size_t i = 0; i < kSliderCount; ++i) refreshClockLabel(i);
    fillVcoreBoxes();

    setProgress(90);
    setStatus(texts::kStatusOpenChecksum.in(language_));
    pause(0.5);
    // The sum of fileImage was taken while loading; no second pass over the image.
    state_.statusPanels[kChecksumPanel] =
        std::string(texts::kChecksumPrefix) + formatSum16(document_->loadedSum);

    setProgress(100);
    setStatus(texts::kStatusDone.in(language_));
    platform_.startTimer1();

    state_.romSave.enabled = true;
    setEditingControlsEnabled(true);
    applyUvdLinkState();
}

// Each shown clock goes through its slider's range check, in window column order; a clock
// outside the range is reported before the next one is looked at.
void MainController::placeClocksOnSliders()
{
    const ClockEntries& entries = document_->clocks.working;
    for (const PowerState& powerState : kPowerStates) {
        const ClockEntry& entry = entries[powerState.entry()];
        const std::pair<std::size_t, std::uint32_t> clocks[] = {
            {powerState.gpuSlider, entry.gpuClock}, {powerState.ramSlider, entry.ramClock}};
        for (const auto& [slider, raw] : clocks) {
            const RangeCheck check = checkClockRange(slider, raw);
            if (check.violation != RangeViolation::None) {
                const texts::MessageText message =
                    texts::rangeMessage(slider, check.violation, language_);
                showMessage(message.text, message.title, MessageIcon::Exclamation);
            }
            state_.sliders[slider].value = check.sliderValue;
        }
    }
}

}  // namespace clockvane::app
