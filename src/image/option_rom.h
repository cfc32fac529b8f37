#pragma once

#include <cstddef>
#include <optional>

#include "bytes/bytes.h"

namespace clockvane {

// A video BIOS is a PCI option ROM: it starts with 55 AA, byte 2 gives its length in units of
// 512 bytes, and all bytes of that length add up to 0 modulo 256. The system BIOS and the
// flash tools check that sum; bytes past the length belong to other firmware parts.
inline constexpr std::size_t kOptionRomBlockSize = 512;
// The longest length byte 2 can declare. No rule about the option ROM reads past it.
inline constexpr std::size_t kLongestOptionRom = 0xFF * kOptionRomBlockSize;

// The length byte 2 declares, or nothing without 55 AA or with a length byte of 0.
std::optional<std::size_t> optionRomLength(ByteView file);

enum class OptionRomChecksum {
    Valid,          // the declared length's bytes add up to 0 modulo 256
    Invalid,        // they do not
    NotApplicable,  // no declared length, or the file is shorter than it
};
OptionRomChecksum optionRomChecksum(ByteView file);
// The same from the 16-bit sum of all of `file`: the option ROM's bytes add up to that sum less
// the bytes after it, which are all this reads. An open, which sums the image anyway, saves a
// second pass over it.
OptionRomChecksum optionRomChecksum(ByteView file, std::uint16_t fileSum16);

// A file shorter than the option ROM it declares is a dump cut short, or one still being
// written. `fileLength` is the whole file's length.
bool isCutShort(ByteView file, std::size_t fileLength);

// The first offset at or past the option ROM's declared length (as `original` declares it)
// where `changed` differs from `original`; nothing when every change lies inside the option
// ROM, or when `original` declares none. Only offsets both hold are compared.
std::optional<std::size_t> firstChangePastOptionRom(ByteView original, ByteView changed);

// Whether the 8-bit sum over the option ROM's declared length (as `original` declares it,
// clipped to the shorter of the two) is the same in both. A balanced 16-bit image sum keeps
// it only while every changed byte lies inside that length.
bool optionRomSumUnchanged(ByteView original, ByteView changed);

}  // namespace clockvane
