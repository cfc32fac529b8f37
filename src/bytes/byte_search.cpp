#include "bytes/byte_search.h"

#include <algorithm>

namespace clockvane {

std::optional<std::size_t> findWithin(ByteView haystack, ByteView needle, std::size_t limit)
{
    const auto window = haystack.first(std::min(limit, haystack.size()));
    if (needle.empty() || needle.size() > window.size()) return std::nullopt;
    // string_view's search scans for the first byte with memchr, which is far faster than a
    // byte-by-byte std::search over the 50,000 bytes the signature may lie in.
    const std::string_view text{reinterpret_cast<const char*>(window.data()), window.size()};
    const std::string_view pattern{reinterpret_cast<const char*>(needle.data()), needle.size()};
    const std::size_t hit = text.find(pattern);
    if (hit == std::string_view::npos) return std::nullopt;
    return hit;
}

std::optional<std::size_t> findWithin(ByteView haystack, std::string_view needle, std::size_t limit)
{
    const ByteView needleBytes{reinterpret_cast<const std::uint8_t*>(needle.data()), needle.size()};
    return findWithin(haystack, needleBytes, limit);
}

std::optional<std::uint32_t> readLE(ByteView bytes, std::size_t offset, std::size_t width)
{
    if (width == 0 || width > 4 || offset > bytes.size() || bytes.size() - offset < width) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | bytes[offset + i];
    return value;
}

ByteView clippedSlice(ByteView bytes, std::size_t offset, std::size_t count)
{
    if (offset >= bytes.size()) return {};
    return bytes.subspan(offset, std::min(count, bytes.size() - offset));
}

}  // namespace clockvane
