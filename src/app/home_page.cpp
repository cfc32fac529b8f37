#include "app/home_page.h"

namespace clockvane::app {
namespace {

// "https:", "file:", "mailto:": a letter, then letters, digits, '+', '-' or '.', then a colon.
// One letter before the colon is a Windows drive ("C:\..."), not a scheme.
bool hasScheme(std::string_view address)
{
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isLetter(address[0])) return false;
    for (const char c : address.substr(1, colon - 1)) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

}  // namespace

ShellTarget shellTarget(std::string_view address, const std::filesystem::path& programFolder)
{
    if (hasScheme(address)) return {std::string(address), {}};
    return {{}, (programFolder / std::filesystem::path(address)).lexically_normal()};
}

}  // namespace clockvane::app
