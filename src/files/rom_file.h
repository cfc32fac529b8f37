#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
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

// Which file a name leads to, and the signs that its content has changed: device and inode
// tell the file apart from its names (a hard link or "./card.rom" is the same file, a file
// put in its place by a rename is another), size and modification time tell an edit.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // nanoseconds since the epoch

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
    bool sameFileAs(const FileStamp& other) const
    {
        return device == other.device && inode == other.inode;
    }
};

// The stamp of the file a name leads to (links followed), or nothing when there is none.
std::optional<FileStamp> stampFile(const std::filesystem::path& path);

}  // namespace clockvane
