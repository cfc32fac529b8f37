#pragma once

// The file layer's bridge to the Windows API: the program holds every path and text as UTF-8,
// the system takes and gives UTF-16 (the wide, "W" functions; the ANSI ones are never called,
// since their code page may not hold the name). Windows builds only.

#include <filesystem>
#include <string>
#include <string_view>

namespace clockvane::windows {

// UTF-8 to UTF-16 and back. Ill-formed input becomes U+FFFD rather than an error: a name the
// user typed or a message of the system is shown, never refused.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// The path as the wide file functions take it: absolute, with '/' turned into '\', "." and ".."
// resolved, and the "\\?\" prefix ("\\?\UNC\" for a share) that lifts the 260-character limit
// on every Windows version. The prefix also turns off the system's own clean-up of the path,
// which is why the path is made absolute and normal here first.
std::wstring systemPath(const std::filesystem::path& path);

// The system's description of a Windows error code (FormatMessageW), as UTF-8 without the
// line end it comes with; "Windows error <code>" when the system has none.
std::string systemMessage(unsigned long error);

// The C library error number nearest to a Windows error code, so that the window words the
// common reasons in its own language as it does elsewhere; 0 when none is near.
int nearestErrno(unsigned long error);

}  // namespace clockvane::windows
