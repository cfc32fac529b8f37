// clockvane: the editor's reading, saving and comparing of BIOS images on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"

int main(int argc, char** argv)
{
    using namespace clockvane::cli;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cerr << kToolHelp;
        return kExitUsage;
    }

    const std::string& command = arguments.front();
    const std::span<const std::string> rest{arguments.begin() + 1, arguments.end()};
    if (command == "--help" || command == "-h") {
        std::cout << kToolHelp;
        return kExitDone;
    }
    if (command == "--version") {
        std::cout << "clockvane " CLOCKVANE_VERSION "\n";
        return kExitDone;
    }
    if (command == "info") return runInfo(rest);
    if (command == "set") return runSet(rest);
    if (command == "diff") return runDiff(rest);

    reportError("unknown command '" + command + "' (see 'clockvane --help')");
    return kExitUsage;
}
