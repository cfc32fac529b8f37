#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace clockvane {

// Image bytes are held exactly as they are in the file: no character set, no line ends.
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

}  // namespace clockvane
