// clockvane: the editor's reading, saving and comparing of BIOS images on the command line.
#include <cerrno>
#include <csignal>
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

    return endWith({kExitUsage, "unknown command '" + command + "' (see 'clockvane --help')"});
}

// What the tool printed must have reached standard output: a full disk or a closed pipe is a
// failure, as in the core utilities, not a silent loss of the report. The reason is errno as
// the first failing call left it: read right after that call, before any other can change it.
bool standardOutputReached()
{
    int reason = 0;
    const auto check = [&reason](bool succeeded) {
        if (!succeeded && reason == 0) reason = errno;
        return succeeded;
    };
    errno = 0;
    std::cout.flush();
    bool reached = check(!std::cout.fail());
    // Bytes still buffered from a write that failed earlier are tried again here, which gives
    // that failure's reason once more.
    errno = 0;
    reached = check(std::fflush(stdout) == 0) && reached;
    reached = std::ferror(stdout) == 0 && reached;
    errno = 0;
    reached = check(std::fclose(stdout) == 0) && reached;
    if (reached) return true;
    reportError("cannot write to standard output" +
                (reason != 0 ? ": " + std::generic_category().message(reason) : std::string()));
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
    // Under a file size limit (ulimit -f) a write past it would otherwise end the program in
    // the middle of a save; ignored, the write fails with EFBIG and the save puts the old file
    // back and says why.
    std::signal(SIGXFSZ, SIG_IGN);
    return clockvane::cli::runTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
