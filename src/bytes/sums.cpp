#include "bytes/sums.h"

#include <cstdio>

#include "bytes/hex_codec.h"

namespace clockvane {

std::string formatSum16(std::uint32_t sum)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(sum & 0xFFFFu));
    return text;
}

std::uint16_t sum16(ByteView bytes)
{
    std::uint32_t sum = 0;
    for (const std::uint8_t byte : bytes) sum += byte;
    return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

std::string SumHexBytes(std::string_view hexText)
{
    // The digit pairs are the bytes FromHexLE reads, a lone last digit included; their order
    // does not change the sum.
    return SumBytes(FromHexLE(hexText));
}

}  // namespace clockvane
