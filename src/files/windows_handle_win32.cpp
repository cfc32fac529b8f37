#include "files/windows_handle_win32.h"

#include <algorithm>

namespace clockvane::windows {
namespace {

// The largest piece one ReadFile or WriteFile call moves (its count is a 32-bit DWORD).
constexpr std::size_t kChunk = 64 * 1024;

DWORD seekTo(HANDLE file, std::size_t offset)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ? 0 : ::GetLastError();
}

}  // namespace

DWORD readWhole(HANDLE file, Bytes& into, std::size_t limit)
{
    into.clear();
    if (const DWORD error = seekTo(file, 0)) return error;
    std::uint8_t chunk[kChunk];
    while (into.size() < limit) {
        const auto wanted = static_cast<DWORD>(std::min(kChunk, limit - into.size()));
        DWORD got = 0;
        if (!::ReadFile(file, chunk, wanted, &got, nullptr)) return ::GetLastError();
        if (got == 0) break;
        into.insert(into.end(), chunk, chunk + got);
    }
    return 0;
}

DWORD writeFromStart(HANDLE file, ByteView bytes,
                     const std::function<void(std::size_t)>& afterChunk)
{
    if (const DWORD error = seekTo(file, 0)) return error;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto count = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, count, &written, nullptr))
            return ::GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        done += written;
        if (afterChunk) afterChunk(done);
    }
    return 0;
}

DWORD setLength(HANDLE file, std::size_t length)
{
    if (const DWORD error = seekTo(file, length)) return error;
    return ::SetEndOfFile(file) ? 0 : ::GetLastError();
}

}  // namespace clockvane::windows
