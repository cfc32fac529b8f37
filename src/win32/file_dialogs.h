#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/platform.h"

namespace clockvane::win32 {

// The filter as the common dialogs take it: "Description|patterns|..." with every '|' a NUL
// and a second NUL at the end.
std::wstring dialogFilter(const std::string& filter);

enum class FileDialogKind { Open, Save };

// Shows GetOpenFileNameW or GetSaveFileNameW with the request's title, filter, proposed name
// and exactly its flags (so the overwrite question is the system's own). The chosen path, or
// nothing when the user cancelled or the dialog failed.
std::optional<std::string> runFileDialog(HWND owner, const app::FileDialogRequest& request,
                                         FileDialogKind kind);

// The open dialog that lets the user pick several files (the two BIOS files of an HD 3870 X2):
// the request's flags with OFN_ALLOWMULTISELECT and OFN_EXPLORER added. The chosen paths, or
// nothing when cancelled or failed.
std::optional<std::vector<std::string>> runOpenFilesDialog(HWND owner,
                                                           const app::FileDialogRequest& request);

// The paths in a multi-select dialog's answer: "folder NUL name NUL name NUL NUL" for several
// files, or one full path followed by two NULs for one.
std::vector<std::string> chosenFiles(std::wstring_view answer);

}  // namespace clockvane::win32
