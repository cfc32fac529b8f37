#include "image/option_rom.h"

#include <algorithm>
#include <cstdint>

#include "bytes/byte_search.h"
#include "bytes/sums.h"

namespace clockvane {
namespace {

std::uint8_t sum8(ByteView bytes)
{
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : bytes) sum = static_cast<std::uint8_t>(sum + byte);
    return sum;
}

}  // namespace

std::optional<std::size_t> optionRomLength(ByteView file)
{
    const auto signature = readLE(file, 0, 2);
    const auto blocks = readLE(file, 2, 1);
    if (!signature || *signature != 0xAA55 || !blocks || *blocks == 0) return std::nullopt;
    return *blocks * kOptionRomBlockSize;
}

OptionRomChecksum optionRomChecksum(ByteView file) { return optionRomChecksum(file, sum16(file)); }

OptionRomChecksum optionRomChecksum(ByteView file, std::uint16_t fileSum16)
{
    const auto length = optionRomLength(file);
    if (!length || file.size() < *length) return OptionRomChecksum::NotApplicable;
    // 256 divides 65,536: the low byte of the 16-bit difference is the 8-bit sum.
    const auto romSum = static_cast<std::uint16_t>(fileSum16 - sum16(file.subspan(*length)));
    return (romSum & 0xFFu) == 0 ? OptionRomChecksum::Valid : OptionRomChecksum::Invalid;
}

bool isCutShort(ByteView file, std::size_t fileLength)
{
    const auto length = optionRomLength(file);
    return length && fileLength < *length;
}

std::optional<std::size_t> firstChangePastOptionRom(ByteView original, ByteView changed)
{
    const auto length = optionRomLength(original);
    if (!length) return std::nullopt;
    const std::size_t end = std::min(original.size(), changed.size());
    for (std::size_t offset = *length; offset < end; ++offset) {
        if (original[offset] != changed[offset]) return offset;
    }
    return std::nullopt;
}

bool optionRomSumUnchanged(ByteView original, ByteView changed)
{
    const auto length = optionRomLength(original);
    if (!length) return true;
    const std::size_t end = std::min({*length, original.size(), changed.size()});
    return sum8(original.first(end)) == sum8(changed.first(end));
}

}  // namespace clockvane
