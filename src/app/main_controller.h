#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/platform.h"
#include "app/window_state.h"
#include "edit/save_pipeline.h"
#include "edit/write_back.h"
#include "image/card_identity.h"
#include "image/rom_image.h"
#include "image/rom_loader.h"
#include "layout/clock_set.h"
#include "text/ui_language.h"

namespace clockvane::app {

// The main window's behaviour, without a toolkit. It owns the document (image, card, clocks,
// box texts, UVD link, language) and the state of every control; the screen renders `state()`
// after `Platform::stateChanged` and forwards each user event to the handler of the same name.
class MainController {
public:
    explicit MainController(Platform& platform);

    const MainWindowState& state() const { return state_; }

    // Start-up and shut-down.
    void Form_Load();
    void Form_Unload();
    void EXITProgramm_Click();
    // Asked before the window closes (its close box, the Exit menu, Ctrl+Q): false when the
    // user keeps unsaved changes, and the window stays open.
    bool Form_QueryUnload();
    void Timer1_Timer();

    // Opening: the menu command, and a drop of files on the window, the frame or its labels.
    void ROMOpen_Click();
    void Form_OLEDragDrop(const std::vector<std::string>& paths);
    // A file named on the command line: opened like a dropped file, whatever its ending.
    void openCommandLineFile(const std::string& path);

    // Editing. The screen first reports the new slider value, then the handler runs:
    // ScrollBar1_Scroll while the thumb is dragged, ScrollBar1_Change when the value is set.
    void setSliderValue(std::size_t index, int value);
    void ScrollBar1_Change(std::size_t index);
    void ScrollBar1_Scroll(std::size_t index);
    // Returns whether the key is admitted into the box (false: the key is discarded).
    bool CmbVCore_KeyPress(std::size_t index, int keyAscii);
    // The box's text as the user left it (typed, pasted or picked from the list).
    void setVcoreText(std::size_t index, const std::string& text);
    void CmbVCore_LostFocus(std::size_t index);
    // Up (or Down) in a box: the next preset above (below) the value the box shows.
    void CmbVCore_Step(std::size_t index, bool up);
    void Chk_UVD_Click();

    // Saving.
    void ROMSave_Click();

    // Every control back to the values as opened.
    void ROMRevert_Click();
    // Compares the open file with another image (a BIOS read back from the card) and shows
    // what differs.
    void ROMCompare_Click();

    // Language and About.
    void SetLangDeutsch_Click();
    void SetLangEnglish_Click();
    void About_Click();
    void Picture1_Click();  // the About window's picture

    // Document state, for tests and tools.
    UiLanguage language() const { return language_; }
    bool uvdLinked() const { return state_.chkUvd.checked; }
    double uvdVcoreKept() const { return uvdVcoreKept_; }
    bool hasImage() const { return document_.has_value(); }
    const RomImage* image() const { return document_ ? &document_->image : nullptr; }
    const ClockSet* clocks() const { return document_ ? &document_->clocks : nullptr; }
    const CardModel* card() const { return document_ ? &document_->card : nullptr; }
    bool busy() const { return busy_; }
    // The controls differ from the values last opened or saved.
    bool hasUnsavedChanges() const;
    // File 2 of an HD 3870 X2 opened together with file 1 (the document); null otherwise.
    const LoadedDocument* x2SecondFile() const { return x2Second_ ? &*x2Second_ : nullptr; }

private:
    // Marks an open or save sequence as running for as long as it lives.
    class SequenceGuard {
    public:
        explicit SequenceGuard(bool& busy) : busy_(busy) { busy_ = true; }
        ~SequenceGuard() { busy_ = false; }
        SequenceGuard(const SequenceGuard&) = delete;
        SequenceGuard& operator=(const SequenceGuard&) = delete;

    private:
        bool& busy_;
    };

    // Shared steps (controller_shell.cpp).
    void setDesignState();
    void setStatus(const std::string& text);
    void setProgress(int value);
    void pause(double seconds);
    MessageAnswer showMessage(const std::string& text, const std::string& title, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok);
    void switchLanguage(UiLanguage language);
    void setAccessibleTexts(UiLanguage language);
    char decimalSeparator() const { return platform_.decimalSeparator(); }

    // The open sequence (controller_open.cpp).
    void openFile(const std::string& path);
    void refuseFile(const std::string& text, const std::string& title, MessageIcon icon);
    void resetToEmpty();
    void identifyCard(const LoadedRom& rom);
    void showBiosInfo();
    void TaktRatenErmittlung();
    void placeClocksOnSliders();

    // What the image's own tables say (controller_structure.cpp).
    void warnAboutDoubtfulImage();
    void showClockTableToolTip();
    bool confirmContradictedClockTable();
    bool changesStayInsideOptionRom();

    // Editing and the UVD link (controller_editing.cpp).
    void fillVcoreBoxes();
    void applyUvdLinkState();
    void setEditingControlsEnabled(bool editing);
    void unlinkUvd();
    void linkUvd();
    void refreshClockLabel(std::size_t index);
    void setBandToolTip(std::size_t index, UiLanguage language);
    void setClockCaptionFromSlider(std::size_t index);
    bool imageIsGddr4() const { return document_ && document_->card.isGddr4; }
    void setUvdLinkMarkersVisible(bool visible);

    // Unsaved changes, Revert and the file name panel (controller_changes.cpp).
    bool mayDiscardChanges();
    void keepControlsAsOpened();
    void keepControlsAsSaved();
    void noteControlsChanged();
    void showOpenFileNames();

    // Comparing with another image (controller_compare.cpp).
    void setCompareItemEnabled();

    // Both BIOS files of an HD 3870 X2 (controller_pair.cpp).
    void openX2Pair(const std::vector<std::string>& paths);
    void refusePair(const std::string& name, const std::string& reason);
    void showPairDifferences();
    void showPairState();
    void savePair();

    // The steps of an open, shared by one file and the X2 pair (controller_open.cpp).
    struct OpenRefusal {
        std::string text;
        std::string title;
        MessageIcon icon;
    };
    struct ReadFile {
        std::string path;
        RawFile raw;
        std::optional<FileStamp> onDisk;
        std::uint16_t onDiskSum = 0;
    };
    Result<ReadFile, OpenRefusal> readForOpen(const std::string& path);
    Result<LoadedRom, OpenRefusal> loadForOpen(RawFile raw);
    void adoptDocument(LoadedRom rom, const ReadFile& file,
                       std::optional<LoadedDocument> x2Second = std::nullopt);

    // The save sequence (controller_save.cpp).
    class SaveProgress;
    std::optional<std::size_t> firstUnreadableVcoreBox() const;
    void refuseSaveForBox(std::size_t box);
    SaveControls saveControls() const;
    void ModTaktRatenErmittlung(const std::string& path);
    void disableEditingForSave();
    void showChecksumResult(const SaveResult& saved);
    enum class WriteOutcome { Written, Declined, Failed };
    WriteOutcome fileWritingStage(const std::string& path);
    bool confirmOverwritingChangedFile(const std::string& path, const FileStamp& now);
    void refuseSave(const std::string& checksumBefore);
    void reportWriteFailure(const WriteError& error, const std::string& path);
    void enableEditingAfterSave();

    Platform& platform_;
    MainWindowState state_;
    UiLanguage language_ = UiLanguage::English;
    double uvdVcoreKept_ = 0.0;
    bool busy_ = false;      // an open or save sequence is running
    bool unloaded_ = false;  // Form_Unload has stored the setting
    std::string droppedFilePath_;
    std::string openDialogFileName_;  // cdl1's file name: the file last chosen or dropped
    std::optional<LoadedDocument> document_;
    std::optional<LoadedDocument> x2Second_;  // file 2 of an X2 pair; file 1 is document_
    SaveControls controlsAsOpened_;           // as the open left them: what Revert restores
    double uvdVcoreAsOpened_ = 0.0;
    SaveControls controlsKept_;          // as last opened or written: differing ones are unsaved
    bool saveWritten_ = false;           // the last save sequence wrote its file
    std::optional<bool> classicAnswer_;  // the pair's one answer to the classic question
};

}  // namespace clockvane::app
