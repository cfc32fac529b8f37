#include "win32/shell_open.h"

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <vector>

#include "app/home_page.h"

#include "win32/win32_text.h"

namespace clockvane::win32 {

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
    const app::ShellTarget shown = app::shellTarget(address, std::filesystem::path(folder));
    const std::wstring target = shown.url.empty() ? shown.file.wstring() : wide(shown.url);
    ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
}

}  // namespace clockvane::win32
