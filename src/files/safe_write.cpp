#include "files/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

#include "files/safe_write_files.h"
#include "files/safe_write_metadata.h"

namespace clockvane {
namespace {

using safe_write::checked;
using safe_write::Descriptor;
using safe_write::Location;
using safe_write::Status;
using safe_write::SystemError;

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

// How often a save starts over because the file changed under it (another program renamed
// something over it, or created it, between two steps). Each start-over is someone else's
// completed change, so a handful is already unusual.
constexpr int kMostStarts = 100;

// The longest piece of the target's name a hidden name repeats: enough to recognise it,
// short enough for any file system's name limit.
constexpr std::size_t kHiddenStemBytes = 32;

constexpr const char* kMismatch = "The file on disk differs from the bytes written";
constexpr const char* kWriteOnly = "File is write-only: it cannot be read back to check the write";
constexpr const char* kLocked = "The file is locked by another program";
constexpr const char* kNotRegular = "Not a regular file";
constexpr const char* kUntrusted =
    "The name is a link another user placed in a shared folder; it is not followed";
constexpr const char* kKeptChanging = "The file kept changing while it was being saved";

std::string describe(int error) { return std::generic_category().message(error); }

// A read-only file or folder, a missing permission, a read-only file system, a program being
// run from the file and a file another program keeps locked are what the user can fix by
// choosing another target.
WriteError errorFrom(SystemError system)
{
    const int error = system.code;
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return {WriteErrorKind::AccessDenied, describe(error), error};
    case EWOULDBLOCK: return {WriteErrorKind::Locked, kLocked, error};
    default: return {WriteErrorKind::Failed, describe(error), error};
    }
}

// Permission bits are checked by hand as well as through faccessat(): the superuser passes
// that for every file, yet a file or folder without any write bit is meant to be left alone.
bool hasNoWriteBit(const struct stat& status) { return (status.st_mode & kAnyWriteBit) == 0; }

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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

// ".card.rom.k3x9q0ab.tmp": hidden, named after the target so that a leftover of a killed
// process can be recognised, and short whatever the target's name (cut between characters,
// never inside one of UTF-8's multi-byte sequences).
std::string hiddenName(const std::string& target)
{
    std::size_t stem = std::min(target.size(), kHiddenStemBytes);
    while (stem > 0 && stem < target.size() &&
           (static_cast<unsigned char>(target[stem]) & 0xC0) == 0x80)
        --stem;
    // Appended piece by piece: GCC 12 at -O3 mistakes `"." + std::string` for an overlapping
    // copy (-Wrestrict) and would stop an optimised build.
    std::string name(1, '.');
    name.append(target, 0, stem).append(1, '.').append(randomSuffix()).append(".tmp");
    return name;
}

bool unnamedUnsupported(SystemError error)
{
    // A kernel that does not know O_TMPFILE sees a request to open the folder for writing.
    return error.code == EOPNOTSUPP || error.code == EISDIR || error.code == EINVAL;
}

std::string procPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

void syncFolder(const Location& location)
{
    // Makes the new name durable. Not every file system can flush a folder; the data is on
    // disk by then, so a refusal is no reason to report the save as failed.
    if (location.folderReadable) ::fsync(location.folder.get());
}

// Reads the file back through `fd` and compares it with what was to be written.
Result<void, WriteError> checkReadBack(int fd, ByteView bytes, const WriteSeams& seams)
{
    auto readBack = safe_write::readWhole(fd);
    if (!readBack) return errorFrom(readBack.error());
    if (seams.afterReadBack) seams.afterReadBack(*readBack);
    if (!std::equal(readBack->begin(), readBack->end(), bytes.begin(), bytes.end()))
        return WriteError{WriteErrorKind::ReadBackMismatch, kMismatch};
    return {};
}

// The new content as a file of its own in the target's folder: unnamed while it is written
// where the file system allows (a killed process then leaves nothing), else under a hidden
// name that is removed again on every failure the process lives to see.
class Copy {
public:
    explicit Copy(const Location& location) : folder_(location.folder.get()), target_(location.name)
    {}
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;
    ~Copy()
    {
        if (!hidden_.empty()) ::unlinkat(folder_, hidden_.c_str(), 0);
    }

    // Creates the file and takes its lock at once, so that whoever opens it by the target's
    // name later waits until this save is complete. The mode 0666 lets the umask (or the
    // folder's default ACL) decide a new file's permissions as for any other new file.
    Status create(bool namedOnly)
    {
        if (!namedOnly && ::access("/proc/self/fd", X_OK) == 0) {
            auto unnamed = safe_write::openAt(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
            if (unnamed)
                file_ = std::move(unnamed).value();
            else if (!unnamedUnsupported(unnamed.error()))
                return unnamed.error();
        }
        if (!file_.valid()) {
            const Status named = underHiddenName([this](const std::string& name) -> Status {
                auto created =
                    safe_write::openAt(folder_, name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                if (!created) return created.error();
                file_ = std::move(created).value();
                return {};
            });
            if (!named) return named;
        }
        return checked(::flock(file_.get(), LOCK_EX | LOCK_NB));
    }

    int fd() const { return file_.get(); }

    // Fills the copy, flushes it to disk and reads it back.
    Result<void, WriteError> fill(ByteView bytes, const WriteSeams& seams)
    {
        if (const Status written = safe_write::writeFromStart(fd(), bytes, seams.afterChunk);
            !written)
            return errorFrom(written.error());
        if (const Status flushed = checked(::fsync(fd())); !flushed)
            return errorFrom(flushed.error());
        return checkReadBack(fd(), bytes, seams);
    }

    // Gives the complete copy the target's name where no file has it. EEXIST when one does
    // by now.
    Status publishAsNew()
    {
        if (hidden_.empty()) {
            const std::string self = procPath(fd());
            return checked(
                ::linkat(AT_FDCWD, self.c_str(), folder_, target_.c_str(), AT_SYMLINK_FOLLOW));
        }
        return checked(::linkat(folder_, hidden_.c_str(), folder_, target_.c_str(), 0));
    }

    // Renames the complete copy over the target in one step; an unnamed copy gets its hidden
    // name first, as rename needs one.
    Status replaceTarget(const WriteSeams& seams)
    {
        if (hidden_.empty()) {
            const std::string self = procPath(fd());
            const Status named = underHiddenName([&](const std::string& name) {
                return checked(
                    ::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW));
            });
            if (!named) return named;
        }
        if (seams.beforeRename) seams.beforeRename(procPath(folder_) + "/" + hidden_);
        if (const Status renamed =
                checked(::renameat(folder_, hidden_.c_str(), folder_, target_.c_str()));
            !renamed)
            return renamed;
        hidden_.clear();
        return {};
    }

private:
    // Tries fresh hidden names while the chosen one exists already. `makeName` gives the
    // errno of its failure as a value, taken right after the call that failed.
    template <typename MakeName>
    Status underHiddenName(MakeName makeName)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = hiddenName(target_);
            const Status made = makeName(candidate);
            if (made) {
                hidden_ = std::move(candidate);
                return {};
            }
            if (made.error().code != EEXIST) return made;
        }
        return SystemError{EEXIST};
    }

    int folder_;
    std::string target_;
    Descriptor file_;
    std::string hidden_;
};

// What one pass of the write came to, when it did not fail: done, or start over because the
// file changed between two steps.
enum class Pass { Done, StartOver };
using Outcome = Result<Pass, WriteError>;

Outcome failedWith(WriteError error, const char* ifMismatch = "")
{
    if (error.kind == WriteErrorKind::ReadBackMismatch) error.reason += ifMismatch;
    return error;
}

Outcome createFile(const Location& location, const Status& folderWritable, ByteView bytes,
                   const WriteSeams& seams)
{
    if (!folderWritable) return errorFrom(folderWritable.error());
    Copy copy(location);
    if (const Status created = copy.create(seams.namedTemporaryOnly); !created)
        return errorFrom(created.error());
    if (auto filled = copy.fill(bytes, seams); !filled)
        return failedWith(filled.error(), "; no file was saved");
    if (const Status published = copy.publishAsNew(); !published) {
        // Created by someone else meanwhile: replace it.
        if (published.error().code == EEXIST) return Pass::StartOver;
        return errorFrom(published.error());
    }
    syncFolder(location);
    return Pass::Done;
}

struct Existing {
    Descriptor file;
    struct stat status {};
    bool readable = true;
};

// Overwrites the file through its descriptor, keeping the old bytes to put back on any
// failure. The file is locked throughout, so what is put back is what this save replaced.
Outcome overwriteInPlace(const Existing& existing, ByteView bytes, const WriteSeams& seams)
{
    const int fd = existing.file.get();
    if (!existing.readable) return WriteError{WriteErrorKind::Failed, kWriteOnly};
    auto read = safe_write::readWhole(fd);
    if (!read) return errorFrom(read.error());
    const Bytes old = std::move(read).value();

    // What has been replaced so far: the first `written` bytes, and everything past the new
    // end once the file has been cut.
    std::size_t written = 0;
    bool cut = false;
    auto write = [&]() -> Result<void, WriteError> {
        const auto count = [&](std::size_t done) {
            written = done;
            if (seams.afterChunk) seams.afterChunk(done);
        };
        if (const Status filled = safe_write::writeFromStart(fd, bytes, count); !filled)
            return errorFrom(filled.error());
        cut = true;
        if (const Status cutDown = checked(::ftruncate(fd, static_cast<off_t>(bytes.size())));
            !cutDown)
            return errorFrom(cutDown.error());
        if (const Status flushed = checked(::fsync(fd)); !flushed)
            return errorFrom(flushed.error());
        return checkReadBack(fd, bytes, seams);
    };
    auto wrote = write();
    if (wrote) return Pass::Done;

    // Only what was replaced is written back: on a full disk (or under a file size limit) the
    // untouched rest could not be written again, and need not be.
    const std::size_t replaced = cut ? old.size() : std::min(written, old.size());
    const auto putBack = [&]() -> Status {
        if (const Status rewritten = safe_write::writeFromStart(fd, ByteView(old).first(replaced));
            !rewritten)
            return rewritten;
        struct stat now {};
        if (const Status measured = checked(::fstat(fd, &now)); !measured) return measured;
        if (now.st_size != static_cast<off_t>(old.size())) {
            if (const Status lengthened = checked(::ftruncate(fd, static_cast<off_t>(old.size())));
                !lengthened)
                return lengthened;
        }
        return checked(::fsync(fd));
    };
    const Status restored = putBack();
    WriteError failure = std::move(wrote).error();
    failure.reason +=
        restored ? "; the previous content was put back"
                 : "; putting the previous content back failed: " + describe(restored.error().code);
    return failure;
}

// Replaces the file by a renamed copy; nothing when the file is to be written in place instead,
// because the copy cannot be given all the file had or cannot take its name.
std::optional<Outcome> replaceByCopy(const Location& location, const Existing& existing,
                                     ByteView bytes, const WriteSeams& seams)
{
    Copy copy(location);
    if (const Status created = copy.create(seams.namedTemporaryOnly); !created)
        return Outcome{errorFrom(created.error())};
    if (!safe_write::copyMetadata(existing.file.get(), existing.status, copy.fd()))
        return std::nullopt;
    if (auto filled = copy.fill(bytes, seams); !filled)
        return failedWith(filled.error(), "; the file was left as it was");
    if (const Status replaced = copy.replaceTarget(seams); !replaced) {
        // A file bind-mounted onto its name is busy for rename, yet writable through its own
        // descriptor.
        if (replaced.error().code == EBUSY) return std::nullopt;
        return Outcome{errorFrom(replaced.error())};
    }
    syncFolder(location);
    return Outcome{Pass::Done};
}

Outcome replaceFile(const Location& location, Existing& existing, const Status& folderWritable,
                    ByteView bytes, const WriteSeams& seams)
{
    if (hasNoWriteBit(existing.status)) return errorFrom(SystemError{EACCES});
    if (const Status locked = safe_write::lockExclusively(existing.file.get(), seams.lockPatience);
        !locked)
        return errorFrom(locked.error());
    // The lock is on the file that had the name when it was opened; a writer that held the
    // lock before may have renamed a new file over it meanwhile.
    struct stat named {};
    if (::fstatat(location.folder.get(), location.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::fstat(existing.file.get(), &existing.status) != 0 || !sameFile(named, existing.status))
        return Pass::StartOver;

    // A renamed copy is a new file: it would split a hard link off from its other names, and
    // needs a writable folder. Only when it can be given everything the old file had does it
    // replace it; anything else is overwritten in place.
    if (folderWritable && existing.status.st_nlink == 1) {
        if (auto outcome = replaceByCopy(location, existing, bytes, seams))
            return std::move(*outcome);
    }
    return overwriteInPlace(existing, bytes, seams);
}

// Whether new files may be made in the folder with the status `status`; the reason when not.
Status folderTakesNewFiles(int folder, const struct stat& status)
{
    if (hasNoWriteBit(status)) return SystemError{EACCES};
    return checked(::faccessat(folder, ".", W_OK | X_OK, AT_EACCESS));
}

Outcome writeOnce(const Location& location, ByteView bytes, const WriteSeams& seams)
{
    const int folder = location.folder.get();
    struct stat folderStatus {};
    if (const Status found = checked(::fstat(folder, &folderStatus)); !found)
        return errorFrom(found.error());
    const Status folderWritable = folderTakesNewFiles(folder, folderStatus);

    // The name's type first: opening a device or a pipe may already do something.
    struct stat status {};
    if (const Status found =
            checked(::fstatat(folder, location.name.c_str(), &status, AT_SYMLINK_NOFOLLOW));
        !found) {
        if (found.error().code == ENOENT) return createFile(location, folderWritable, bytes, seams);
        return errorFrom(found.error());
    }
    if (S_ISLNK(status.st_mode)) return Pass::StartOver;  // a link took the file's place
    if (S_ISDIR(status.st_mode)) return errorFrom(SystemError{EISDIR});
    if (!S_ISREG(status.st_mode)) return WriteError{WriteErrorKind::Failed, kNotRegular};

    Existing existing;
    constexpr int kFlags = O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
    auto opened = safe_write::openAt(folder, location.name, O_RDWR | kFlags);
    if (!opened && opened.error().code == EACCES) {
        // A file its user may write but not read can still be replaced by a renamed copy.
        opened = safe_write::openAt(folder, location.name, O_WRONLY | kFlags);
        existing.readable = false;
    }
    if (!opened) {
        if (opened.error().code == ENOENT || opened.error().code == ELOOP) return Pass::StartOver;
        return errorFrom(opened.error());
    }
    existing.file = std::move(opened).value();
    if (const Status found = checked(::fstat(existing.file.get(), &existing.status)); !found)
        return errorFrom(found.error());
    if (!S_ISREG(existing.status.st_mode)) return Pass::StartOver;
    return replaceFile(location, existing, folderWritable, bytes, seams);
}

}  // namespace

Result<void, WriteError> writeFileSafely(const std::filesystem::path& target, ByteView bytes,
                                         const WriteSeams& seams)
{
    for (int start = 0; start < kMostStarts; ++start) {
        auto location = safe_write::locate(target.string());
        if (!location) {
            if (const auto* error = std::get_if<SystemError>(&location.error()))
                return errorFrom(*error);
            return WriteError{WriteErrorKind::UntrustedLink, kUntrusted};
        }
        const Outcome outcome = writeOnce(*location, bytes, seams);
        if (!outcome) return outcome.error();
        if (*outcome == Pass::Done) return {};
    }
    return WriteError{WriteErrorKind::Failed, kKeptChanging};
}

}  // namespace clockvane
