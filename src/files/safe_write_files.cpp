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
int openFolder(int base, const std::string& path, Location& location)
{
    const int fd = ::openat(base, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        location.folder = Descriptor(fd);
        location.folderReadable = true;
        return 0;
    }
    if (errno != EACCES) return errno;
    const int pathOnly = ::openat(base, path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (pathOnly < 0) return errno;
    location.folder = Descriptor(pathOnly);
    location.folderReadable = false;
    return 0;
}

// Splits "a/b/name" into its folder and its last name. A path ending in a separator, ".",
// or ".." names a folder, never a file.
int split(const std::string& path, std::string& folder, std::string& name)
{
    const std::size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return EISDIR;
    return 0;
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

int readWhole(int fd, Bytes& into)
{
    into.clear();
    std::uint8_t chunk[kChunk];
    for (;;) {
        const ssize_t got = ::pread(fd, chunk, sizeof chunk, static_cast<off_t>(into.size()));
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (got == 0) return 0;
        into.insert(into.end(), chunk, chunk + got);
    }
}

int writeFromStart(int fd, ByteView bytes, const std::function<void(std::size_t)>& afterChunk)
{
    // Chunks keep each call short and give a test its points to interfere.
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t length = std::min(kChunk, bytes.size() - done);
        const ssize_t written = ::pwrite(fd, bytes.data() + done, length, static_cast<off_t>(done));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(written);
        if (afterChunk) afterChunk(done);
    }
    return 0;
}

int lockExclusively(int fd, std::chrono::milliseconds patience)
{
    // Polled rather than blocking, so that a program that keeps the file locked for good
    // costs the user a wait, not a hung save. Another save holds the lock for milliseconds.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return errno;
        if (std::chrono::steady_clock::now() >= deadline) return EWOULDBLOCK;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
}

int locate(const std::string& path, Location& location)
{
    if (path.empty()) return ENOENT;
    std::string folder;
    std::string name;
    if (const int error = split(path, folder, name)) return error;
    if (const int error = openFolder(AT_FDCWD, folder, location)) return error;

    for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
        struct stat status {};
        if (::fstatat(location.folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) return errno;
            location.name = name;  // a new file: a dangling link creates what it names
            return 0;
        }
        if (!S_ISLNK(status.st_mode)) {
            location.name = name;
            return 0;
        }
        if (!mayFollow(location.folder.get(), status)) return kUntrustedLink;
        char content[PATH_MAX + 1];
        const ssize_t length =
            ::readlinkat(location.folder.get(), name.c_str(), content, sizeof content - 1);
        if (length < 0) return errno;
        if (length == 0) return ENOENT;
        if (const int error =
                split(std::string(content, static_cast<std::size_t>(length)), folder, name))
            return error;
        // A relative link is read from the folder the link is in; an absolute one ignores it.
        Location next;
        if (const int error = openFolder(location.folder.get(), folder, next)) return error;
        location.folder = std::move(next.folder);
        location.folderReadable = next.folderReadable;
    }
    return ELOOP;
}

}  // namespace clockvane::safe_write
