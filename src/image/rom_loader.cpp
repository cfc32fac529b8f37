#include "image/rom_loader.h"

#include "bytes/byte_search.h"
#include "bytes/sums.h"
#include "layout/clock_layout.h"

namespace clockvane {
namespace {

// The bytes the structure reader needs: the whole file, or its first kLongestOptionRom bytes
// when it is longer. Only a file longer than the image needs the copy.
Bytes leadingBytes(const RawFile& raw)
{
    Bytes bytes(raw.image.begin(), raw.image.end());
    if (bytes.size() < kLongestOptionRom) {
        const ByteView more = clippedSlice(raw.beyond, 0, kLongestOptionRom - bytes.size());
        bytes.insert(bytes.end(), more.begin(), more.end());
    }
    return bytes;
}

}  // namespace

Result<LoadedRom, LoadError> loadRom(RawFile raw)
{
    const ByteView file{raw.image};
    const std::string idText = deviceIdText(file);
    const auto model = cardForDeviceId(idText);
    if (!model) return LoadError{LoadErrorKind::WrongDeviceId, idText};

    // The block must follow a signature lying wholly within bytes 0-49,999 and must itself
    // end inside the image; clocks are never read from, or written to, anywhere else.
    const auto signature = findWithin(file, ByteView{kClockBlockSignature}, kSignatureSearchLimit);
    if (!signature) return LoadError{LoadErrorKind::NoClockBlock, idText};
    const std::size_t blockStart = *signature + kClockBlockSignature.size();
    if (file.size() < blockStart || file.size() - blockStart < kClockBlockSize) {
        return LoadError{LoadErrorKind::NoClockBlock, idText};
    }

    LoadedRom rom;
    rom.model = *model;
    rom.memory = detectMemory(file);
    rom.x2File = *model == CardType::HD3870X2 ? x2FileNumber(file) : X2File::NotX2;
    rom.loadedSum = sum16(file);
    rom.structure = raw.beyond.empty() ? readRomStructure(file, rom.loadedSum)
                                       : readRomStructure(leadingBytes(raw));
    rom.clockTableCheck =
        checkClockTable(rom.structure, FoundClockTable{blockStart, kEntrySize, kEntryCount});

    RomImage& image = rom.image;
    image.signatureOffset = *signature;
    image.fileImage = std::move(raw.image);
    image.beyondImage = std::move(raw.beyond);
    rom.clocks = *decodeClockBlock(image.clockBlock());
    return rom;
}

}  // namespace clockvane
