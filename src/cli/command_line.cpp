// What every command does with its command line before its own work: report a usage error,
// answer "--help", and write messages to standard error in one form.
#include <algorithm>
#include <iostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/text_format.h"

namespace clockvane::cli {

// Messages quote file names and command-line words, which may hold any byte: control
// characters are escaped so that no name can move the cursor, clear the terminal or forge a
// line of its own.
void reportError(const std::string& text)
{
    std::cerr << "clockvane: " << printableText(text) << '\n';
}

void reportFileError(const std::string& file, const std::string& text)
{
    std::cerr << "clockvane: " << printableText(file) << ": " << printableText(text) << '\n';
}

int endWith(const ToolError& error)
{
    if (!error.message.empty()) reportError(error.message);
    return error.exitCode;
}

Result<ParsedArguments, ToolError> parseCommand(std::string_view command,
                                                std::span<const std::string> arguments,
                                                std::span<const AcceptedOption> accepted,
                                                std::string_view help)
{
    auto parsed = parseArguments(arguments, accepted);
    if (!parsed) {
        return ToolError{kExitUsage, std::string(command) + ": " + parsed.error() +
                                         " (see 'clockvane " + std::string(command) + " --help')"};
    }
    if (parsed->helpRequested) {
        std::cout << help;
        return ToolError{kExitDone, {}};
    }
    if (std::ranges::find(parsed->positional, std::string_view(kStandardStreamName)) !=
        parsed->positional.end())
        return ToolError{kExitUsage,
                         std::string(command) + ": " + std::string(kStandardStreamRefusal)};
    return std::move(parsed).value();
}

}  // namespace clockvane::cli
