#include "checksum/sums.h"

#include <cstdio>

#include "rom/hex_codec.h"

namespace clockvane {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

}  // namespace

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
    std::uint32_t sum = 0;
    for (std::size_t pos = 0; pos < hexText.size(); pos += 2) {
        int value = hexDigit(hexText[pos]);
        if (pos + 1 < hexText.size()) value = value * 16 + hexDigit(hexText[pos + 1]);
        sum += static_cast<std::uint32_t>(value);
    }
    return formatSum16(sum);
}

int ClockFieldSum(const ClockEntries& entries)
{
    const auto byteSum = [](std::uint32_t value, int width) {
        int sum = 0;
        for (int i = 0; i < width; ++i) sum += static_cast<int>((value >> (8 * i)) & 0xFF);
        return sum;
    };
    int total = 0;
    for (const ClockEntry& entry : entries) {
        total += byteSum(entry.gpuClock, 3) + byteSum(entry.ramClock, 3) + byteSum(entry.vcore, 2);
    }
    return total;
}

}  // namespace clockvane
