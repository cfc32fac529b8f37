#pragma once

#include <string_view>

#include "bytes/bytes.h"

namespace clockvane::cli {

// The PCI option ROM header a flash tool checks: 55 AA, then the ROM's length in units of
// 512 bytes at byte 2; the 8-bit sum of all bytes of that length must be 0.
enum class OptionRomChecksum { Valid, Invalid, NotApplicable };

// NotApplicable when the file has no 55 AA header, declares a length of 0, or is shorter
// than the length it declares.
OptionRomChecksum checkOptionRom(ByteView file);

// "valid", "invalid", "not applicable".
std::string_view optionRomChecksumText(OptionRomChecksum status);

}  // namespace clockvane::cli
