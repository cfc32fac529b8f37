#include "files/safe_write_files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace clockvane::safe_write {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

// The kernel gives up on a chain of more links than this with ELOOP; so do we.
constexpr int kMostLinksFollowed = 40;

// A folder is opened for reading where allowed, so that it can be flushed after a rename; a
// folder the user may only pass through is still good for naming files in it.
Result<Location, SystemError> openFolder(int base, const std::string& path)
{
    auto readable = openAt(base, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable) return Location{std::move(readable).value(), {}, true};
    if (readable.error().code != EACCES) return readable.error();
    auto pathOnly = openAt(base, path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (!pathOnly) return pathOnly.error();
    return Location{std::move(pathOnly).value(), {}, false};
}

struct FolderAndName {
    std::string folder;
    std::string name;
};

// Splits "a/b/name" into its folder and its last name. A path ending in a separator, ".",
// or ".." names a folder, never a file.
Result<FolderAndName, SystemError> split(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    FolderAndName parts{slash == std::string::npos ? "."
                        : slash == 0               ? "/"
                                                   : path.substr(0, slash),
                        slash == std::string::npos ? path : path.substr(slash + 1)};
    if (parts.name.empty() || parts.name == "." || parts.name == "..") return SystemError{EISDIR};
    return parts;
}

// Whether the link `link` in `folder` may be followed. Anyone may plant a link in a sticky
// folder open to all (/tmp): there only the folder's owner's links and the user's own are
// trusted, so that no one can make a save (by root, say) write a file the link names.
bool mayFollow(int folder, const struct stat& link)
{
    struct stat status {};
    if (::fstat(folder, &status) != 0) return false;
    constexpr mode_t kSharedByAll = S_ISVTX | S_IWOTH;
    if ((status.st_mode & kSharedByAll) != kSharedByAll) return true;
    return link.st_uid == status.st_uid || link.st_uid == ::geteuid();
}

}  // namespace

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        reset();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void Descriptor::reset()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

SystemError lastError() { return {errno}; }

Status checked(int returned)
{
    if (returned != 0) return lastError();
    return {};
}

Result<Descriptor, SystemError> openAt(int folder, const std::string& name, int flags,
                                       unsigned mode)
{
    const int fd = ::openat(folder, name.c_str(), flags, static_cast<mode_t>(mode));
    if (fd < 0) return lastError();
    return Descriptor(fd);
}

Result<Bytes, SystemError> readWhole(int fd)
{
    Bytes all;
    std::uint8_t chunk[kChunk];
    for (;;) {
        const ssize_t got = ::pread(fd, chunk, sizeof chunk, static_cast<off_t>(all.size()));
        if (got < 0) {
            const SystemError error = lastError();
            if (error.code == EINTR) continue;
            return error;
        }
        if (got == 0) return all;
        all.insert(all.end(), chunk, chunk + got);
    }
}

Status writeFromStart(int fd, ByteView bytes, const std::function<void(std::size_t)>& afterChunk)
{
    // Chunks keep each call short and give a test its points to interfere.
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t length = std::min(kChunk, bytes.size() - done);
        const ssize_t written = ::pwrite(fd, bytes.data() + done, length, static_cast<off_t>(done));
        if (written < 0) {
            const SystemError error = lastError();
            if (error.code == EINTR) continue;
            return error;
        }
        done += static_cast<std::size_t>(written);
        if (afterChunk) afterChunk(done);
    }
    return {};
}

Status lockExclusively(int fd, std::chrono::milliseconds patience)
{
    // Polled rather than blocking, so that a program that keeps the file locked for good
    // costs the user a wait, not a hung save. Another save holds the lock for milliseconds.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        const Status locked = checked(::flock(fd, LOCK_EX | LOCK_NB));
        if (locked) return {};
        if (locked.error().code == EINTR) continue;
        if (locked.error().code != EWOULDBLOCK) return locked;
        if (std::chrono::steady_clock::now() >= deadline) return SystemError{EWOULDBLOCK};
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
}

Result<Location, LocateError> locate(const std::string& path)
{
    if (path.empty()) return LocateError{SystemError{ENOENT}};
    auto parts = split(path);
    if (!parts) return LocateError{parts.error()};
    auto opened = openFolder(AT_FDCWD, parts->folder);
    if (!opened) return LocateError{opened.error()};
    Location location = std::move(opened).value();
    std::string name = std::move(parts->name);

    for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
        struct stat status {};
        if (const Status found = checked(
                ::fstatat(location.folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW));
            !found) {
            if (found.error().code != ENOENT) return LocateError{found.error()};
            location.name = name;  // a new file: a dangling link creates what it names
            return location;
        }
        if (!S_ISLNK(status.st_mode)) {
            location.name = name;
            return location;
        }
        if (!mayFollow(location.folder.get(), status)) return LocateError{UntrustedLink{}};
        char content[PATH_MAX + 1];
        const ssize_t length =
            ::readlinkat(location.folder.get(), name.c_str(), content, sizeof content - 1);
        if (length < 0) return LocateError{lastError()};
        if (length == 0) return LocateError{SystemError{ENOENT}};
        auto target = split(std::string(content, static_cast<std::size_t>(length)));
        if (!target) return LocateError{target.error()};
        // A relative link is read from the folder the link is in; an absolute one ignores it.
        auto next = openFolder(location.folder.get(), target->folder);
        if (!next) return LocateError{next.error()};
        location.folder = std::move(next->folder);
        location.folderReadable = next->folderReadable;
        name = std::move(target->name);
    }
    return LocateError{SystemError{ELOOP}};
}

}  // namespace clockvane::safe_write
