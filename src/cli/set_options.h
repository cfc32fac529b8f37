#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bytes/result.h"
#include "cli/arguments.h"

namespace clockvane::cli {

// A slider moved to a whole-MHz value within its range.
struct SliderEdit {
    std::size_t slider;
    int mhz;
};

// A VCore box typed with a plain decimal number from 0.9 to 1.327 V; '.' is its separator.
struct BoxEdit {
    std::size_t box;
    std::string text;
};

// The `set` command line, checked before any file is touched.
struct SetRequest {
    std::vector<std::string> files;
    std::optional<std::string> output;  // -o, only with one file
    std::vector<SliderEdit> sliderEdits;
    std::vector<BoxEdit> boxEdits;
    bool unlinkUvd = false;
    bool classic = false;
    bool force = false;
};

// The options `set` accepts: -o, --unlink-uvd, --classic, --force and, for every power
// state (bootup, 2d, 3d-low, 3d, uvd), --STATE-gpu, --STATE-ram and --STATE-vcore.
std::vector<AcceptedOption> setAcceptedOptions();

// Checks the parsed command line: clocks whole MHz within the slider's range, voltages plain
// decimal numbers (a point or a comma as separator) within the boxes' limits, UVD options
// only with --unlink-uvd, -o only with one file. The error text names the offending option.
Result<SetRequest, std::string> makeSetRequest(const ParsedArguments& parsed);

}  // namespace clockvane::cli
