#pragma once

#include <cstddef>

#include "bytes/bytes.h"
#include "layout/clock_layout.h"

namespace clockvane {

// Only the first 100,000 bytes of a file are the image the editor works on.
inline constexpr std::size_t kImageReadLimit = 100'000;

// A file as read: the image (its first 100,000 bytes) and whatever follows them.
struct RawFile {
    Bytes image;
    Bytes beyond;
};

// The loaded image: the bytes as opened, which never change, and the output a save assembles.
// head, clockBlock and tail are views of the bytes as opened: head ends with the clock-block
// signature, clockBlock is the 152-byte block after it, and tail is the rest of the image.
struct RomImage {
    Bytes fileImage;    // the first 100,000 bytes of the file (fewer for a shorter file)
    Bytes outputImage;  // the image as the last save assembled it; empty before a save
    Bytes beyondImage;  // bytes after offset 99,999 of a longer file, written back unchanged
    std::size_t signatureOffset = 0;

    // The length of the file as read: the image and whatever followed it.
    std::size_t fileLength() const { return fileImage.size() + beyondImage.size(); }
    std::size_t clockBlockOffset() const { return signatureOffset + kClockBlockSignature.size(); }
    ByteView head() const { return ByteView(fileImage).first(clockBlockOffset()); }
    ByteView clockBlock() const
    {
        return ByteView(fileImage).subspan(clockBlockOffset(), kClockBlockSize);
    }
    ByteView tail() const
    {
        return ByteView(fileImage).subspan(clockBlockOffset() + kClockBlockSize);
    }
};

}  // namespace clockvane
