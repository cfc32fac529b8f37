#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace clockvane {

// The path named by UTF-8 text, the program's one encoding for names. A std::string given to
// std::filesystem::path is read in the system's narrow encoding instead, which on Windows is
// not UTF-8 (MinGW's library takes each byte for a character of its own): every name that
// comes from the user goes through here before it reaches readRomFile or writeFileSafely.
std::filesystem::path pathFromUtf8(std::string_view utf8);
// The other way: a path's name as UTF-8 text.
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace clockvane
