// What the image says about itself, and what the window does about it: a file shorter than the
// option ROM it declares and a clock table that the BIOS's own PowerPlay table places elsewhere
// are warned about on opening; the latter is asked about before each save, with No as the
// default. A save never writes a change past the option ROM's declared length, because the
// checksum correction keeps the option ROM's own 8-bit checksum only for bytes inside it.

#include "app/main_controller.h"
#include "image/option_rom.h"
#include "text/texts.h"

namespace clockvane::app {

void MainController::warnAboutDoubtfulImage()
{
    const RomStructure& structure = document_->structure;
    if (structure.cutShort && structure.optionRomLength) {
        showMessage(texts::cutShortText(document_->image.fileLength(), *structure.optionRomLength,
                                        language_),
                    texts::kCutShortTitle.in(language_), MessageIcon::Exclamation);
    }
    if (document_->clockTableCheck == ClockTableCheck::Contradicted) {
        showMessage(texts::kContradictedText.in(language_), texts::kContradictedTitle.in(language_),
                    MessageIcon::Exclamation);
    }
}

void MainController::showClockTableToolTip()
{
    if (!document_) {
        state_.frameToolTip.clear();
        return;
    }
    switch (document_->clockTableCheck) {
    case ClockTableCheck::Confirmed:
        state_.frameToolTip = texts::kToolTipConfirmed.in(language_);
        break;
    case ClockTableCheck::Contradicted:
        state_.frameToolTip = texts::kToolTipContradicted.in(language_);
        break;
    case ClockTableCheck::NotAvailable:
        state_.frameToolTip = texts::kToolTipNotAvailable.in(language_);
        break;
    }
}

// True when the save may go on: the clock table is not contradicted, or the user said Yes.
bool MainController::confirmContradictedClockTable()
{
    if (document_->clockTableCheck != ClockTableCheck::Contradicted) return true;
    return showMessage(texts::kContradictedQuestion.in(language_),
                       texts::kContradictedTitle.in(language_), MessageIcon::Exclamation,
                       MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes;
}

// Checked after the checksum stage, before anything is written.
bool MainController::changesStayInsideOptionRom()
{
    const RomImage& image = document_->image;
    const auto offset = firstChangePastOptionRom(image.fileImage, image.outputImage);
    if (!offset) return true;
    showMessage(
        texts::pastOptionRomText(*offset, optionRomLength(image.fileImage).value_or(0), language_),
        texts::kPastOptionRomTitle.in(language_), MessageIcon::Critical);
    return false;
}

}  // namespace clockvane::app
