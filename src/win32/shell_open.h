#pragma once

#include <string>

namespace clockvane::win32 {

// The folder clockvane-editor.exe is in, without a trailing backslash.
std::wstring programFolder();

// The shell's "open" on an address with no parameters, the program's folder as the working
// folder and a normal window. An address without a scheme is a path from the program's
// folder, resolved here: the shell itself would resolve it against the current folder. The
// result is not checked: with no handler nothing happens.
void shellOpen(const std::string& address);

}  // namespace clockvane::win32
