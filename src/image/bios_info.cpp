#include "image/bios_info.h"

#include <algorithm>
#include <string_view>

#include "bytes/byte_search.h"
#include "bytes/latin1.h"
#include "image/card_identity.h"

namespace clockvane {
std::optional<std::size_t> versionMarkerOffset(ByteView image)
{
    return findWithin(image, kVersionMarker, kIdentTextLimit);
}

Bytes versionBytes(ByteView image)
{
    const auto marker = versionMarkerOffset(image);
    if (!marker) return {};
    // The 22 bytes are taken from the whole image and may reach past byte 599.
    const ByteView version = clippedSlice(image, *marker + kVersionMarker.size(), kVersionLength);
    return Bytes(version.begin(), version.end());
}

std::string versionText(ByteView image) { return latin1ToUtf8(versionBytes(image)); }

std::string dateText(ByteView image)
{
    const ByteView raw = clippedSlice(image, kDateOffset, kDateLength);
    // Fields are separated by single spaces; two spaces in a row make an empty field.
    const auto firstSpace = static_cast<std::size_t>(std::ranges::find(raw, ' ') - raw.begin());
    std::string text = latin1ToUtf8(raw.first(firstSpace));
    if (firstSpace == raw.size()) return text;  // no space: field 0 alone

    const ByteView rest = raw.subspan(firstSpace + 1);
    const auto fieldEnd = static_cast<std::size_t>(std::ranges::find(rest, ' ') - rest.begin());
    text += "  - ";
    text += latin1ToUtf8(rest.first(fieldEnd));
    return text;
}

}  // namespace clockvane
