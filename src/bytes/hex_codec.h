#pragma once

#include <string>
#include <string_view>

#include "bytes/bytes.h"

namespace clockvane {

// Hex text of a little-endian field: uppercase, two digits per byte, last byte first.
// {01 95} gives "9501"; an empty field gives "".
std::string ToHexLE(ByteView bytes);

// The inverse of ToHexLE: pairs are read from the left and each new byte goes in front of
// those read so far. A lone last digit of an odd-length text is a byte of its own (0-15),
// which, being read last, becomes the first byte: "ABC" gives {0C AB}. Digits may be either
// case; a character that is not a hex digit counts as 0 (the editor never produces one).
Bytes FromHexLE(std::string_view text);

}  // namespace clockvane
