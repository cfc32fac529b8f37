#include "checksum/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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
    case ETXTBSY: return {WriteErrorKind::AccessDenied, describe(error)};
    default: return {WriteErrorKind::Failed, describe(error)};
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

// Removes the temporary file unless it has been renamed over the target.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    const fs::path& path() const { return path_; }
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

// A hidden file beside the target, named after it, created exclusively. The mode 0666 lets
// the umask decide a new file's permissions exactly as for any other new file.
struct CreatedTemporary {
    int fd = -1;
    fs::path path;
    int error = 0;
};
CreatedTemporary createTemporary(const fs::path& folder, const fs::path& target)
{
    // Keep the name well within the usual 255-byte limit of a file name.
    std::string stem = target.filename().string().substr(0, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = folder / ("." + stem + "." + randomSuffix() + ".tmp");
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return {fd, std::move(candidate), 0};
        if (errno != EEXIST) return {-1, {}, errno};
    }
    return {-1, {}, EEXIST};
}

int writeAll(int fd, ByteView bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
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

    CreatedTemporary created = createTemporary(folder, target);
    if (created.fd < 0) return errorFrom(created.error);
    TemporaryFile temporary(std::move(created.path));
    Descriptor file(created.fd);

    if (replacing) {
        // The new file takes the old one's place, so it keeps its permissions and, as far as
        // this user may give them, its owner and group.
        // The owner first: a change of owner clears the set-id bits that the mode then sets.
        if (::fchown(file.get(), targetStatus.st_uid, targetStatus.st_gid) != 0) {
            // Only the superuser may give a file away; a file of our own is fine as it is.
        }
        if (::fchmod(file.get(), targetStatus.st_mode & kPermissionBits) != 0)
            return errorFrom(errno);
    }
    if (const int error = writeAll(file.get(), bytes)) return errorFrom(error);
    if (::fsync(file.get()) != 0) return errorFrom(errno);
    if (const int error = file.close()) return errorFrom(error);

    if (seams.beforeRename) seams.beforeRename(temporary.path());
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) return errorFrom(errno);
    temporary.release();
    syncFolder(folder);

    ReadBack readBack = readWhole(target);
    if (readBack.error != 0) return WriteError{WriteErrorKind::Failed, describe(readBack.error)};
    if (seams.afterReadBack) seams.afterReadBack(readBack.bytes);
    if (!std::equal(readBack.bytes.begin(), readBack.bytes.end(), bytes.begin(), bytes.end())) {
        return WriteError{WriteErrorKind::ReadBackMismatch,
                          "The file on disk differs from the bytes written"};
    }
    return std::nullopt;
}

}  // namespace clockvane
