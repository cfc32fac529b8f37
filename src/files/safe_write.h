#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "bytes/bytes.h"
#include "bytes/result.h"

namespace clockvane {

enum class WriteErrorKind {
    AccessDenied,      // read-only file or folder, no permission
    Locked,            // another program kept its lock on the file for the whole wait
    UntrustedLink,     // a link another user placed in a shared folder (see below)
    Failed,            // any other failure: disk full, folder gone, ...
    ReadBackMismatch,  // the file on disk is not what was written
};

struct WriteError {
    WriteErrorKind kind;
    std::string reason;   // the system's description of the failure, or our own
    int systemError = 0;  // the errno behind `reason`; 0 when the reason is not a system error
};

// Points where tests can interfere with a write to simulate faults.
struct WriteSeams {
    // After each chunk of the new content has been written, with the number of bytes written
    // so far (a test may stop or kill the process here).
    std::function<void(std::size_t writtenSoFar)> afterChunk;
    // Just before the complete, checked copy is renamed over the target, with a path that
    // reaches it under its hidden name (through /proc).
    std::function<void(const std::filesystem::path& tempFile)> beforeRename;
    std::function<void(Bytes& readBack)> afterReadBack;
    // Uses the named temporary file even where the file system offers unnamed ones.
    bool namedTemporaryOnly = false;
    // How long to wait for another writer's lock on the target before giving up.
    std::chrono::milliseconds lockPatience{10'000};
};

// Writes `bytes` to `target` the way careful editors do, so that the file of that name holds
// either its complete old content or the complete new content, and stays what it was to its
// owner, its other names and other programs:
// - A link is written through to the file it finally names; a link to a file that does not
//   exist yet creates that file. The link itself stays a link. As the kernel's
//   fs.protected_symlinks does, a link in a sticky folder that everyone may write (/tmp) is
//   followed only when its owner is the folder's owner or the user saving: anyone can plant
//   a link there under the name a save is about to use.
// - Every writer of the file holds an advisory lock (flock) on it from before it looks at the
//   file until the new content is in place, so two saves of one file happen one after the
//   other. The lock is on the file itself (for a new file, on the new file before it gets its
//   name), so no lock file is ever left in the folder.
// - A new file, and an existing one whose replacement can keep everything (owner, group,
//   mode, the extended attributes this process can see, ACLs and file attribute flags such as
//   chattr's +d, +A, +C; one name only; the folder writable), is written as a
//   copy in the same folder, unnamed while written (O_TMPFILE) where the file system allows,
//   flushed, read back through its descriptor and only then given the target's name: linked
//   without replacing for a new file, renamed over the old one otherwise. A process killed
//   before that leaves nothing behind (a file system without unnamed files leaves a hidden
//   ".name.XXXXXXXX.tmp"). A target the copy cannot be renamed over (a file bind-mounted
//   onto its name) is written in place instead.
//   Only the superuser can see trusted.* attributes; a save by another user cannot tell that
//   a file has them, and its renamed copy goes without them.
// - Any other existing file is overwritten in place: its old bytes are kept in memory, the new
//   ones written, the file cut to length, flushed and read back through the same descriptor;
//   on any failure the old bytes are written back.
// A write that reports an error has changed nothing (should even putting the old bytes back
// fail, the reason says so). A file without any write bit, or a folder without any write bit
// for a new file, is refused even for the superuser.
Result<void, WriteError> writeFileSafely(const std::filesystem::path& target, ByteView bytes,
                                         const WriteSeams& seams = {});

}  // namespace clockvane
