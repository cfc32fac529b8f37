#pragma once

#include <cstddef>

#include "rom/bytes.h"

namespace clockvane {

// Only the first 100,000 bytes of a file are the image the editor works on.
inline constexpr std::size_t kImageReadLimit = 100'000;

// The loaded image and its parts. After a load, head + clockBlock + tail == fileImage and
// clockBlock holds 152 bytes; head ends with the clock-block signature.
struct RomImage {
    Bytes fileImage;    // the first 100,000 bytes of the file (fewer for a shorter file)
    Bytes head;         // bytes 0 .. s+11, s being the signature's offset
    Bytes clockBlock;   // bytes s+12 .. s+163
    Bytes tail;         // bytes s+164 .. end of fileImage
    Bytes outputImage;  // head + clockBlock + tail, assembled when saving
    Bytes beyondImage;  // bytes after offset 99,999 of a longer file, written back unchanged
    std::size_t signatureOffset = 0;

    std::size_t clockBlockOffset() const { return signatureOffset + 12; }
    // The length of the file as read: the image and whatever followed it.
    std::size_t fileLength() const { return fileImage.size() + beyondImage.size(); }
};

// head + clockBlock + tail == fileImage, with a 152-byte block.
bool partsMatchFileImage(const RomImage& image);

}  // namespace clockvane
