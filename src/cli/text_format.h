#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace clockvane::cli {

// A clock field (units of 10 kHz) as MHz with two decimals, exact: 79084 -> "790.84".
std::string mhzText(std::uint32_t raw);

// An offset as the tool prints it: "0x5A1C".
std::string offsetText(std::size_t offset);

// A text from the image (Latin-1 decoded into UTF-8) made safe for a terminal: control
// characters (U+0000-U+001F, U+007F-U+009F) are shown as \xNN, everything else unchanged.
std::string printableText(std::string_view utf8);

// Column padding for the tables; the texts padded are ASCII.
std::string padLeft(std::string_view text, std::size_t width);
std::string padRight(std::string_view text, std::size_t width);

}  // namespace clockvane::cli
