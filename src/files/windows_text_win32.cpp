#include "files/windows_text_win32.h"

#include <windows.h>

#include <cerrno>

namespace clockvane::windows {

std::wstring toWide(std::string_view utf8)
{
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string toUtf8(std::wstring_view wide)
{
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring systemPath(const std::filesystem::path& path)
{
    // std::filesystem holds a path as UTF-16 on Windows (MinGW's library reads a narrow
    // string as UTF-8), so the wide form is the path exactly as the caller named it.
    const std::wstring given = path.wstring();
    if (given.rfind(LR"(\\?\)", 0) == 0) return given;

    // GetFullPathNameW is string work only (no file is touched) and takes paths of any
    // length: it makes the path absolute against the current folder and resolves "." and "..".
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD needed = ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()),
                                                full.data(), nullptr);
        if (needed == 0) return given;  // the call that uses the path reports the error
        if (needed < full.size()) {
            full.resize(needed);
            break;
        }
        full.resize(needed);
    }
    if (full.rfind(LR"(\\.\)", 0) == 0) return full;  // a device: no prefix applies
    if (full.rfind(LR"(\\)", 0) == 0) return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

std::string systemMessage(unsigned long error)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length != 0 ? std::wstring(buffer, length) : std::wstring();
    if (buffer != nullptr) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) return "Windows error " + std::to_string(error);
    return toUtf8(text);
}

int nearestErrno(unsigned long error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return ENOENT;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_DIRECTORY: return ENOTDIR;
    default: return 0;
    }
}

}  // namespace clockvane::windows
