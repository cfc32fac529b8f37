#include "cli/arguments.h"

#include <algorithm>

namespace clockvane::cli {
namespace {

const AcceptedOption* findAccepted(std::string_view name, std::span<const AcceptedOption> accepted)
{
    const auto found =
        std::find_if(accepted.begin(), accepted.end(),
                     [name](const AcceptedOption& option) { return option.name == name; });
    return found == accepted.end() ? nullptr : &*found;
}

bool looksLikeOption(std::string_view argument)
{
    // A lone "-" is no option; the commands refuse it as a name (kStandardStreamRefusal).
    return argument.size() > 1 && argument.front() == '-';
}

}  // namespace

bool ParsedArguments::has(std::string_view name) const
{
    return std::any_of(options.begin(), options.end(),
                       [name](const GivenOption& option) { return option.name == name; });
}

Result<ParsedArguments, std::string> parseArguments(std::span<const std::string> arguments,
                                                    std::span<const AcceptedOption> accepted)
{
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !looksLikeOption(argument)) {
            parsed.positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.helpRequested = true;
            continue;
        }

        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const AcceptedOption* declared = findAccepted(name, accepted);
        if (declared == nullptr) return "unknown option '" + name + "'";
        if (parsed.has(name)) return "option '" + name + "' given twice";

        GivenOption option{name, {}};
        if (declared->takesValue) {
            if (equals != std::string::npos) {
                option.value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                option.value = arguments[++i];
            } else {
                return "option '" + name + "' needs a value";
            }
        } else if (equals != std::string::npos) {
            return "option '" + name + "' takes no value";
        }
        parsed.options.push_back(std::move(option));
    }
    return parsed;
}

}  // namespace clockvane::cli
