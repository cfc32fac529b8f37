#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/arguments.h"

namespace clockvane::cli {

// The whole tool: runs the command the arguments (without the program's name) name, makes
// sure standard output was written, and returns the exit code.
int runTool(const std::vector<std::string>& arguments);

// Each command takes the arguments after its name and returns the tool's exit code.
int runInfo(std::span<const std::string> arguments);
int runSet(std::span<const std::string> arguments);
int runDiff(std::span<const std::string> arguments);

// Parses the arguments of `command`. A usage error is reported and "--help" answered here;
// either way the exit code to return comes back instead of the arguments.
std::variant<ParsedArguments, int> parseCommand(std::string_view command,
                                                std::span<const std::string> arguments,
                                                std::span<const AcceptedOption> accepted,
                                                std::string_view help);

// Writes "clockvane: <text>" to standard error.
void reportError(const std::string& text);
// Writes "clockvane: <file>: <text>" to standard error.
void reportFileError(const std::string& file, const std::string& text);

}  // namespace clockvane::cli
