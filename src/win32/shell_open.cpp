#include "win32/shell_open.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

bool hasScheme(const std::wstring& address)
{
    const auto colon = address.find(L':');
    // "C:\..." is a drive, not a scheme: schemes have two letters at least.
    return colon != std::wstring::npos && colon > 1 && address.find(L"://") == colon;
}

}  // namespace

std::wstring programFolder()
{
    std::vector<wchar_t> name(32768, L'\0');
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    std::wstring path(name.data(), length);
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void shellOpen(const std::string& address)
{
    const std::wstring folder = programFolder();
    std::wstring target = wide(address);
    if (!hasScheme(target)) {
        std::vector<wchar_t> full(32768, L'\0');
        const std::wstring joined = folder + L"\\" + target;
        if (::GetFullPathNameW(joined.c_str(), static_cast<DWORD>(full.size()), full.data(),
                               nullptr))
            target = full.data();
    }
    ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
}

}  // namespace clockvane::win32
