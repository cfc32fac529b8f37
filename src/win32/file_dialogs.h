#pragma once

#include <windows.h>

#include <optional>
#include <string>

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

}  // namespace clockvane::win32
