#include "cli/structure_report.h"

#include <cstdio>

#include "cli/text_format.h"

namespace clockvane::cli {
namespace {

const PowerPlayLayout* layoutOf(const LoadedRom& rom)
{
    const auto& powerPlay = rom.structure.powerPlay;
    return powerPlay && powerPlay->layout ? &*powerPlay->layout : nullptr;
}

std::string revisionText(const PowerPlayTable& table)
{
    return std::to_string(table.formatRevision) + "." + std::to_string(table.contentRevision);
}

void optionalInteger(JsonWriter& json, const std::optional<std::size_t>& value)
{
    if (value) {
        json.integer(static_cast<std::int64_t>(*value));
    } else {
        json.null();
    }
}

}  // namespace

std::string_view optionRomChecksumText(OptionRomChecksum status)
{
    switch (status) {
    case OptionRomChecksum::Valid: return "valid";
    case OptionRomChecksum::Invalid: return "invalid";
    case OptionRomChecksum::NotApplicable: break;
    }
    return "not applicable";
}

std::string_view clockTableCheckText(ClockTableCheck check)
{
    switch (check) {
    case ClockTableCheck::Confirmed: return "confirmed";
    case ClockTableCheck::Contradicted: return "contradicted";
    case ClockTableCheck::NotAvailable: break;
    }
    return "not available";
}

void writeStructureJson(JsonWriter& json, const LoadedRom& rom)
{
    const auto& powerPlay = rom.structure.powerPlay;
    const PowerPlayLayout* layout = layoutOf(rom);
    json.beginObject();
    json.key("check");
    json.string(clockTableCheckText(rom.clockTableCheck));
    json.key("atom_header");
    json.boolean(rom.structure.atomHeader);
    json.key("powerplay_offset");
    optionalInteger(json, powerPlay ? std::optional{powerPlay->offset} : std::nullopt);
    json.key("powerplay_revision");
    if (powerPlay) {
        json.string(revisionText(*powerPlay));
    } else {
        json.null();
    }
    json.key("clock_info_offset");
    optionalInteger(json, layout ? std::optional{layout->clockInfoOffset} : std::nullopt);
    json.key("clock_info_count");
    optionalInteger(json, layout ? layout->clockInfoCount : std::nullopt);
    json.key("clock_info_size");
    optionalInteger(json, layout ? std::optional{layout->clockInfoSize} : std::nullopt);
    json.endObject();
}

std::string structureText(const LoadedRom& rom)
{
    std::string text{clockTableCheckText(rom.clockTableCheck)};
    const auto& powerPlay = rom.structure.powerPlay;
    if (!rom.structure.atomHeader) return text + " (no ATOM ROM header)";
    if (!powerPlay) return text + " (no PowerPlay table)";
    text += " (PowerPlay table at " + offsetText(powerPlay->offset) + ", revision " +
            revisionText(*powerPlay);
    if (const PowerPlayLayout* layout = layoutOf(rom)) {
        const std::string count = layout->clockInfoCount ? std::to_string(*layout->clockInfoCount)
                                                         : "an unknown number of";
        text += ": " + count + " clock-info entries of " + std::to_string(layout->clockInfoSize) +
                " bytes at " + offsetText(layout->clockInfoOffset);
    } else {
        text += ", a layout this tool does not read";
    }
    return text + ")";
}

std::optional<std::string> idText(const std::optional<std::uint16_t>& id)
{
    if (!id) return std::nullopt;
    char text[5];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(*id));
    return std::string(text);
}

std::vector<std::string> openWarnings(const LoadedRom& rom)
{
    std::vector<std::string> warnings;
    if (rom.structure.cutShort && rom.structure.optionRomLength) {
        warnings.push_back("the file is shorter than the image it holds (" +
                           std::to_string(rom.image.fileLength()) + " of " +
                           std::to_string(*rom.structure.optionRomLength) +
                           " bytes); it is probably an incomplete dump, so saving it is not "
                           "advised");
    }
    if (rom.clockTableCheck == ClockTableCheck::Contradicted) {
        warnings.push_back("the BIOS's own power table places the clock table elsewhere, so "
                           "saving would rewrite bytes that may not be clocks: " +
                           structureText(rom) + ", clock block found at " +
                           offsetText(rom.image.clockBlockOffset()));
    }
    return warnings;
}

std::optional<std::string> changePastOptionRomText(const RomImage& image)
{
    const auto offset = firstChangePastOptionRom(image.fileImage, image.outputImage);
    if (!offset) return std::nullopt;
    return "the save would change the byte at " + offsetText(*offset) +
           ", past the option ROM's declared length of " +
           std::to_string(optionRomLength(image.fileImage).value_or(0)) +
           " bytes, where the checksum correction cannot keep the option ROM's own checksum; "
           "nothing written";
}

}  // namespace clockvane::cli
