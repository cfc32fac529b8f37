// Reading an image on Windows: the same promises as elsewhere, through the wide file API.
#include <windows.h>

#include <cerrno>

#include "files/rom_file.h"
#include "files/windows_handle_win32.h"
#include "files/windows_text_win32.h"

namespace clockvane {
namespace {

FileError errorFromSystem(windows::SystemError system)
{
    const DWORD error = system.code;
    FileError failure{FileErrorKind::ReadFailed, windows::systemMessage(error),
                      windows::nearestErrno(error)};
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME: failure.kind = FileErrorKind::NotFound; break;
    // A file another program keeps to itself is as closed to us as one we may not read.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: failure.kind = FileErrorKind::AccessDenied; break;
    default: break;
    }
    return failure;
}

}  // namespace

Result<RawFile, FileError> readRomFile(const std::filesystem::path& path)
{
    const std::wstring name = windows::systemPath(path);
    // A folder first: opening one as a file fails with "access denied", which would mislead.
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return errorFromSystem(windows::lastError());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileError{FileErrorKind::NotAFile, "Is a directory", EISDIR};

    // Other programs may go on reading, writing and renaming the file while it is read: the
    // editor holds a copy of what it read, never the file.
    const windows::Handle file(::CreateFileW(
        name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return errorFromSystem(windows::lastError());
    // A console, a pipe or a printer port answers to a file name too.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return FileError{FileErrorKind::NotAFile, "Not a regular file", 0};

    // Read to the end rather than trusting a size taken earlier: the file may change between
    // the two, and whatever is read is what the editor then holds.
    const auto all = windows::readWhole(file.get(), kLargestAcceptedFile + 1);
    if (!all) return errorFromSystem(all.error());
    if (all->size() > kLargestAcceptedFile)
        return FileError{FileErrorKind::TooLarge, "File too large for a video BIOS image", EFBIG};
    return splitFileBytes(*all);
}

std::optional<FileStamp> stampFile(const std::filesystem::path& path)
{
    // Opened without any access right: enough to ask which file it is, and it gets in the way
    // of no other program. The volume's serial number and the file index tell files apart as
    // device and inode do; the last write time counts 100 ns steps from 1601.
    const windows::Handle file(::CreateFileW(windows::systemPath(path).c_str(), 0,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                             nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file.valid() || !::GetFileInformationByHandle(file.get(), &information))
        return std::nullopt;
    const auto join = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | low;
    };
    return FileStamp{
        .device = information.dwVolumeSerialNumber,
        .inode = join(information.nFileIndexHigh, information.nFileIndexLow),
        .size = join(information.nFileSizeHigh, information.nFileSizeLow),
        .modifiedNs = static_cast<std::int64_t>(join(information.ftLastWriteTime.dwHighDateTime,
                                                     information.ftLastWriteTime.dwLowDateTime)) *
                      100};
}

}  // namespace clockvane
