#include "checksum/save_pipeline.h"

#include <cassert>

#include "checksum/correction.h"
#include "rom/option_rom.h"

namespace clockvane {
namespace {

// A UTF-8 continuation byte (10xxxxxx) never starts a character.
bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0u) != 0x80u; }

// What a corrected save promises beyond the 16-bit sum: the option ROM's own 8-bit checksum is
// as it was. The balanced sum guarantees it only while every changed byte lies inside the
// option ROM; the front-ends write nothing otherwise (firstChangePastOptionRom).
[[maybe_unused]] bool keepsOptionRomChecksum(const RomImage& image, SaveOutcome outcome)
{
    return outcome == SaveOutcome::NotCorrected ||
           firstChangePastOptionRom(image.fileImage, image.outputImage) ||
           optionRomSumUnchanged(image.fileImage, image.outputImage);
}

}  // namespace

Result<SaveResult, UnreadableVcoreBox> runSavePipeline(SaveTarget target,
                                                       const SaveControls& controls,
                                                       const std::function<bool()>& askClassic)
{
    // Both write-back stages run on a copy first: a box without a number must leave the
    // document exactly as it was, clock fields included.
    ClockSet edited = target.clocks;
    writeBackClocks(edited, controls);
    if (const auto box = writeBackVcores(edited, controls)) return UnreadableVcoreBox{*box};
    target.clocks = edited;

    SaveResult result{SaveOutcome::NotCorrected, false};
    const bool balanced = CorrectCRC(target.clocks);
    bool classicWanted = false;
    if (!balanced) {
        result.classicQuestionAsked = true;
        classicWanted = askClassic && askClassic();
    }

    assembleOutputImage(target.image, target.clocks);

    if (classicWanted) {
        if (ChecksummenKorrekturFinal(target.image, target.loadedSum))
            result.outcome = SaveOutcome::CorrectedByClassic;
    } else if (balanced) {
        result.outcome = SaveOutcome::CorrectedByCompensation;
    }
    assert(keepsOptionRomChecksum(target.image, result.outcome));
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

std::string defaultSaveName(std::string_view openedPath)
{
    // Walk back over four characters; "_mod" goes in front of them. The last four are taken
    // to be a dot and a three-letter extension, whatever they really are.
    constexpr int kKeptCharacters = 4;
    std::size_t split = openedPath.size();
    int characters = 0;
    while (split > 0 && characters < kKeptCharacters) {
        --split;
        if (startsCharacter(openedPath[split])) ++characters;
    }
    // A name of fewer than four characters has no extension to keep: the suffix goes last.
    if (characters < kKeptCharacters) split = openedPath.size();

    std::string name;
    name.reserve(openedPath.size() + 4);
    name.append(openedPath.substr(0, split));
    name.append("_mod");
    name.append(openedPath.substr(split));
    return name;
}

}  // namespace clockvane
