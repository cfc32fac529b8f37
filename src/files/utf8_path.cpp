#include "files/utf8_path.h"

#include <string>

namespace clockvane {

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    // char8_t text is UTF-8 by definition: taken as it is on POSIX, turned into UTF-16 on
    // Windows.
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace clockvane
