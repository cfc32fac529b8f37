#pragma once

namespace clockvane::cli {

// The tool's exit codes. With several files the highest code of any file is returned, so
// a higher number always means a worse outcome.
enum ExitCode : int {
    kExitDone = 0,
    kExitDifferences = 1,   // diff: the two images' settings differ
    kExitUsage = 2,         // bad arguments, or a file that cannot be opened, read or used
    kExitNotCorrected = 3,  // the checksum could not be balanced
    kExitWriteFailed = 4,   // the output file could not be written
};

}  // namespace clockvane::cli
