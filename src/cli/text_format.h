#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/number_text.h"
#include "text/printable.h"

namespace clockvane::cli {

// A clock field (units of 10 kHz) as MHz with two decimals, exact: 79084 -> "790.84".
std::string mhzText(std::uint32_t raw);

// An offset as the tool prints it: "0x5A1C".
using clockvane::offsetText;

// Texts from the image and file names are made safe for the terminal by the core's
// printableText, the one the window uses too.
using clockvane::printableText;

// Column padding for the tables; the texts padded are ASCII.
std::string padLeft(std::string_view text, std::size_t width);
std::string padRight(std::string_view text, std::size_t width);

}  // namespace clockvane::cli
