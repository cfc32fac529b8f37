#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/result.h"

namespace clockvane::cli {

// An option a command accepts: "--json", "-o" and so on, with or without a value.
struct AcceptedOption {
    std::string_view name;
    bool takesValue;
};

struct GivenOption {
    std::string name;   // as declared, e.g. "--3d-gpu"
    std::string value;  // empty for a flag
};

// A command line split into options (in the order given) and positional arguments.
struct ParsedArguments {
    std::vector<GivenOption> options;
    std::vector<std::string> positional;
    bool helpRequested = false;  // "--help" or "-h" anywhere

    bool has(std::string_view name) const;
};

// A lone "-" stands for standard input or output in many tools. This one reads and writes
// files only, so "-" as a FILE or as -o's OUT is a usage error with this text, rather than
// the name of a file that most likely does not exist or that nobody meant to create.
inline constexpr std::string_view kStandardStreamName = "-";
inline constexpr std::string_view kStandardStreamRefusal =
    "'-' (standard input or output) is not supported: give a file name (./- for a file named "
    "'-')";

// Options may stand before, between or after the positional arguments; a value follows its
// option as the next argument or after "=" ("--3d-gpu=800"). "--" ends the options, so a
// file named "-x.rom" can still be given. An unknown option, a missing value, a value given
// to a flag, or an option given twice is an error whose text names the option.
Result<ParsedArguments, std::string> parseArguments(std::span<const std::string> arguments,
                                                    std::span<const AcceptedOption> accepted);

}  // namespace clockvane::cli
