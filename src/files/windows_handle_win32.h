#pragma once

// An owned Windows file handle and whole reads and writes by position: the pieces the reading
// and the safe writing on Windows are built from. Windows builds only.

#include <windows.h>

#include <cstddef>
#include <functional>

#include "bytes/bytes.h"
#include "bytes/result.h"

namespace clockvane::windows {

// A failed call's Windows error code, taken with GetLastError() at once after the call that
// set it: any later call may change it, so it is never asked for anywhere else.
struct SystemError {
    DWORD code;
};

// Success, or the error code of the call that failed.
using Status = Result<void, SystemError>;

// The error code of the call that has just failed.
inline SystemError lastError() { return {::GetLastError()}; }

// The outcome of a call that returns a Windows BOOL and sets the last error when it fails.
inline Status checked(BOOL succeeded)
{
    if (!succeeded) return lastError();
    return {};
}

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = other.release();
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { reset(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    void reset()
    {
        if (valid()) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    HANDLE release()
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Reads the file from its first byte, whatever the handle's position, stopping once `limit`
// bytes are in.
Result<Bytes, SystemError> readWhole(HANDLE file, std::size_t limit = SIZE_MAX);

// Writes `bytes` from the file's first byte on, in chunks, telling `afterChunk` the bytes
// done so far.
Status writeFromStart(HANDLE file, ByteView bytes,
                      const std::function<void(std::size_t)>& afterChunk = nullptr);

// Cuts or extends the file to `length` bytes.
Status setLength(HANDLE file, std::size_t length);

}  // namespace clockvane::windows
