#include "files/rom_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include <sys/stat.h>

namespace clockvane {
namespace {

FileError errorFromErrno(int error)
{
    const std::string reason = std::generic_category().message(error);
    switch (error) {
    case ENOENT:
    case ENOTDIR: return {FileErrorKind::NotFound, reason, error};
    case EACCES:
    case EPERM: return {FileErrorKind::AccessDenied, reason, error};
    case EISDIR: return {FileErrorKind::NotAFile, reason, error};
    default: return {FileErrorKind::ReadFailed, reason, error};
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

Result<RawFile, FileError> readRomFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) return errorFromErrno(ec.value());
    if (std::filesystem::is_directory(status)) return errorFromErrno(EISDIR);
    if (!std::filesystem::is_regular_file(status)) {
        // No errno tells this case: a device, a pipe or a socket.
        return FileError{FileErrorKind::NotAFile, "Not a regular file", 0};
    }

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return errorFromErrno(errno);

    // Read to the end rather than trusting a size taken earlier: the file may change between
    // the two, and whatever is read is what the editor then holds.
    Bytes all;
    std::uint8_t chunk[64 * 1024];
    int readError = 0;  // taken right after the read that failed, before anything else runs
    for (;;) {
        errno = 0;
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        if (got < sizeof chunk && std::ferror(file.get())) readError = errno != 0 ? errno : EIO;
        all.insert(all.end(), chunk, chunk + got);
        if (all.size() > kLargestAcceptedFile) {
            return FileError{FileErrorKind::TooLarge, "File too large for a video BIOS image",
                             EFBIG};
        }
        if (got < sizeof chunk) break;
    }
    if (readError != 0) return errorFromErrno(readError);

    return splitFileBytes(all);
}

std::optional<FileStamp> stampFile(const std::filesystem::path& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileStamp{.device = static_cast<std::uint64_t>(status.st_dev),
                     .inode = static_cast<std::uint64_t>(status.st_ino),
                     .size = static_cast<std::uint64_t>(status.st_size),
                     .modifiedNs =
                         static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                         status.st_mtim.tv_nsec};
}

}  // namespace clockvane
