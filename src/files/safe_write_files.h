#pragma once

// The small pieces of file handling the safe write is built from: an owned descriptor, whole
// reads and writes by position, the writers' lock, and following links to the file they name.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <variant>

#include "bytes/bytes.h"
#include "bytes/result.h"

namespace clockvane::safe_write {

// A failed system call's errno, taken at once after the call that set it: any later call
// (a close, a free, a destructor) may change errno, so it is never read anywhere else.
struct SystemError {
    int code;
};

// Success, or the errno of the call that failed.
using Status = Result<void, SystemError>;

// The errno of the call that has just failed.
SystemError lastError();

// The outcome of a call that returns 0 on success and -1 with errno on failure.
Status checked(int returned);

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset();

private:
    int fd_ = -1;
};

// The descriptor openat() gives, or its errno.
Result<Descriptor, SystemError> openAt(int folder, const std::string& name, int flags,
                                       unsigned mode = 0);

// Reads the whole file from its first byte, whatever the descriptor's position.
Result<Bytes, SystemError> readWhole(int fd);

// Writes `bytes` from the file's first byte on, in chunks, telling `afterChunk` the bytes done
// so far.
Status writeFromStart(int fd, ByteView bytes,
                      const std::function<void(std::size_t)>& afterChunk = nullptr);

// Takes the exclusive advisory lock every writer of a file takes (flock: it belongs to the
// open file, needs no write access to the folder and leaves no lock file). Waits up to
// `patience` for another writer; EWOULDBLOCK when the wait was in vain.
Status lockExclusively(int fd, std::chrono::milliseconds patience);

// The file a save writes: a folder, held open so that every later step names the file
// relative to it (a long path is then never spelt out again), and the name in it.
struct Location {
    Descriptor folder;
    std::string name;
    bool folderReadable = false;  // opened for reading, so that it can be flushed
};

// Why locate() found no file: an errno, or a link it does not follow.
struct UntrustedLink {};
using LocateError = std::variant<SystemError, UntrustedLink>;

// Follows `path` and every link it ends in to the file they finally name, which need not
// exist. The error is an errno (EISDIR when the path names a folder), or UntrustedLink for a
// link in a sticky folder that everyone may write whose owner is neither the folder's owner
// nor the user saving: the rule of the kernel's fs.protected_symlinks, which never sees the
// links followed here by hand.
Result<Location, LocateError> locate(const std::string& path);

}  // namespace clockvane::safe_write
