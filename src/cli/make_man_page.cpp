// Writes clockvane(1) at build time from the help texts and the page's own sections.
// Usage: clockvane_make_man_page OUT EXTRA_SECTIONS DATE SUMMARY
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/man_page.h"
#include "clockvane_version.h"

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: clockvane_make_man_page OUT EXTRA_SECTIONS DATE SUMMARY\n";
        return 2;
    }
    std::ifstream extraFile(argv[2], std::ios::binary);
    std::ostringstream extra;
    extra << extraFile.rdbuf();
    if (!extraFile) {
        std::cerr << argv[2] << ": cannot read\n";
        return 1;
    }
    const std::string page =
        clockvane::cli::manPage({clockvane::kVersion, argv[3], argv[4], extra.str()});
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << page;
    out.close();
    if (!out) {
        std::cerr << argv[1] << ": cannot write\n";
        return 1;
    }
    return 0;
}
