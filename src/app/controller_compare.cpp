// Comparing the open file with another image: the last step of a flashing round, where the
// BIOS read back from the card is checked against the file that was flashed. The comparison is
// the tool's own (compareImages); the window shows it as a table, or says the two files are
// identical.

#include <filesystem>

#include "app/app_info.h"
#include "app/main_controller.h"
#include "image/image_diff.h"
#include "text/printable.h"
#include "text/texts.h"

namespace clockvane::app {
namespace {

std::string shownName(const std::string& path)
{
    return printableText(std::filesystem::path(path).filename().string());
}

}  // namespace

void MainController::setCompareItemEnabled() { state_.romCompare.enabled = document_.has_value(); }

void MainController::ROMCompare_Click()
{
    if (busy_ || !document_) return;
    {
        SequenceGuard guard(busy_);
        const FileDialogRequest request{texts::kCompareDialogTitle.in(language_),
                                        std::string(kRomFileFilter), std::string(),
                                        kOpenDialogFlags};
        const auto path = platform_.showOpenDialog(request);
        if (!path) return;

        auto file = readForOpen(*path);
        auto loaded =
            file ? loadForOpen(std::move(file->raw)) : Result<LoadedRom, OpenRefusal>(file.error());
        if (!loaded) {
            // Nothing of the open file changes: only the message says why.
            showMessage(loaded.error().text, loaded.error().title, loaded.error().icon);
            return;
        }

        // The open file as it was read; the other as it stands on disk.
        const LoadedDocument& document = *document_;
        const LoadedRom opened{.image = document.image,
                               .clocks = document.clocks,
                               .model = document.card.model,
                               .memory = {document.card.isGddr4, document.card.size},
                               .x2File = x2FileNumber(document.image.fileImage),
                               .loadedSum = document.loadedSum,
                               .structure = document.structure,
                               .clockTableCheck = document.clockTableCheck};
        const LoadedRom& other = loaded.value();
        if (sameFileBytes(opened.image, other.image)) {
            showMessage(texts::kIdenticalText.in(language_), texts::kCompareTitle.in(language_),
                        MessageIcon::Information);
            return;
        }
        const ImageDiff diff = compareImages(opened, other);
        const CardModel otherCard{other.model, other.memory.isGddr4, other.memory.size};
        platform_.stateChanged();
        platform_.showComparison(comparisonTable(
            {shownName(document.path), opened, document.card, true},
            {shownName(*path), other, otherCard, other.memory.size != MemorySize::Unknown}, diff,
            language_, decimalSeparator()));
    }
    platform_.stateChanged();
}

}  // namespace clockvane::app
