#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace clockvane {

// The byte of every written clock field that the checksum correction later moves.
inline constexpr std::uint8_t kCompensationMiddle = 0x7F;

// A slider's whole MHz as a clock field: mhz x 100 with its least significant byte replaced
// by 0x7F (v - v mod 256 + 127). 775 MHz -> 77,439 (bytes 7F 2E 01).
std::uint32_t EncodeClock(std::int16_t mhz);

// A box text in volts as whole millivolts, halves to even (1.0625 -> 1062, 1.1875 -> 1188).
// The text is read with the caller's decimal separator; nothing when it is not a number or
// does not fit the 16-bit field.
std::optional<std::uint16_t> EncodeVcore(std::string_view text, char separator);

}  // namespace clockvane
