#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace clockvane {

// A clock field (units of 10 kHz) in MHz with two decimals, so that the compensation byte a
// save moves shows: 77,512 -> "775.12" with '.' as the separator.
std::string clockFieldMhzText(std::uint32_t raw, char separator);

// A byte offset as the tool and the comparison window show it: "0x5A1C", at least four digits.
std::string offsetText(std::size_t offset);

}  // namespace clockvane
