#include "edit/save_pipeline.h"

#include "bytes/sums.h"
#include <cassert>

#include "edit/correction.h"
#include "image/option_rom.h"

namespace clockvane {
namespace {

// What a corrected save promises beyond the 16-bit sum: the option ROM's own 8-bit checksum is
// as it was. The balanced sum guarantees it only while every changed byte lies inside the
// option ROM; the front-ends write nothing otherwise (firstChangePastOptionRom).
[[maybe_unused]] bool keepsOptionRomChecksum(const RomImage& image, const SaveResult& result)
{
    return !result.corrected() || firstChangePastOptionRom(image.fileImage, image.outputImage) ||
           optionRomSumUnchanged(image.fileImage, image.outputImage);
}

}  // namespace

Result<SaveResult, UnreadableVcoreBox> runSavePipeline(RomImage& image, ClockSet& clocks,
                                                       std::uint16_t loadedSum,
                                                       const SaveControls& controls,
                                                       SaveObserver& observer)
{
    // Both write-back stages run on a copy: a box without a number must leave the document
    // exactly as it was, clock fields included.
    ClockSet edited = clocks;
    observer.progress(10);
    observer.status(SaveStatus::ConvertingClocks);
    observer.pause(0.5);
    writeBackClocks(edited, controls);
    observer.progress(20);

    observer.status(SaveStatus::ConvertingVcores);
    observer.pause(0.3);
    observer.progress(30);
    observer.pause(0.1);
    observer.progress(40);
    observer.pause(0.1);
    const auto millivolts = readVcoreBoxes(controls);
    if (!millivolts) return millivolts.error();
    writeBackVcores(edited, *millivolts, controls.uvdLinked);

    observer.status(SaveStatus::Checksum);
    observer.progress(50);
    observer.pause(0.2);
    observer.progress(60);
    observer.pause(0.2);

    SaveResult result;
    const bool balanced = CorrectCRC(edited);
    bool classicWanted = false;
    if (!balanced) {
        result.classicQuestionAsked = true;
        classicWanted = observer.askClassic();
    }
    observer.progress(70);
    observer.pause(0.2);

    clocks = edited;
    assembleOutputImage(image, clocks);
    observer.progress(80);
    observer.status(SaveStatus::Checksum);
    observer.pause(0.3);

    bool claimed = balanced;
    if (classicWanted) claimed = ChecksummenKorrekturFinal(image, loadedSum);
    // A correction's own answer is not enough to say "corrected": the assembled image must
    // add up to the sum of the file as opened. That sum is also the one the front-ends show.
    result.outputSum = sum16(image.outputImage);
    if (claimed && result.outputSum == loadedSum)
        result.outcome =
            classicWanted ? SaveOutcome::CorrectedByClassic : SaveOutcome::CorrectedByCompensation;
    return result;
}

Bytes bytesToWrite(const RomImage& image)
{
    Bytes bytes;
    bytes.reserve(image.outputImage.size() + image.beyondImage.size());
    bytes.insert(bytes.end(), image.outputImage.begin(), image.outputImage.end());
    bytes.insert(bytes.end(), image.beyondImage.begin(), image.beyondImage.end());
    return bytes;
}

}  // namespace clockvane
