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

// A text made safe for a terminal: a file name as the system gave it, or a text from the
// image (Latin-1 decoded into UTF-8). Control characters are shown as \xNN: U+0000-U+001F,
// U+007F and the C1 controls U+0080-U+009F written as UTF-8 (C2 80-C2 9F, shown by their code
// point), and the single bytes 0x80-0x9F wherever they are not part of well-formed UTF-8.
// Everything else, other bytes outside UTF-8 included, is passed on unchanged.
std::string printableText(std::string_view text);

// Column padding for the tables; the texts padded are ASCII.
std::string padLeft(std::string_view text, std::size_t width);
std::string padRight(std::string_view text, std::size_t width);

}  // namespace clockvane::cli
