#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace clockvane::cli {

// The length of the well-formed UTF-8 sequence starting at text[pos], and its code point; 0
// when the bytes there are not one (stray continuation byte, overlong form, surrogate, cut off
// sequence, or a value beyond U+10FFFF).
std::size_t decodeUtf8(std::string_view text, std::size_t pos, std::uint32_t& codePoint);

// The C0 controls, DEL and the C1 controls (U+0080-U+009F): a terminal acts on every one of
// them, the C1 ones too in UTF-8 mode.
constexpr bool isControl(std::uint32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace clockvane::cli
