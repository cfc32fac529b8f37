// clockvane info: what the window shows after opening a file, as text or as one JSON object.
#include <array>
#include <iostream>

#include "bytes/sums.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "cli/json_writer.h"
#include "cli/opened_image.h"
#include "cli/structure_report.h"
#include "cli/text_format.h"
#include "image/bios_info.h"
#include "image/card_identity.h"
#include "layout/voltage_text.h"
#include "text/texts.h"

namespace clockvane::cli {
namespace {

// Everything `info` reports, gathered once for both output forms.
struct InfoReport {
    const OpenedImage& opened;
    std::string deviceId;
    std::string version;
    std::string date;
    std::string checksum16;
    std::vector<std::string> rangeMessages;
};

InfoReport gatherInfo(const OpenedImage& opened)
{
    const ByteView image{opened.rom.image.fileImage};
    return InfoReport{opened,          deviceIdText(image), versionText(image),
                      dateText(image), SumBytes(image),     rangeLines(opened)};
}

std::string_view memoryTypeText(const MemoryInfo& memory)
{
    return memory.isGddr4 ? "GDDR4" : "GDDR3";
}

void optionalString(JsonWriter& json, const std::optional<std::string>& text)
{
    if (text) {
        json.string(*text);
    } else {
        json.null();
    }
}

void writeJson(const InfoReport& report)
{
    const LoadedRom& rom = report.opened.rom;
    JsonWriter json;
    json.beginObject();
    json.key("card");
    json.string(deviceInfo(rom.model).key);
    json.key("device_id");
    json.string(report.deviceId);
    json.key("x2_file");
    if (rom.x2File != X2File::NotX2) {
        json.integer(rom.x2File == X2File::Second ? 2 : 1);
    } else {
        json.null();
    }
    json.key("memory_type");
    json.string(memoryTypeText(rom.memory));
    json.key("memory_size_mb");
    switch (rom.memory.size) {
    case MemorySize::MB256: json.integer(256); break;
    case MemorySize::MB512: json.integer(512); break;
    case MemorySize::Unknown: json.null(); break;
    }
    json.key("bios_version");
    json.string(report.version);
    json.key("bios_date");
    json.string(report.date);
    json.key("checksum16");
    json.string(report.checksum16);
    json.key("clock_block_offset");
    json.integer(static_cast<std::int64_t>(rom.image.clockBlockOffset()));
    json.key("option_rom_checksum");
    json.string(optionRomChecksumText(rom.structure.optionRomChecksum));
    json.key("option_rom_length");
    if (rom.structure.optionRomLength) {
        json.integer(static_cast<std::int64_t>(*rom.structure.optionRomLength));
    } else {
        json.null();
    }
    json.key("file_length");
    json.integer(static_cast<std::int64_t>(rom.image.fileLength()));
    json.key("subsystem_vendor_id");
    optionalString(json, idText(rom.structure.subsystemVendorId));
    json.key("subsystem_id");
    optionalString(json, idText(rom.structure.subsystemId));
    json.key("structure");
    writeStructureJson(json, rom);
    json.key("range_messages");
    json.beginArray();
    for (const std::string& line : report.rangeMessages) json.string(line);
    json.endArray();
    json.key("states");
    json.beginObject();
    for (const PowerState& state : kPowerStates) {
        const ClockEntry& entry = rom.clocks.asRead[state.entry()];
        json.key(state.key);
        json.beginObject();
        json.key("gpu_mhz");
        json.number(mhzText(entry.gpuClock));
        json.key("ram_mhz");
        json.number(mhzText(entry.ramClock));
        json.key("gpu_slider");
        json.integer(report.opened.sliders[state.gpuSlider].sliderValue);
        json.key("ram_slider");
        json.integer(report.opened.sliders[state.ramSlider].sliderValue);
        json.key("vcore_mv");
        json.integer(entry.vcore);
        json.key("vcore_text");
        json.string(formatMillivolts(entry.vcore, '.'));
        json.endObject();
    }
    json.endObject();
    json.endObject();
    std::cout << json.text();
}

void writeText(const InfoReport& report)
{
    const LoadedRom& rom = report.opened.rom;
    std::string memory{memoryTypeText(rom.memory)};
    switch (rom.memory.size) {
    case MemorySize::MB256: memory = "256MB " + memory; break;
    case MemorySize::MB512: memory = "512MB " + memory; break;
    case MemorySize::Unknown: memory += ", size unknown (the image does not state it)"; break;
    }
    const RomStructure& structure = rom.structure;
    std::string romLength = "-";
    if (structure.optionRomLength) {
        romLength = std::to_string(*structure.optionRomLength) + " bytes";
        if (structure.cutShort) romLength += " (longer than the file: an incomplete dump?)";
    }
    std::string subsystem = "-";
    if (structure.subsystemVendorId && structure.subsystemId) {
        subsystem = *idText(structure.subsystemVendorId) + ":" + *idText(structure.subsystemId);
    }
    std::cout << "File:                " << printableText(report.opened.path) << '\n'
              << "Card:                " << deviceInfo(rom.model).cardName << '\n'
              << "Device ID:           " << report.deviceId << '\n'
              << "X2 file:             "
              << (rom.x2File == X2File::NotX2    ? "-"
                  : rom.x2File == X2File::Second ? "2 of 2"
                                                 : "1 of 2")
              << '\n'
              << "Memory:              " << memory << '\n'
              << "BIOS version:        " << printableText(report.version) << '\n'
              << "BIOS date:           " << printableText(report.date) << '\n'
              << "Checksum-16:         " << report.checksum16 << '\n'
              << "Clock block:         " << offsetText(rom.image.clockBlockOffset()) << '\n'
              << "File length:         " << rom.image.fileLength() << " bytes\n"
              << "Option ROM length:   " << romLength << '\n'
              << "Option ROM checksum: " << optionRomChecksumText(structure.optionRomChecksum)
              << '\n'
              << "Subsystem:           " << subsystem << '\n'
              << "Clock table check:   " << structureText(rom) << "\n\n";

    std::cout << padRight("Power state", 14) << padLeft("GPU MHz", 10) << padLeft("slider", 8)
              << padLeft("RAM MHz", 11) << padLeft("slider", 8) << "   VCore\n";
    for (const PowerState& state : kPowerStates) {
        const ClockEntry& entry = rom.clocks.asRead[state.entry()];
        std::cout << padRight(texts::namesOfSlider(state.gpuSlider).name, 14)
                  << padLeft(mhzText(entry.gpuClock), 10)
                  << padLeft(std::to_string(report.opened.sliders[state.gpuSlider].sliderValue), 8)
                  << padLeft(mhzText(entry.ramClock), 11)
                  << padLeft(std::to_string(report.opened.sliders[state.ramSlider].sliderValue), 8)
                  << "   " << formatMillivolts(entry.vcore, '.') << " V (" << entry.vcore
                  << " mV)\n";
    }
}

}  // namespace

int runInfo(std::span<const std::string> arguments)
{
    constexpr std::array<AcceptedOption, 1> kOptions{{{"--json", false}}};
    auto outcome = parseCommand("info", arguments, kOptions, kInfoHelp);
    if (const int* exitCode = std::get_if<int>(&outcome)) return *exitCode;
    const ParsedArguments* parsed = std::get_if<ParsedArguments>(&outcome);
    if (parsed->positional.size() != 1) {
        reportError("info: expects exactly one FILE (see 'clockvane info --help')");
        return kExitUsage;
    }

    const std::string& path = parsed->positional.front();
    const auto opened = openImage(path);
    if (!opened) {
        reportFileError(path, opened.error());
        return kExitUsage;
    }
    const InfoReport report = gatherInfo(*opened);
    for (const std::string& line : openWarnings(opened->rom))
        reportFileError(path, "warning: " + line);
    for (const std::string& line : report.rangeMessages) reportFileError(path, line);
    if (parsed->has("--json")) {
        writeJson(report);
    } else {
        writeText(report);
    }
    return kExitDone;
}

}  // namespace clockvane::cli
