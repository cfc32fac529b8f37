#include "image/card_identity.h"

#include "bytes/byte_search.h"
#include "bytes/hex_codec.h"
#include "image/rom_image.h"

namespace clockvane {

const SupportedDevice& deviceInfo(CardType model)
{
    for (const auto& device : kSupportedDevices) {
        if (device.model == model) return device;
    }
    return kSupportedDevices.front();
}

std::string deviceIdText(ByteView image)
{
    if (image.size() < kDeviceIdOffset + 2) return {};
    return ToHexLE(image.subspan(kDeviceIdOffset, 2));
}

std::optional<CardType> cardForDeviceId(std::string_view text)
{
    for (const auto& device : kSupportedDevices) {
        if (device.deviceIdText == text) return device.model;
    }
    return std::nullopt;
}

MemoryInfo detectMemory(ByteView image)
{
    MemoryInfo memory;
    // "DDR4" also matches inside "GDDR4". A GDDR4 card always counts as 512 MB, so its size
    // texts are not looked at.
    if (findWithin(image, "DDR4", kIdentTextLimit)) {
        memory.isGddr4 = true;
        memory.size = MemorySize::MB512;
        return memory;
    }
    if (findWithin(image, "256MB", kIdentTextLimit)) {
        memory.size = MemorySize::MB256;  // wins when both texts are there
    } else if (findWithin(image, "512MB", kIdentTextLimit)) {
        memory.size = MemorySize::MB512;
    }
    return memory;
}

X2File x2FileNumber(ByteView image)
{
    return findWithin(image, "YOU HAVE NOT CONNECTED", image.size()) ? X2File::Second
                                                                     : X2File::First;
}

std::string cardLine(const CardModel& card)
{
    std::string line{deviceInfo(card.model).cardName};
    line += " - ";
    line += card.size == MemorySize::MB256 ? "256MB " : "512MB ";
    line += card.isGddr4 ? "GDDR4" : "GDDR3";
    return line;
}

}  // namespace clockvane
