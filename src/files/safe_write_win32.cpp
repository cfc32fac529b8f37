// Writing a file safely on Windows: the promises of safe_write.h in Windows terms.
//
// - The target is opened, links and junctions followed, for reading and writing with a share
//   mode that lets others read but not write (FILE_SHARE_READ | FILE_SHARE_DELETE). Held from
//   before the file is examined until the new content is in place, that handle is the writers'
//   lock: a second save of the file cannot open it and waits, as does every other program that
//   wants to write it; a program that has it open for writing already, or has locked a range
//   of it (LockFileEx; this save locks the whole file the same way), makes this save wait,
//   then report the file as locked.
// - An existing file with one name is replaced by a copy in its folder: written, flushed
//   (FlushFileBuffers), read back through its handle, then put in place with ReplaceFileW,
//   which gives the copy the old file's identity: its ACL, attributes, alternate data streams,
//   creation time and short name. ReplaceFileW opens the replaced file with GENERIC_READ,
//   DELETE and SYNCHRONIZE and shares read, write and delete, so the handle held here (which
//   shares read and delete) does not stand in its way.
// - A new file is written the same way and given its name with MoveFileExW and
//   MOVEFILE_WRITE_THROUGH, which returns only once the new name is on disk.
// - A file with several hard links, or in a folder where no new file may be made, or one that
//   ReplaceFileW cannot replace, or one reached through a link that cannot be resolved to the
//   file's own name, is overwritten in place through the held handle, with its old
//   bytes kept in memory and put back on any failure.
// - A read-only file (FILE_ATTRIBUTE_READONLY) or a denied access cannot be opened for writing
//   and is "access denied"; nothing is created.
//
// A process killed while the copy is written leaves it behind under its hidden name
// (".card.rom.k3x9q0ab.tmp"): Windows has no unnamed files to write it as.
//
// Under Wine, on which this is tested, files carry no Windows ACLs, no alternate data streams
// and no creation time of their own, the folder that refuses new files is a Unix folder, the
// symbolic links Wine 8 makes do not lead to their files, and paths have no 260-character
// limit. What ReplaceFileW keeps of ACLs, streams and creation time, writing through links and
// junctions (GetFinalPathNameByHandleW), and the need for the "\\?\" prefix rest on the
// documented behaviour of those functions alone.
#include <windows.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "files/safe_write.h"
#include "files/windows_handle_win32.h"
#include "files/windows_text_win32.h"

namespace clockvane {
namespace {

using windows::checked;
using windows::Handle;
using windows::lastError;
using windows::Status;
using windows::SystemError;

constexpr const char* kMismatch = "The file on disk differs from the bytes written";
constexpr const char* kNotRegular = "Not a regular file";
constexpr const char* kKeptChanging = "The file kept changing while it was being saved";

// How long to wait between two tries to open a file another writer holds.
constexpr std::chrono::milliseconds kLockPoll{25};

// The longest piece of the target's name a hidden name repeats, in UTF-16 units.
constexpr std::size_t kHiddenStemUnits = 32;

// As elsewhere, a save starts over when the file changed between two steps.
constexpr int kMostStarts = 100;

bool isLocked(SystemError error)
{
    return error.code == ERROR_SHARING_VIOLATION || error.code == ERROR_LOCK_VIOLATION;
}

// A read-only file or folder, a missing permission and a write-protected medium are denied
// access; a file another program holds open for writing or has locked (after the wait) is
// locked, not read-only.
WriteError errorFrom(SystemError system)
{
    const DWORD error = system.code;
    WriteError failure{WriteErrorKind::Failed, windows::systemMessage(error),
                       windows::nearestErrno(error)};
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
        error == ERROR_NETWORK_ACCESS_DENIED)
        failure.kind = WriteErrorKind::AccessDenied;
    if (isLocked(system)) failure.kind = WriteErrorKind::Locked;
    return failure;
}

std::wstring randomSuffix()
{
    static constexpr wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kAlphabet) - 2);
    std::wstring suffix(8, L' ');
    for (wchar_t& c : suffix) c = kAlphabet[pick(generator)];
    return suffix;
}

// "<folder>\.card.rom.k3x9q0ab.tmp" beside `target`: named after it so that a leftover of a
// killed process can be recognised, short whatever the target's name, and never cut between
// the two halves of a surrogate pair.
std::wstring hiddenNameBeside(const std::wstring& target)
{
    const std::size_t slash = target.find_last_of(L'\\');
    const std::wstring folder = target.substr(0, slash + 1);
    const std::wstring name = target.substr(slash + 1);
    std::size_t stem = std::min(name.size(), kHiddenStemUnits);
    if (stem > 0 && stem < name.size() && name[stem] >= 0xDC00 && name[stem] <= 0xDFFF) --stem;
    return folder + L"." + name.substr(0, stem) + L"." + randomSuffix() + L".tmp";
}

// Reads the file back through its handle and compares it with what was to be written.
Result<void, WriteError> checkReadBack(HANDLE file, ByteView bytes, const WriteSeams& seams)
{
    auto readBack = windows::readWhole(file);
    if (!readBack) return errorFrom(readBack.error());
    if (seams.afterReadBack) seams.afterReadBack(*readBack);
    if (!std::equal(readBack->begin(), readBack->end(), bytes.begin(), bytes.end()))
        return WriteError{WriteErrorKind::ReadBackMismatch, kMismatch};
    return {};
}

// ReplaceFileW's codes for a failure after the old file has left its name.
bool replacementStranded(SystemError error)
{
    return error.code == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
           error.code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// The new content as a file of its own beside the target, removed again on every failure
// the process lives to see.
class Copy {
public:
    explicit Copy(const std::wstring& target) : target_(target) {}
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;
    ~Copy()
    {
        file_.reset();
        if (!name_.empty()) ::DeleteFileW(name_.c_str());
    }

    // Creates the copy under a fresh hidden name, shared with no one while it is written.
    Status create()
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::wstring candidate = hiddenNameBeside(target_);
            const HANDLE created =
                ::CreateFileW(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (created == INVALID_HANDLE_VALUE) {
                const SystemError error = lastError();
                if (error.code != ERROR_FILE_EXISTS && error.code != ERROR_ALREADY_EXISTS)
                    return error;
                continue;
            }
            file_ = Handle(created);
            name_ = std::move(candidate);
            return {};
        }
        return SystemError{ERROR_FILE_EXISTS};
    }

    // Gives the copy the attributes and creation time of the file it is to replace.
    // ReplaceFileW is documented to carry both over itself; set here too, so that they are
    // kept where a file system or an emulation (Wine) does not.
    void takeOver(const BY_HANDLE_FILE_INFORMATION& original)
    {
        FILE_BASIC_INFO basic{};
        basic.CreationTime.LowPart = original.ftCreationTime.dwLowDateTime;
        basic.CreationTime.HighPart = static_cast<LONG>(original.ftCreationTime.dwHighDateTime);
        basic.FileAttributes =
            original.dwFileAttributes != 0 ? original.dwFileAttributes : FILE_ATTRIBUTE_NORMAL;
        ::SetFileInformationByHandle(file_.get(), FileBasicInfo, &basic, sizeof basic);
    }

    // Fills the copy, flushes it to disk, reads it back and closes it.
    Result<void, WriteError> fill(ByteView bytes, const WriteSeams& seams)
    {
        if (const Status written = windows::writeFromStart(file_.get(), bytes, seams.afterChunk);
            !written)
            return errorFrom(written.error());
        if (const Status flushed = checked(::FlushFileBuffers(file_.get())); !flushed)
            return errorFrom(flushed.error());
        if (auto matched = checkReadBack(file_.get(), bytes, seams); !matched) return matched;
        file_.reset();
        return {};
    }

    // Gives the closed copy the target's name where no file has it; ERROR_ALREADY_EXISTS when
    // one does by now.
    Status publishAsNew()
    {
        if (const Status moved =
                checked(::MoveFileExW(name_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH));
            !moved) {
            if (moved.error().code == ERROR_FILE_EXISTS) return SystemError{ERROR_ALREADY_EXISTS};
            return moved;
        }
        name_.clear();
        return {};
    }

    // Puts the closed copy in the place of the existing target, keeping the target's identity.
    // On failure the target is as it was (the copy is removed).
    Status replaceTarget(const WriteSeams& seams)
    {
        if (seams.beforeRename) seams.beforeRename(std::filesystem::path(name_));
        const Status replaced =
            checked(::ReplaceFileW(target_.c_str(), name_.c_str(), nullptr, 0, nullptr, nullptr));
        if (replaced) {
            name_.clear();
            return {};
        }
        // Both codes mean the old file has already left the name: the copy must take it now,
        // and is kept under its own name if even that fails (it holds the only new content).
        if (replacementStranded(replaced.error())) {
            if (::MoveFileExW(name_.c_str(), target_.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                name_.clear();
                return {};
            }
            name_.clear();
        }
        return replaced;
    }

private:
    std::wstring target_;
    Handle file_;
    std::wstring name_;
};

// What one pass of the write came to, when it did not fail: done, or start over because the
// file changed between two steps.
enum class Pass { Done, StartOver };
using Outcome = Result<Pass, WriteError>;

Outcome createFile(const std::wstring& target, ByteView bytes, const WriteSeams& seams)
{
    Copy copy(target);
    if (const Status created = copy.create(); !created) return errorFrom(created.error());
    if (auto filled = copy.fill(bytes, seams); !filled) {
        WriteError& error = filled.error();
        if (error.kind == WriteErrorKind::ReadBackMismatch) error.reason += "; no file was saved";
        return error;
    }
    if (const Status published = copy.publishAsNew(); !published) {
        // Made by someone else meanwhile.
        if (published.error().code == ERROR_ALREADY_EXISTS) return Pass::StartOver;
        return errorFrom(published.error());
    }
    return Pass::Done;
}

// Overwrites the file through its handle, keeping the old bytes to put back on any failure.
// The handle keeps other writers out throughout, so what is put back is what this save
// replaced.
Outcome overwriteInPlace(HANDLE file, ByteView bytes, const WriteSeams& seams)
{
    auto read = windows::readWhole(file);
    if (!read) return errorFrom(read.error());
    const Bytes old = std::move(read).value();

    std::size_t written = 0;
    bool cut = false;
    auto write = [&]() -> Result<void, WriteError> {
        const auto count = [&](std::size_t done) {
            written = done;
            if (seams.afterChunk) seams.afterChunk(done);
        };
        if (const Status filled = windows::writeFromStart(file, bytes, count); !filled)
            return errorFrom(filled.error());
        cut = true;
        if (const Status cutDown = windows::setLength(file, bytes.size()); !cutDown)
            return errorFrom(cutDown.error());
        if (const Status flushed = checked(::FlushFileBuffers(file)); !flushed)
            return errorFrom(flushed.error());
        return checkReadBack(file, bytes, seams);
    };
    auto wrote = write();
    if (wrote) return Pass::Done;

    // Only what was replaced is written back: on a full disk the untouched rest could not be
    // written again, and need not be.
    const std::size_t replaced = cut ? old.size() : std::min(written, old.size());
    const auto putBack = [&]() -> Status {
        if (const Status rewritten = windows::writeFromStart(file, ByteView(old).first(replaced));
            !rewritten)
            return rewritten;
        if (cut) {
            if (const Status lengthened = windows::setLength(file, old.size()); !lengthened)
                return lengthened;
        }
        return checked(::FlushFileBuffers(file));
    };
    const Status restored = putBack();
    WriteError failure = std::move(wrote).error();
    failure.reason += restored ? "; the previous content was put back"
                               : "; putting the previous content back failed: " +
                                     windows::systemMessage(restored.error().code);
    return failure;
}

// The name the held file finally has, every link and junction on the way resolved: the copy
// goes beside the file itself, never beside a link to it.
std::wstring finalName(HANDLE file, const std::wstring& fallback)
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return fallback;
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(length);
    }
}

// Locks the whole file through the held handle (LockFileEx), waiting until `deadline` for a
// program that has locked a range of it.
Status lockWhole(HANDLE file, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        OVERLAPPED whole{};
        const Status locked =
            checked(::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                 MAXDWORD, MAXDWORD, &whole));
        if (locked || !isLocked(locked.error()) || std::chrono::steady_clock::now() >= deadline)
            return locked;
        std::this_thread::sleep_for(kLockPoll);
    }
}

Outcome replaceFile(const std::wstring& target, Handle held, ByteView bytes,
                    const WriteSeams& seams, std::chrono::steady_clock::time_point deadline)
{
    if (::GetFileType(held.get()) != FILE_TYPE_DISK)
        return WriteError{WriteErrorKind::Failed, kNotRegular};
    // A range another program has locked is one it is working on: its lock is waited for as
    // another writer's share mode is. The lock taken here goes with the handle.
    if (const Status locked = lockWhole(held.get(), deadline); !locked)
        return errorFrom(locked.error());
    BY_HANDLE_FILE_INFORMATION information{};
    if (const Status asked = checked(::GetFileInformationByHandle(held.get(), &information));
        !asked)
        return errorFrom(asked.error());
    // Windows itself refuses to open a read-only file for writing; checked here as well, so
    // that no privilege (an administrator's backup right, or root under Wine) writes it.
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return errorFrom(SystemError{ERROR_ACCESS_DENIED});

    // A copy put in place is a new file: it would split a hard link off from the file's other
    // names, and it needs a folder that takes new files. Otherwise the file is written in
    // place.
    // The copy replaces the file by the name it finally has (GetFinalPathNameByHandleW follows
    // every link and junction). Should that name still be a link, as where the system cannot
    // tell the final name, replacing it would put a plain file in the link's place: the file is
    // written in place through the handle instead.
    const std::wstring real = finalName(held.get(), target);
    const DWORD realAttributes = ::GetFileAttributesW(real.c_str());
    const bool realIsAFile = realAttributes != INVALID_FILE_ATTRIBUTES &&
                             (realAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (information.nNumberOfLinks == 1 && realIsAFile) {
        Copy copy(real);
        const Status created = copy.create();
        if (created) {
            copy.takeOver(information);
            if (auto filled = copy.fill(bytes, seams); !filled) {
                WriteError& error = filled.error();
                if (error.kind == WriteErrorKind::ReadBackMismatch)
                    error.reason += "; the file was left as it was";
                return error;
            }
            const Status replaced = copy.replaceTarget(seams);
            if (replaced) return Pass::Done;
            if (replacementStranded(replaced.error())) {
                WriteError failure = errorFrom(replaced.error());
                failure.reason += "; the new content is kept beside it under a hidden name";
                return failure;
            }
            // Any other refusal leaves the file what it was: it is written in place instead.
        } else if (created.error().code != ERROR_ACCESS_DENIED) {
            return errorFrom(created.error());
        }
    }
    return overwriteInPlace(held.get(), bytes, seams);
}

Outcome writeOnce(const std::wstring& target, ByteView bytes, const WriteSeams& seams)
{
    // A folder first: opening one as a file fails with "access denied", which would mislead.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return WriteError{WriteErrorKind::Failed, "Is a directory", EISDIR};

    const auto deadline = std::chrono::steady_clock::now() + seams.lockPatience;
    for (;;) {
        const HANDLE opened = ::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened != INVALID_HANDLE_VALUE)
            return replaceFile(target, Handle(opened), bytes, seams, deadline);
        const SystemError error = lastError();
        if (error.code == ERROR_FILE_NOT_FOUND) return createFile(target, bytes, seams);
        if (!isLocked(error) || std::chrono::steady_clock::now() >= deadline)
            return errorFrom(error);
        std::this_thread::sleep_for(kLockPoll);
    }
}

}  // namespace

Result<void, WriteError> writeFileSafely(const std::filesystem::path& target, ByteView bytes,
                                         const WriteSeams& seams)
{
    const std::wstring name = windows::systemPath(target);
    for (int start = 0; start < kMostStarts; ++start) {
        const Outcome outcome = writeOnce(name, bytes, seams);
        if (!outcome) return outcome.error();
        if (*outcome == Pass::Done) return {};
    }
    return WriteError{WriteErrorKind::Failed, kKeptChanging};
}

}  // namespace clockvane
