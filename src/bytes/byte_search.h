#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "bytes/bytes.h"

namespace clockvane {

// Offset of the first occurrence of `needle` that lies wholly within bytes [0, limit) of
// `haystack` (limit is clipped to the haystack's size). Comparison is byte-exact.
std::optional<std::size_t> findWithin(ByteView haystack, ByteView needle, std::size_t limit);
std::optional<std::size_t> findWithin(ByteView haystack, std::string_view needle,
                                      std::size_t limit);

// Little-endian unsigned field of 1 to 4 bytes at `offset`, or nothing when it does not fit.
std::optional<std::uint32_t> readLE(ByteView bytes, std::size_t offset, std::size_t width);

// The bytes [offset, offset + count) clipped to the end of `bytes` (empty when offset is past it).
ByteView clippedSlice(ByteView bytes, std::size_t offset, std::size_t count);

}  // namespace clockvane
