#pragma once

#include <filesystem>
#include <string>

#include "bytes/bytes.h"
#include "bytes/result.h"
#include "image/rom_image.h"

namespace clockvane {

enum class FileErrorKind {
    NotFound,      // no such file or folder
    AccessDenied,  // permission denied
    NotAFile,      // a directory or another non-regular file
    TooLarge,      // far larger than any video BIOS; refused rather than held in memory
    ReadFailed,    // any other failure of opening or reading
};

struct FileError {
    FileErrorKind kind;
    std::string reason;   // the system's own description, e.g. "Permission denied"
    int systemError = 0;  // the errno behind it, so that the window can word it in its language
};

// Files larger than this are refused: no BIOS of these cards comes near it.
inline constexpr std::uintmax_t kLargestAcceptedFile = 64u * 1024u * 1024u;

// A file's bytes split at offset 100,000 into the image and what follows it.
RawFile splitFileBytes(ByteView file);

// Reads a whole file as raw bytes, split at offset 100,000.
Result<RawFile, FileError> readRomFile(const std::filesystem::path& path);

}  // namespace clockvane
