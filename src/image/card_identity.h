#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "bytes/bytes.h"

namespace clockvane {

enum class CardType { HD3870, HD3850, HD3870X2 };

// The device ID is the 16-bit little-endian value at 0x88-0x89, compared as its hex text.
inline constexpr std::size_t kDeviceIdOffset = 0x88;

struct SupportedDevice {
    std::string_view deviceIdText;  // as ToHexLE gives it: uppercase, most significant first
    CardType model;
    std::string_view cardName;  // as the card line shows it, UTF-8
    std::string_view key;       // stable identifier: HD3870, HD3850, HD3870X2
};

inline constexpr std::array<SupportedDevice, 3> kSupportedDevices{{
    {"9501", CardType::HD3870, "ATI HD3870", "HD3870"},
    {"9505", CardType::HD3850, "ATI HD3850", "HD3850"},
    {"950F", CardType::HD3870X2, "ATI HD3870 X\xC2\xB2", "HD3870X2"},
}};

const SupportedDevice& deviceInfo(CardType model);

// Hex text of the device ID, or "" when the image is too short to hold it.
std::string deviceIdText(ByteView image);

// The card for a device ID text; exact, case-sensitive comparison.
std::optional<CardType> cardForDeviceId(std::string_view deviceIdText);

// Memory type and size as the image's first 600 bytes tell them.
enum class MemorySize { MB256, MB512, Unknown };
struct MemoryInfo {
    bool isGddr4 = false;
    MemorySize size = MemorySize::Unknown;  // GDDR4 always counts as 512 MB
};
inline constexpr std::size_t kIdentTextLimit = 600;
MemoryInfo detectMemory(ByteView image);

// Which of the two BIOS files of an HD 3870 X2 this is: the second when the image holds
// "YOU HAVE NOT CONNECTED" anywhere, else the first.
enum class X2File { NotX2, First, Second };
X2File x2FileNumber(ByteView image);

struct CardModel {
    CardType model = CardType::HD3870;
    bool isGddr4 = false;
    MemorySize size = MemorySize::MB512;  // decided: by the image, or by asking
};

// "ATI HD3870 X² - 512MB GDDR3" (UTF-8).
std::string cardLine(const CardModel& card);

}  // namespace clockvane
