#include "files/windows_handle_win32.h"

#include <algorithm>

namespace clockvane::windows {
namespace {

// The largest piece one ReadFile or WriteFile call moves (its count is a 32-bit DWORD).
constexpr std::size_t kChunk = 64 * 1024;

Status seekTo(HANDLE file, std::size_t offset)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return checked(::SetFilePointerEx(file, position, nullptr, FILE_BEGIN));
}

}  // namespace

Result<Bytes, SystemError> readWhole(HANDLE file, std::size_t limit)
{
    if (const Status sought = seekTo(file, 0); !sought) return sought.error();
    Bytes all;
    std::uint8_t chunk[kChunk];
    while (all.size() < limit) {
        const auto wanted = static_cast<DWORD>(std::min(kChunk, limit - all.size()));
        DWORD got = 0;
        if (const Status read = checked(::ReadFile(file, chunk, wanted, &got, nullptr)); !read)
            return read.error();
        if (got == 0) break;
        all.insert(all.end(), chunk, chunk + got);
    }
    return all;
}

Status writeFromStart(HANDLE file, ByteView bytes,
                      const std::function<void(std::size_t)>& afterChunk)
{
    if (const Status sought = seekTo(file, 0); !sought) return sought;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto count = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD written = 0;
        if (const Status wrote =
                checked(::WriteFile(file, bytes.data() + done, count, &written, nullptr));
            !wrote)
            return wrote;
        if (written == 0) return SystemError{ERROR_WRITE_FAULT};
        done += written;
        if (afterChunk) afterChunk(done);
    }
    return {};
}

Status setLength(HANDLE file, std::size_t length)
{
    if (const Status sought = seekTo(file, length); !sought) return sought;
    return checked(::SetEndOfFile(file));
}

}  // namespace clockvane::windows
