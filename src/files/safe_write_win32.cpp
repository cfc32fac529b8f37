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

using windows::Handle;

constexpr const char* kMismatch = "The file on disk differs from the bytes written";
constexpr const char* kNotRegular = "Not a regular file";
constexpr const char* kKeptChanging = "The file kept changing while it was being saved";

// How long to wait between two tries to open a file another writer holds.
constexpr std::chrono::milliseconds kLockPoll{25};

// The longest piece of the target's name a hidden name repeats, in UTF-16 units.
constexpr std::size_t kHiddenStemUnits = 32;

// As elsewhere, a save starts over when the file changed between two steps.
constexpr int kMostStarts = 100;

bool isLocked(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// A read-only file or folder, a missing permission and a write-protected medium are denied
// access; a file another program holds open for writing or has locked (after the wait) is
// locked, not read-only.
WriteError errorFrom(DWORD error)
{
    WriteError failure{WriteErrorKind::Failed, windows::systemMessage(error),
                       windows::nearestErrno(error)};
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
        error == ERROR_NETWORK_ACCESS_DENIED)
        failure.kind = WriteErrorKind::AccessDenied;
    if (isLocked(error)) failure.kind = WriteErrorKind::Locked;
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
std::optional<WriteError> checkReadBack(HANDLE file, ByteView bytes, const WriteSeams& seams)
{
    Bytes readBack;
    if (const DWORD error = windows::readWhole(file, readBack)) return errorFrom(error);
    if (seams.afterReadBack) seams.afterReadBack(readBack);
    if (!std::equal(readBack.begin(), readBack.end(), bytes.begin(), bytes.end()))
        return WriteError{WriteErrorKind::ReadBackMismatch, kMismatch};
    return std::nullopt;
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
    DWORD create()
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::wstring candidate = hiddenNameBeside(target_);
            file_ = Handle(::CreateFileW(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file_.valid()) {
                name_ = std::move(candidate);
                return 0;
            }
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
        }
        return ERROR_FILE_EXISTS;
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
    std::optional<WriteError> fill(ByteView bytes, const WriteSeams& seams)
    {
        if (const DWORD error = windows::writeFromStart(file_.get(), bytes, seams.afterChunk))
            return errorFrom(error);
        if (!::FlushFileBuffers(file_.get())) return errorFrom(::GetLastError());
        if (auto mismatch = checkReadBack(file_.get(), bytes, seams)) return mismatch;
        file_.reset();
        return std::nullopt;
    }

    // Gives the closed copy the target's name where no file has it; ERROR_ALREADY_EXISTS when
    // one does by now.
    DWORD publishAsNew()
    {
        if (!::MoveFileExW(name_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : error;
        }
        name_.clear();
        return 0;
    }

    // Puts the closed copy in the place of the existing target, keeping the target's identity.
    // 0 when done; otherwise the target is as it was (the copy is removed).
    DWORD replaceTarget(const WriteSeams& seams)
    {
        if (seams.beforeRename) seams.beforeRename(std::filesystem::path(name_));
        if (::ReplaceFileW(target_.c_str(), name_.c_str(), nullptr, 0, nullptr, nullptr)) {
            name_.clear();
            return 0;
        }
        const DWORD error = ::GetLastError();
        // Both codes mean the old file has already left the name: the copy must take it now,
        // and is kept under its own name if even that fails (it holds the only new content).
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            if (::MoveFileExW(name_.c_str(), target_.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                name_.clear();
                return 0;
            }
            name_.clear();
        }
        return error;
    }

private:
    std::wstring target_;
    Handle file_;
    std::wstring name_;
};

struct Outcome {
    std::optional<WriteError> error;
    bool startOver = false;
};
const Outcome kDone{};
const Outcome kStartOver{std::nullopt, true};

Outcome createFile(const std::wstring& target, ByteView bytes, const WriteSeams& seams)
{
    Copy copy(target);
    if (const DWORD error = copy.create()) return {errorFrom(error)};
    if (auto error = copy.fill(bytes, seams)) {
        if (error->kind == WriteErrorKind::ReadBackMismatch) error->reason += "; no file was saved";
        return {error};
    }
    const DWORD error = copy.publishAsNew();
    if (error == ERROR_ALREADY_EXISTS) return kStartOver;  // made by someone else meanwhile
    if (error != 0) return {errorFrom(error)};
    return kDone;
}

// Overwrites the file through its handle, keeping the old bytes to put back on any failure.
// The handle keeps other writers out throughout, so what is put back is what this save
// replaced.
Outcome overwriteInPlace(HANDLE file, ByteView bytes, const WriteSeams& seams)
{
    Bytes old;
    if (const DWORD error = windows::readWhole(file, old)) return {errorFrom(error)};

    std::size_t written = 0;
    bool cut = false;
    auto write = [&]() -> std::optional<WriteError> {
        const auto count = [&](std::size_t done) {
            written = done;
            if (seams.afterChunk) seams.afterChunk(done);
        };
        if (const DWORD error = windows::writeFromStart(file, bytes, count))
            return errorFrom(error);
        cut = true;
        if (const DWORD error = windows::setLength(file, bytes.size())) return errorFrom(error);
        if (!::FlushFileBuffers(file)) return errorFrom(::GetLastError());
        return checkReadBack(file, bytes, seams);
    };
    std::optional<WriteError> failure = write();
    if (!failure) return kDone;

    // Only what was replaced is written back: on a full disk the untouched rest could not be
    // written again, and need not be.
    const std::size_t replaced = cut ? old.size() : std::min(written, old.size());
    DWORD error = windows::writeFromStart(file, ByteView(old).first(replaced));
    if (error == 0 && cut) error = windows::setLength(file, old.size());
    if (error == 0 && !::FlushFileBuffers(file)) error = ::GetLastError();
    failure->reason +=
        error == 0 ? "; the previous content was put back"
                   : "; putting the previous content back failed: " + windows::systemMessage(error);
    return {failure};
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
// program that has locked a range of it. 0 or a Windows error code.
DWORD lockWhole(HANDLE file, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        OVERLAPPED whole{};
        if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                         MAXDWORD, &whole))
            return 0;
        const DWORD error = ::GetLastError();
        if (!isLocked(error) || std::chrono::steady_clock::now() >= deadline) return error;
        std::this_thread::sleep_for(kLockPoll);
    }
}

Outcome replaceFile(const std::wstring& target, Handle held, ByteView bytes,
                    const WriteSeams& seams, std::chrono::steady_clock::time_point deadline)
{
    if (::GetFileType(held.get()) != FILE_TYPE_DISK)
        return {WriteError{WriteErrorKind::Failed, kNotRegular}};
    // A range another program has locked is one it is working on: its lock is waited for as
    // another writer's share mode is. The lock taken here goes with the handle.
    if (const DWORD error = lockWhole(held.get(), deadline)) return {errorFrom(error)};
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(held.get(), &information))
        return {errorFrom(::GetLastError())};
    // Windows itself refuses to open a read-only file for writing; checked here as well, so
    // that no privilege (an administrator's backup right, or root under Wine) writes it.
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return {errorFrom(ERROR_ACCESS_DENIED)};

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
        const DWORD created = copy.create();
        if (created == 0) {
            copy.takeOver(information);
            if (auto error = copy.fill(bytes, seams)) {
                if (error->kind == WriteErrorKind::ReadBackMismatch)
                    error->reason += "; the file was left as it was";
                return {error};
            }
            const DWORD error = copy.replaceTarget(seams);
            if (error == 0) return kDone;
            if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
                error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
                WriteError failure = errorFrom(error);
                failure.reason += "; the new content is kept beside it under a hidden name";
                return {failure};
            }
            // Any other refusal leaves the file what it was: it is written in place instead.
        } else if (created != ERROR_ACCESS_DENIED) {
            return {errorFrom(created)};
        }
    }
    return overwriteInPlace(held.get(), bytes, seams);
}

Outcome writeOnce(const std::wstring& target, ByteView bytes, const WriteSeams& seams)
{
    // A folder first: opening one as a file fails with "access denied", which would mislead.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {WriteError{WriteErrorKind::Failed, "Is a directory", EISDIR}};

    const auto deadline = std::chrono::steady_clock::now() + seams.lockPatience;
    for (;;) {
        Handle held(::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (held.valid()) return replaceFile(target, std::move(held), bytes, seams, deadline);
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return createFile(target, bytes, seams);
        if (!isLocked(error) || std::chrono::steady_clock::now() >= deadline)
            return {errorFrom(error)};
        std::this_thread::sleep_for(kLockPoll);
    }
}

}  // namespace

std::optional<WriteError> writeFileSafely(const std::filesystem::path& target, ByteView bytes,
                                          const WriteSeams& seams)
{
    const std::wstring name = windows::systemPath(target);
    for (int start = 0; start < kMostStarts; ++start) {
        Outcome outcome = writeOnce(name, bytes, seams);
        if (!outcome.startOver) return std::move(outcome.error);
    }
    return WriteError{WriteErrorKind::Failed, kKeptChanging};
}

}  // namespace clockvane
