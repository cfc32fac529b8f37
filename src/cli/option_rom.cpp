#include "cli/option_rom.h"

#include <cstdint>

namespace clockvane::cli {

OptionRomChecksum checkOptionRom(ByteView file)
{
    constexpr std::size_t kBlockSize = 512;
    if (file.size() < 3 || file[0] != 0x55 || file[1] != 0xAA)
        return OptionRomChecksum::NotApplicable;
    const std::size_t length = file[2] * kBlockSize;
    if (length == 0 || file.size() < length) return OptionRomChecksum::NotApplicable;
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i) sum = static_cast<std::uint8_t>(sum + file[i]);
    return sum == 0 ? OptionRomChecksum::Valid : OptionRomChecksum::Invalid;
}

std::string_view optionRomChecksumText(OptionRomChecksum status)
{
    switch (status) {
    case OptionRomChecksum::Valid: return "valid";
    case OptionRomChecksum::Invalid: return "invalid";
    case OptionRomChecksum::NotApplicable: break;
    }
    return "not applicable";
}

}  // namespace clockvane::cli
