#include "checksum/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace clockvane {
namespace {

namespace fs = std::filesystem;

constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

std::string describe(int error) { return std::generic_category().message(error); }

// A read-only file or folder, a missing permission, a read-only file system and a program
// being run from the file are what the user can fix by choosing another target.
WriteError errorFrom(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return {WriteErrorKind::AccessDenied, describe(error), error};
    default: return {WriteErrorKind::Failed, describe(error), error};
    }
}

// Permission bits are checked by hand as well as through access(): the superuser passes
// access() for every file, yet a file or folder without any write bit is meant to be left
// alone, and rename() would silently replace such a file.
bool hasNoWriteBit(const struct stat& status) { return (status.st_mode & kAnyWriteBit) == 0; }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports the error: on some file systems close is where a failed
    // write-out shows.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Removes a file by its name when it goes out of scope, unless released first: the named
// temporary until it has been renamed over the target, the old file's second name until the
// new file has read back correctly.
class NameGuard {
public:
    NameGuard() = default;
    explicit NameGuard(fs::path path) : path_(std::move(path)) {}
    NameGuard(NameGuard&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    NameGuard& operator=(NameGuard&& other) noexcept
    {
        if (this != &other) {
            if (!path_.empty()) ::unlink(path_.c_str());
            path_ = std::move(other.path_);
            other.path_.clear();
        }
        return *this;
    }
    NameGuard(const NameGuard&) = delete;
    NameGuard& operator=(const NameGuard&) = delete;
    ~NameGuard()
    {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    const fs::path& path() const { return path_; }
    bool empty() const { return path_.empty(); }
    void release() { path_.clear(); }

private:
    fs::path path_;
};

// A link is followed so that the file it names is replaced, not the link itself.
fs::path resolvedTarget(const fs::path& target)
{
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    const fs::path resolved = fs::canonical(target, ec);
    return ec ? target : resolved;
}

std::string randomSuffix()
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::string suffix(8, ' ');
    for (char& c : suffix) c = kAlphabet[pick(generator)];
    return suffix;
}

// A hidden name beside the target, named after it: ".card.rom.k3x9q0ab.tmp". The target's
// name is cut so that the whole stays well within the usual 255-byte limit of a file name.
fs::path hiddenName(const fs::path& folder, const fs::path& target, const char* ending)
{
    const std::string stem = target.filename().string().substr(0, 200);
    return folder / ("." + stem + "." + randomSuffix() + "." + ending);
}

// Gives a new name to what `makeLink` links: tries fresh random names while the chosen one
// exists already. Returns the name, or the error with nothing created.
template <typename MakeLink>
std::pair<fs::path, int> linkUnderHiddenName(const fs::path& folder, const fs::path& target,
                                             const char* ending, MakeLink makeLink)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = hiddenName(folder, target, ending);
        if (makeLink(candidate) == 0) return {std::move(candidate), 0};
        if (errno != EEXIST) return {{}, errno};
    }
    return {{}, EEXIST};
}

int writeAll(int fd, ByteView bytes, const WriteSeams& seams)
{
    // Chunks keep each call short and give a test its points to interfere.
    constexpr std::size_t kChunk = 64 * 1024;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t length = std::min(kChunk, bytes.size() - done);
        const ssize_t written = ::write(fd, bytes.data() + done, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(written);
        if (seams.afterChunk) seams.afterChunk(done);
    }
    return 0;
}

// Gives the new file the old one's permissions, fills it and flushes it to disk.
int fillAndSync(int fd, ByteView bytes, const struct stat* replaced, const WriteSeams& seams)
{
    if (replaced != nullptr) {
        // The new file takes the old one's place, so it keeps its permissions and, as far as
        // this user may give them, its owner and group.
        // The owner first: a change of owner clears the set-id bits that the mode then sets.
        if (::fchown(fd, replaced->st_uid, replaced->st_gid) != 0) {
            // Only the superuser may give a file away; a file of our own is fine as it is.
        }
        if (::fchmod(fd, replaced->st_mode & kPermissionBits) != 0) return errno;
    }
    if (const int error = writeAll(fd, bytes, seams)) return error;
    if (::fsync(fd) != 0) return errno;
    return 0;
}

// The new content, complete and on disk, under a hidden name beside the target.
struct Prepared {
    NameGuard temporary;
    int error = 0;
    bool tryNamed = false;  // the unnamed way is not available here; the named one may be
};

// Errors with which open() tells that the file system (or the kernel) has no unnamed
// temporary files: a kernel that does not know the flag sees a request to open the folder
// for writing.
bool unnamedUnsupported(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// The temporary is created without a name, so a process killed while writing it leaves
// nothing behind; it is linked into the folder only once it is complete.
Prepared prepareUnnamed(const fs::path& folder, const fs::path& target, ByteView bytes,
                        const struct stat* replaced, const WriteSeams& seams)
{
    Descriptor file(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        const int error = errno;
        return {{}, error, unnamedUnsupported(error)};
    }
    if (const int error = fillAndSync(file.get(), bytes, replaced, seams)) return {{}, error};

    // Linking through the descriptor's entry in /proc needs no privilege; without /proc
    // mounted the named way below is taken instead.
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    auto [name, error] = linkUnderHiddenName(folder, target, "tmp", [&](const fs::path& name) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
    });
    if (error != 0) return {{}, error, true};
    NameGuard temporary(std::move(name));
    if (const int closeError = file.close()) return {{}, closeError};
    return {std::move(temporary)};
}

// A hidden file beside the target, created exclusively. The mode 0666 lets the umask decide
// a new file's permissions exactly as for any other new file.
Prepared prepareNamed(const fs::path& folder, const fs::path& target, ByteView bytes,
                      const struct stat* replaced, const WriteSeams& seams)
{
    int fd = -1;
    auto [name, error] = linkUnderHiddenName(folder, target, "tmp", [&](const fs::path& name) {
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd >= 0 ? 0 : -1;
    });
    if (error != 0) return {{}, error};
    NameGuard temporary(std::move(name));
    Descriptor file(fd);
    if (const int fillError = fillAndSync(file.get(), bytes, replaced, seams))
        return {{}, fillError};
    if (const int closeError = file.close()) return {{}, closeError};
    return {std::move(temporary)};
}

// A second name for the old file, so that it can be put back should the new one not read
// back correctly. No copy is made. A file system without hard links gives none, and the
// write goes on without it.
NameGuard keepOldFile(const fs::path& folder, const fs::path& target)
{
    auto [name, error] = linkUnderHiddenName(folder, target, "old", [&](const fs::path& name) {
        return ::link(target.c_str(), name.c_str());
    });
    return error == 0 ? NameGuard(std::move(name)) : NameGuard();
}

struct ReadBack {
    Bytes bytes;
    int error = 0;
};
ReadBack readWhole(const fs::path& path)
{
    ReadBack result;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return {{}, errno};
    std::uint8_t chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return {{}, errno};
        }
        if (got == 0) break;
        result.bytes.insert(result.bytes.end(), chunk, chunk + got);
    }
    return result;
}

// Makes the rename itself durable. Not every file system can sync a folder; the data is
// already on disk by then, so a refusal here is no reason to report the save as failed.
void syncFolder(const fs::path& folder)
{
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
}

}  // namespace

std::optional<WriteError> writeFileSafely(const fs::path& requestedTarget, ByteView bytes,
                                          const WriteSeams& seams)
{
    const fs::path target = resolvedTarget(requestedTarget);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat folderStatus {};
    if (::stat(folder.c_str(), &folderStatus) != 0) return errorFrom(errno);
    if (!S_ISDIR(folderStatus.st_mode)) return errorFrom(ENOTDIR);
    if (hasNoWriteBit(folderStatus)) return errorFrom(EACCES);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return errorFrom(errno);

    struct stat targetStatus {};
    const bool replacing = ::stat(target.c_str(), &targetStatus) == 0;
    if (!replacing && errno != ENOENT) return errorFrom(errno);
    if (replacing) {
        if (S_ISDIR(targetStatus.st_mode)) return errorFrom(EISDIR);
        if (!S_ISREG(targetStatus.st_mode))
            return WriteError{WriteErrorKind::Failed, "Not a regular file"};
        if (hasNoWriteBit(targetStatus)) return errorFrom(EACCES);
        if (::access(target.c_str(), W_OK) != 0) return errorFrom(errno);
    }

    const struct stat* replaced = replacing ? &targetStatus : nullptr;
    Prepared prepared = seams.namedTemporaryOnly
                            ? Prepared{{}, 0, true}
                            : prepareUnnamed(folder, target, bytes, replaced, seams);
    if (prepared.temporary.empty() && prepared.tryNamed)
        prepared = prepareNamed(folder, target, bytes, replaced, seams);
    if (prepared.temporary.empty()) return errorFrom(prepared.error);
    NameGuard& temporary = prepared.temporary;

    if (seams.beforeRename) seams.beforeRename(temporary.path());
    NameGuard oldFile = replacing ? keepOldFile(folder, target) : NameGuard();
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) return errorFrom(errno);
    temporary.release();
    syncFolder(folder);

    ReadBack readBack = readWhole(target);
    if (readBack.error == 0 && seams.afterReadBack) seams.afterReadBack(readBack.bytes);
    const bool same =
        readBack.error == 0 &&
        std::equal(readBack.bytes.begin(), readBack.bytes.end(), bytes.begin(), bytes.end());
    if (same) return std::nullopt;

    // The new file cannot be trusted: the old one takes its place again.
    std::string restored;
    if (!oldFile.empty() && ::rename(oldFile.path().c_str(), target.c_str()) == 0) {
        oldFile.release();
        syncFolder(folder);
        restored = "; the previous file was put back";
    }
    if (readBack.error != 0)
        return WriteError{WriteErrorKind::Failed, describe(readBack.error) + restored};
    return WriteError{WriteErrorKind::ReadBackMismatch,
                      "The file on disk differs from the bytes written" + restored};
}

}  // namespace clockvane
