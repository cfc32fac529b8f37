// Both BIOS files of an HD 3870 X2 at once. The card has two BIOS chips, each saved to a file
// of its own, and both must be edited alike: opened as a pair, file 1 is the document on the
// controls and file 2 goes along with it. A save runs the one save pipeline once per file, so
// each file gets its own checksum correction against its own opened sum; the classic question
// is asked at most once and its answer applies to both.

#include <utility>

#include "app/app_info.h"
#include "app/main_controller.h"
#include "app/x2_pair.h"
#include "bytes/sums.h"
#include "files/save_name.h"
#include "image/image_diff.h"
#include "text/printable.h"
#include "text/texts.h"

namespace clockvane::app {
namespace {

const texts::Bilingual& problemText(X2PairProblem problem)
{
    switch (problem) {
    case X2PairProblem::FirstNotX2:
    case X2PairProblem::SecondNotX2: return texts::kPairNotX2;
    case X2PairProblem::BothFirst: return texts::kPairBothFirst;
    case X2PairProblem::BothSecond: return texts::kPairBothSecond;
    case X2PairProblem::DifferentVersion: return texts::kPairDifferentVersion;
    case X2PairProblem::DifferentMemory: return texts::kPairDifferentMemory;
    case X2PairProblem::DifferentSubsystem:
    case X2PairProblem::None: break;
    }
    return texts::kPairDifferentSubsystem;
}

}  // namespace

void MainController::refusePair(const std::string& name, const std::string& reason)
{
    std::string text = texts::kPairRefusedText.in(language_);
    if (!name.empty()) text += "\r" + name;
    showMessage(text + "\r\r" + reason, texts::kPairRefusedTitle.in(language_),
                MessageIcon::Exclamation);
    setStatus(texts::kStatusOpenFailed.in(language_));
    platform_.startTimer1();
}

// Reads and checks both files before either replaces the document: a refused pair leaves the
// window as it was, like a refused file.
void MainController::openX2Pair(const std::vector<std::string>& paths)
{
    if (paths.size() != 2) {
        refusePair("", texts::kPairTooMany.in(language_));
        return;
    }
    setStatus(texts::kStatusOpening.in(language_));
    pause(0.4);

    std::vector<ReadFile> files;
    for (const std::string& path : paths) {
        auto file = readForOpen(path);
        if (!file) {
            refusePair("", file.error().text);
            return;
        }
        files.push_back(std::move(file).value());
    }
    setProgress(25);
    state_.progressDisplay = true;
    setStatus(texts::kStatusChecking.in(language_));
    pause(0.2);

    std::vector<LoadedRom> roms;
    for (ReadFile& file : files) {
        auto loaded = loadForOpen(std::move(file.raw));
        if (!loaded) {
            refusePair(printableText(file.path), loaded.error().text);
            return;
        }
        roms.push_back(std::move(loaded).value());
    }

    const X2PairCheck check = checkX2Pair(roms[0], roms[1]);
    if (check.problem != X2PairProblem::None) {
        const bool namesOne = check.problem == X2PairProblem::FirstNotX2 ||
                              check.problem == X2PairProblem::SecondNotX2;
        const std::size_t named = check.problem == X2PairProblem::SecondNotX2 ? 1 : 0;
        refusePair(namesOne ? printableText(paths[named]) : std::string(),
                   problemText(check.problem).in(language_));
        return;
    }
    if (check.swapped) {
        std::swap(files[0], files[1]);
        std::swap(roms[0], roms[1]);
    }

    LoadedRom& second = roms[1];
    LoadedDocument secondFile{
        .image = std::move(second.image),
        .clocks = second.clocks,
        .card = CardModel{second.model, second.memory.isGddr4, second.memory.size},
        .loadedSum = second.loadedSum,
        .path = files[1].path,
        .structure = second.structure,
        .clockTableCheck = second.clockTableCheck,
        .onDisk = files[1].onDisk,
        .onDiskSum = files[1].onDiskSum};
    openDialogFileName_ = files[0].path;
    adoptDocument(std::move(roms[0]), files[0], std::move(secondFile));
}

// Told before editing starts: the states whose clocks or VCore differ between the two files
// (a compensation byte alone does not count, since every save moves it). The controls show
// file 1's values.
void MainController::showPairDifferences()
{
    const StateComparisons states =
        compareStates(document_->clocks.asRead, x2Second_->clocks.asRead);
    std::string differing;
    for (std::size_t s = 0; s < states.size(); ++s) {
        const StateComparison& state = states[s];
        if (state.gpu.match && state.ram.match && state.vcore.match) continue;
        differing.append("\r").append(texts::kPowerStateNames[s].name);
    }
    if (differing.empty()) return;
    showMessage(texts::kPairClocksDifferText.in(language_) + differing + "\r\r" +
                    texts::kPairClocksDifferNote.in(language_),
                texts::kPairClocksDifferTitle.in(language_), MessageIcon::Exclamation);
}

// The frame names both files and the checksum panel shows both opened sums, file 1's first.
void MainController::showPairState()
{
    state_.frameCaption = texts::kPairFrameCaption.in(language_);
    state_.statusPanels[kChecksumPanel] = std::string(texts::kChecksumPrefix) +
                                          formatSum16(document_->loadedSum) + " / " +
                                          formatSum16(x2Second_->loadedSum);
}

namespace {

// File 2 is the document for as long as this lives, so that the save's stages, which work on
// the document, write file 2.
class SecondFileCurrent {
public:
    SecondFileCurrent(std::optional<LoadedDocument>& document,
                      std::optional<LoadedDocument>& second)
        : document_(document), second_(second)
    {
        std::swap(document_, second_);
    }
    ~SecondFileCurrent() { std::swap(document_, second_); }
    SecondFileCurrent(const SecondFileCurrent&) = delete;
    SecondFileCurrent& operator=(const SecondFileCurrent&) = delete;

private:
    std::optional<LoadedDocument>& document_;
    std::optional<LoadedDocument>& second_;
};

}  // namespace

// Both names are asked for first, each proposing its own file's "_mod" name; then the same
// controls are saved into file 1 and, once that is written, into file 2.
void MainController::savePair()
{
    if (!confirmContradictedClockTable()) return;
    {
        const SecondFileCurrent second(document_, x2Second_);
        if (!confirmContradictedClockTable()) return;
    }
    const auto ask = [this](const LoadedDocument& file) {
        const FileDialogRequest request{state_.saveDialogTitle, std::string(kRomFileFilter),
                                        defaultSaveName(file.path), kSaveDialogFlags};
        return platform_.showSaveDialog(request);
    };
    const auto firstPath = ask(*document_);
    if (!firstPath) return;
    std::optional<std::string> secondPath;
    // One name for both would leave only file 2 behind: the dialog asks again.
    do {
        secondPath = ask(*x2Second_);
        if (!secondPath) return;
    } while (*secondPath == *firstPath);

    classicAnswer_.reset();
    ModTaktRatenErmittlung(*firstPath);
    if (saveWritten_) {
        const std::string firstSum = state_.statusPanels[kChecksumPanel];
        {
            const SecondFileCurrent second(document_, x2Second_);
            ModTaktRatenErmittlung(*secondPath);
        }
        if (saveWritten_) {
            const std::string secondSum = state_.statusPanels[kChecksumPanel];
            state_.statusPanels[kChecksumPanel] =
                firstSum + " / " + secondSum.substr(texts::kChecksumPrefix.size());
            keepControlsAsSaved();
        }
    }
    classicAnswer_.reset();
}

}  // namespace clockvane::app
