#pragma once

#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "bytes/bytes.h"

namespace clockvane::reliability {

// What a folder holds: each name with its kind, size and, for regular files, a hash of the
// content. Named pipes and very large files are not read.
std::map<std::string, std::string> folderContents(const std::filesystem::path& folder);

// Checks a saved copy against the file that was opened, after the 3D High Power GPU slider
// was moved to `gpu3dMhz` and nothing else: same length, the bytes past the image unchanged,
// only clock-block bytes changed, the image sum balanced, and the clock within 3 MHz (the
// compensation byte moves it by less than that).
::testing::AssertionResult savedCopyMatches(const Bytes& original, const Bytes& saved,
                                            int gpu3dMhz);

}  // namespace clockvane::reliability
