#pragma once

#include <span>
#include <string>

namespace clockvane::cli {

// Each command takes the arguments after its name and returns the tool's exit code.
int runInfo(std::span<const std::string> arguments);
int runSet(std::span<const std::string> arguments);
int runDiff(std::span<const std::string> arguments);

// Writes "clockvane: <text>" to standard error.
void reportError(const std::string& text);
// Writes "clockvane: <file>: <text>" to standard error.
void reportFileError(const std::string& file, const std::string& text);

}  // namespace clockvane::cli
