#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "rom/bytes.h"

namespace clockvane {

enum class WriteErrorKind {
    AccessDenied,      // read-only file or folder, no permission, file locked
    Failed,            // any other failure: disk full, folder gone, ...
    ReadBackMismatch,  // the file on disk is not what was written
};

struct WriteError {
    WriteErrorKind kind;
    std::string reason;   // the system's description of the failure
    int systemError = 0;  // the errno behind it, so that the window can word it in its language
};

// Points where tests can interfere with a write to simulate faults.
struct WriteSeams {
    // After each chunk of the new content has gone into the temporary file, with the number
    // of bytes written so far (a test may stop or kill the process here).
    std::function<void(std::size_t writtenSoFar)> afterChunk;
    std::function<void(const std::filesystem::path& tempFile)> beforeRename;
    std::function<void(Bytes& readBack)> afterReadBack;
    // Uses the named temporary file even where the file system offers unnamed ones.
    bool namedTemporaryOnly = false;
};

// Writes `bytes` to `target` so that the file of that name always holds either its complete
// old content or the complete new content, never a mixture:
// - The new content goes into a temporary file in the target's folder. Where the file system
//   allows it, that file has no name while it is written (O_TMPFILE), so a process killed in
//   the middle of the write leaves nothing behind; elsewhere it is a hidden file named after
//   the target, removed again on every failure the process lives to see.
// - Once complete and flushed to disk, the temporary gets a hidden name and is renamed over
//   the target in one step.
// - The target is then read back. When it differs from `bytes`, the old file (kept under a
//   second hidden name, a hard link, from just before the rename until the read-back; a file
//   system without hard links keeps none) is put back and a mismatch is reported; a file that
//   did not exist before stays as written, so that it can be looked at. A process killed
//   within that short stretch leaves the second name behind, holding the old content.
// On any error an existing target is left byte for byte as it was. A file or folder without
// any write bit is refused even for the superuser.
std::optional<WriteError> writeFileSafely(const std::filesystem::path& target, ByteView bytes,
                                          const WriteSeams& seams = {});

}  // namespace clockvane
