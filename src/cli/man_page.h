#pragma once

#include <string>
#include <string_view>

namespace clockvane::cli {

// What the manual page takes besides the help texts: its header line, its one-line summary, and
// sections written for it alone (EXAMPLES, SEE ALSO), already in roff.
struct ManPageFrame {
    std::string_view version;
    std::string_view date;
    std::string_view summary;
    std::string_view extraSections;
};

// clockvane(1) in roff, made from the tool's and each command's --help text, so that the page,
// the help and the program's options cannot tell different stories.
std::string manPage(const ManPageFrame& frame);

}  // namespace clockvane::cli
