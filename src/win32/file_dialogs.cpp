#include "win32/file_dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "win32/win32_text.h"

namespace clockvane::win32 {

std::wstring dialogFilter(const std::string& filter)
{
    std::wstring result = wide(filter);
    for (wchar_t& character : result) {
        if (character == L'|') character = L'\0';
    }
    // Each string ends with a NUL and the list with one more; a filter of one pair needs both.
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

std::optional<std::string> runFileDialog(HWND owner, const app::FileDialogRequest& request,
                                         FileDialogKind kind)
{
    // Room for a long path (the flags ask for long names; \\?\ paths go up to 32,767).
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring proposed = wide(request.fileName);
    if (proposed.size() < name.size()) std::copy(proposed.begin(), proposed.end(), name.begin());
    const std::wstring filter = dialogFilter(request.filter);
    const std::wstring title = wide(request.title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.Flags = request.flags;
    const BOOL chosen =
        kind == FileDialogKind::Open ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return utf8(name.data());
}

}  // namespace clockvane::win32
