#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bytes/bytes.h"

namespace clockvane {

// A sum as four uppercase hex digits: the value modulo 0x10000, leading zeros kept.
std::string formatSum16(std::uint32_t sum);

// 16-bit sum of all byte values ("Checksum-16").
std::uint16_t sum16(ByteView bytes);
inline std::string SumBytes(ByteView bytes) { return formatSum16(sum16(bytes)); }

// The same sum for bytes written as hex digit pairs; a lone last digit counts as 0-15.
std::string SumHexBytes(std::string_view hexText);

}  // namespace clockvane
