#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/result.h"
#include "cli/arguments.h"
#include "cli/exit_codes.h"

namespace clockvane::cli {

// The whole tool: runs the command the arguments (without the program's name) name, makes
// sure standard output was written, and returns the exit code.
int runTool(const std::vector<std::string>& arguments);

// Each command takes the arguments after its name and returns the tool's exit code.
int runInfo(std::span<const std::string> arguments);
int runSet(std::span<const std::string> arguments);
int runDiff(std::span<const std::string> arguments);

// Why a command ends before doing its work: the exit code to return and the text for standard
// error. A "--help" answered while parsing ends the command too, with kExitDone and no text.
struct ToolError {
    ExitCode exitCode;
    std::string message;  // written as "clockvane: <message>"; nothing when empty
};

// Reports `error` on standard error and returns its exit code.
int endWith(const ToolError& error);

// Parses the arguments of `command`. "--help" is answered here; it and a usage error end the
// command, which returns the error's exit code after endWith() has reported it.
Result<ParsedArguments, ToolError> parseCommand(std::string_view command,
                                                std::span<const std::string> arguments,
                                                std::span<const AcceptedOption> accepted,
                                                std::string_view help);

// Writes "clockvane: <text>" to standard error.
void reportError(const std::string& text);
// Writes "clockvane: <file>: <text>" to standard error.
void reportFileError(const std::string& file, const std::string& text);

}  // namespace clockvane::cli
