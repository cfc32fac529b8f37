#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bytes/bytes.h"

namespace clockvane {

// The text the BIOS version follows; the classic checksum correction finds its area by it too.
inline constexpr std::string_view kVersionMarker = "ATI VER";
inline constexpr std::size_t kVersionLength = 22;
inline constexpr std::size_t kDateOffset = 0x50;
inline constexpr std::size_t kDateLength = 14;

// Offset of the first "ATI VER" lying wholly within the first 600 bytes.
std::optional<std::size_t> versionMarkerOffset(ByteView image);

// The 22 bytes after the marker (fewer when the image ends first); empty without a marker.
Bytes versionBytes(ByteView image);
std::string versionText(ByteView image);  // the same, decoded as Latin-1 into UTF-8

// The date label: the 14 bytes at 0x50 split at every space; field 0, "  - ", field 1.
// Without a space, field 0 alone. Decoded as Latin-1 into UTF-8.
std::string dateText(ByteView image);

}  // namespace clockvane
