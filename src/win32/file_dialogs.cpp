#include "win32/file_dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
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

namespace {

// Shows the dialog and leaves the chosen name or names in `name`; false when cancelled.
bool showDialog(HWND owner, const app::FileDialogRequest& request, FileDialogKind kind,
                DWORD extraFlags, std::vector<wchar_t>& name)
{
    // Room for long paths (the flags ask for long names; \\?\ paths go up to 32,767), or for
    // a folder and several names.
    name.assign(65536, L'\0');
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
    dialog.Flags = request.flags | extraFlags;
    return kind == FileDialogKind::Open ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
}

}  // namespace

std::optional<std::string> runFileDialog(HWND owner, const app::FileDialogRequest& request,
                                         FileDialogKind kind)
{
    std::vector<wchar_t> name;
    if (!showDialog(owner, request, kind, 0, name)) return std::nullopt;
    return utf8(name.data());
}

std::optional<std::vector<std::string>> runOpenFilesDialog(HWND owner,
                                                           const app::FileDialogRequest& request)
{
    std::vector<wchar_t> name;
    if (!showDialog(owner, request, FileDialogKind::Open, OFN_ALLOWMULTISELECT | OFN_EXPLORER,
                    name))
        return std::nullopt;
    return chosenFiles(std::wstring_view(name.data(), name.size()));
}

std::vector<std::string> chosenFiles(std::wstring_view answer)
{
    std::vector<std::wstring_view> parts;
    while (!answer.empty() && answer.front() != L'\0') {
        const std::size_t end = std::min(answer.find(L'\0'), answer.size());
        parts.push_back(answer.substr(0, end));
        answer.remove_prefix(std::min(end + 1, answer.size()));
    }
    std::vector<std::string> paths;
    if (parts.size() == 1) paths.push_back(utf8(parts.front()));
    for (std::size_t i = 1; i < parts.size(); ++i) {
        // The folder of a drive's root ends in a backslash already ("C:\").
        std::wstring path(parts.front());
        if (path.back() != L'\\') path += L'\\';
        paths.push_back(utf8(path + std::wstring(parts[i])));
    }
    return paths;
}

}  // namespace clockvane::win32
