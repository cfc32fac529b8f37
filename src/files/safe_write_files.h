#pragma once

// The small pieces of file handling the safe write is built from: an owned descriptor, whole
// reads and writes by position, the writers' lock, and following links to the file they name.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "bytes/bytes.h"

namespace clockvane::safe_write {

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

// Reads the whole file from its first byte, whatever the descriptor's position. 0 or an errno.
int readWhole(int fd, Bytes& into);

// Writes `bytes` from the file's first byte on, in chunks, telling `afterChunk` the bytes done
// so far. 0 or an errno.
int writeFromStart(int fd, ByteView bytes,
                   const std::function<void(std::size_t)>& afterChunk = nullptr);

// Takes the exclusive advisory lock every writer of a file takes (flock: it belongs to the
// open file, needs no write access to the folder and leaves no lock file). Waits up to
// `patience` for another writer; 0, EWOULDBLOCK when the wait was in vain, or another errno.
int lockExclusively(int fd, std::chrono::milliseconds patience);

// The file a save writes: a folder, held open so that every later step names the file
// relative to it (a long path is then never spelt out again), and the name in it.
struct Location {
    Descriptor folder;
    std::string name;
    bool folderReadable = false;  // opened for reading, so that it can be flushed
};

// What locate() returns for a link it does not follow; every errno is positive.
inline constexpr int kUntrustedLink = -1;

// Follows `path` and every link it ends in to the file they finally name, which need not
// exist. 0 or an errno (EISDIR when the path names a folder), or kUntrustedLink for a link in
// a sticky folder that everyone may write whose owner is neither the folder's owner nor the
// user saving: the rule of the kernel's fs.protected_symlinks, which never sees the links
// followed here by hand.
int locate(const std::string& path, Location& location);

}  // namespace clockvane::safe_write
