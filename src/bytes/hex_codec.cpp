#include "bytes/hex_codec.h"

#include <algorithm>

namespace clockvane {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

std::uint8_t digitValue(char c)
{
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    return 0;
}

}  // namespace

std::string ToHexLE(ByteView bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    // Walked by index from the end: std::views::reverse over a span does not compile with
    // clang 14 and libstdc++ 12, which the fuzzing build uses.
    for (std::size_t pos = bytes.size(); pos-- > 0;) {
        const std::uint8_t byte = bytes[pos];
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

Bytes FromHexLE(std::string_view text)
{
    // Bytes are produced in reading order and each new one goes in front, so the result is
    // the reading order reversed.
    Bytes bytes;
    bytes.reserve((text.size() + 1) / 2);
    for (std::size_t pos = 0; pos < text.size(); pos += 2) {
        std::uint8_t value = digitValue(text[pos]);
        if (pos + 1 < text.size())
            value = static_cast<std::uint8_t>(value * 16 + digitValue(text[pos + 1]));
        bytes.push_back(value);
    }
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

}  // namespace clockvane
