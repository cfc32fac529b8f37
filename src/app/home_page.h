#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace clockvane::app {

// What the About picture asks the shell to open: an address with a scheme ("https://...") as it
// is, and anything else as a file named from the program's folder - the folder the classic
// shell's "Open" ran in - made absolute, so that it is found wherever the program lives.
struct ShellTarget {
    std::string url;             // set for an address with a scheme
    std::filesystem::path file;  // set otherwise
};
ShellTarget shellTarget(std::string_view address, const std::filesystem::path& programFolder);

}  // namespace clockvane::app
