#pragma once

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
    std::string reason;  // the system's description of the failure
};

// Points where tests can interfere with a write to simulate faults.
struct WriteSeams {
    std::function<void(const std::filesystem::path& tempFile)> beforeRename;
    std::function<void(Bytes& readBack)> afterReadBack;
};

// Writes `bytes` to `target` so that an existing file is either completely replaced or left
// exactly as it was: a temporary file in the target's folder is written, flushed to disk and
// renamed over the target, then the target is read back and compared. No temporary file is
// left behind, on success or failure.
std::optional<WriteError> writeFileSafely(const std::filesystem::path& target, ByteView bytes,
                                          const WriteSeams& seams = {});

}  // namespace clockvane
