// clockvane: the editor's reading, saving and comparing of BIOS images on the command line.
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "clockvane_version.h"

namespace {

using namespace clockvane::cli;

int runCommand(const std::vector<std::string>& arguments)
{
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

// What the tool printed must have reached standard output: a full disk or a closed pipe is a
// failure, as in the core utilities, not a silent loss of the report.
bool standardOutputReached()
{
    std::cout.flush();
    errno = 0;
    const bool written = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int writeError = errno;
    const bool closed = std::fclose(stdout) == 0;
    if (written && closed) return true;
    const int error = written ? errno : writeError;
    reportError("cannot write to standard output" +
                (error != 0 ? ": " + std::generic_category().message(error) : std::string()));
    return false;
}

}  // namespace

int clockvane::cli::runTool(const std::vector<std::string>& arguments)
{
    const int exitCode = runCommand(arguments);
    if (!standardOutputReached()) return kExitWriteFailed;
    return exitCode;
}

// Windows starts the tool at wmain (main_win32.cpp), which hands over the arguments as UTF-8.
#ifndef _WIN32
int main(int argc, char** argv)
{
    return clockvane::cli::runTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
