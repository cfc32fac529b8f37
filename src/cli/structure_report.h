#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/json_writer.h"
#include "image/rom_loader.h"

namespace clockvane::cli {

// "valid", "invalid", "not applicable".
std::string_view optionRomChecksumText(OptionRomChecksum status);
// "confirmed", "contradicted", "not available".
std::string_view clockTableCheckText(ClockTableCheck check);

// The `structure` object of `info` and `diff`: check, atom_header, powerplay_offset,
// powerplay_revision ("4.1": format and content revision), clock_info_offset,
// clock_info_count and clock_info_size, null when absent.
void writeStructureJson(JsonWriter& json, const LoadedRom& rom);
// The same in one line: "confirmed (PowerPlay table at 0xAE6A, revision 4.1: 10 clock-info
// entries of 16 bytes at 0xAEA2)".
std::string structureText(const LoadedRom& rom);

// A subsystem ID as "1A2B", or nothing.
std::optional<std::string> idText(const std::optional<std::uint16_t>& id);

// What the window warns about on opening this file, as sentences for standard error: a file
// shorter than the option ROM it declares, and a clock table its own PowerPlay table
// contradicts. Empty for a whole image whose clock table is confirmed or cannot be checked.
std::vector<std::string> openWarnings(const LoadedRom& rom);

// Set when the save changed a byte at or past the option ROM's declared length: the sentence
// that says so. Such an image is never written.
std::optional<std::string> changePastOptionRomText(const RomImage& image);

}  // namespace clockvane::cli
