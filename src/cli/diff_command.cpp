// clockvane diff: the settings of two images side by side, and every other byte that differs.
#include <array>
#include <iostream>
#include <tuple>
#include <utility>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "cli/image_diff.h"
#include "cli/json_writer.h"
#include "cli/opened_image.h"
#include "cli/structure_report.h"
#include "cli/text_format.h"
#include "text/texts.h"

namespace clockvane::cli {
namespace {

std::string valueText(ClockField field, std::uint32_t value)
{
    return field == ClockField::Vcore ? std::to_string(value) : mhzText(value);
}

void writeFieldJson(JsonWriter& json, ClockField field, std::uint32_t value)
{
    if (field == ClockField::Vcore) {
        json.integer(value);
    } else {
        json.number(mhzText(value));
    }
}

void writeJson(const OpenedImage& a, const OpenedImage& b, const ImageDiff& diff)
{
    JsonWriter json;
    json.beginObject();
    for (const auto& [name, opened, length] :
         {std::tuple{"a", &a, diff.lengthA}, std::tuple{"b", &b, diff.lengthB}}) {
        json.key(name);
        json.beginObject();
        json.key("file");
        json.string(opened->path);
        json.key("length");
        json.integer(static_cast<std::int64_t>(length));
        json.key("clock_block_offset");
        json.integer(static_cast<std::int64_t>(opened->rom.image.clockBlockOffset()));
        json.key("structure");
        writeStructureJson(json, opened->rom);
        json.endObject();
    }
    json.key("settings_match");
    json.boolean(diff.settingsMatch);
    json.key("states");
    json.beginObject();
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        const StateComparison& state = diff.states[s];
        json.key(kPowerStates[s].key);
        json.beginObject();
        for (const auto& [field, comparison] :
             {std::pair{ClockField::Gpu, &state.gpu}, std::pair{ClockField::Ram, &state.ram},
              std::pair{ClockField::Vcore, &state.vcore}}) {
            json.key(fieldKey(field));
            json.beginObject();
            json.key("a");
            writeFieldJson(json, field, comparison->a);
            json.key("b");
            writeFieldJson(json, field, comparison->b);
            json.key("match");
            json.boolean(comparison->match);
            json.endObject();
        }
        json.endObject();
    }
    json.endObject();
    json.key("hidden_entries");
    json.beginArray();
    for (const HiddenDifference& hidden : diff.hidden) {
        json.beginObject();
        json.key("entry");
        json.integer(static_cast<std::int64_t>(hidden.entry));
        json.key("field");
        json.string(fieldKey(hidden.field));
        json.key("a");
        writeFieldJson(json, hidden.field, hidden.a);
        json.key("b");
        writeFieldJson(json, hidden.field, hidden.b);
        json.endObject();
    }
    json.endArray();
    json.key("byte_ranges");
    json.beginArray();
    for (const ByteRange& range : diff.otherBytes) {
        json.beginObject();
        json.key("first");
        json.integer(static_cast<std::int64_t>(range.first));
        json.key("last");
        json.integer(static_cast<std::int64_t>(range.last));
        json.endObject();
    }
    json.endArray();
    json.key("lengths_differ");
    json.boolean(diff.lengthA != diff.lengthB);
    json.key("structure_differs");
    json.boolean(!diff.structuresMatch);
    json.endObject();
    std::cout << json.text();
}

std::string mark(const FieldComparison& comparison)
{
    if (comparison.a == comparison.b) return "";
    return comparison.match ? "  (compensation byte only)" : "  DIFFERENT";
}

void writeText(const OpenedImage& a, const OpenedImage& b, const ImageDiff& diff)
{
    std::cout << "A: " << printableText(a.path) << '\n' << "B: " << printableText(b.path) << "\n\n";
    std::cout << padRight("Power state", 14) << padRight("Field", 10) << padLeft("A", 10)
              << padLeft("B", 12) << '\n';
    constexpr std::array<const char*, 3> kLabels{"GPU MHz", "RAM MHz", "VCore mV"};
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        const StateComparison& state = diff.states[s];
        const std::array<const FieldComparison*, 3> fields{&state.gpu, &state.ram, &state.vcore};
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const auto field = static_cast<ClockField>(f);
            std::cout << padRight(f == 0 ? texts::kPowerStateNames[s].name : "", 14)
                      << padRight(kLabels[f], 10) << padLeft(valueText(field, fields[f]->a), 10)
                      << padLeft(valueText(field, fields[f]->b), 12) << mark(*fields[f]) << '\n';
        }
    }

    if (diff.hidden.empty()) {
        std::cout << "\nHidden entries (4, 5, 6, 8, 9): no differences\n";
    } else {
        std::cout << "\nHidden entries that differ:\n";
        for (const HiddenDifference& hidden : diff.hidden) {
            std::cout << "  entry " << hidden.entry << ' '
                      << kLabels[static_cast<std::size_t>(hidden.field)] << ": "
                      << valueText(hidden.field, hidden.a) << " / "
                      << valueText(hidden.field, hidden.b) << '\n';
        }
    }

    if (diff.otherBytes.empty()) {
        std::cout << "\nBytes outside the clock fields: no differences\n";
    } else {
        std::cout << "\nBytes outside the clock fields that differ:\n";
        for (const ByteRange& range : diff.otherBytes) {
            const std::size_t count = range.last - range.first + 1;
            std::cout << "  " << offsetText(range.first) << '-' << offsetText(range.last) << " ("
                      << count << (count == 1 ? " byte)\n" : " bytes)\n");
        }
    }
    if (diff.lengthA != diff.lengthB) {
        std::cout << "\nLengths differ: A has " << diff.lengthA << " bytes, B has " << diff.lengthB
                  << " (bytes compared up to the shorter length)\n";
    }
    if (a.rom.image.clockBlockOffset() != b.rom.image.clockBlockOffset()) {
        std::cout << "\nClock blocks at different offsets: A at "
                  << offsetText(a.rom.image.clockBlockOffset()) << ", B at "
                  << offsetText(b.rom.image.clockBlockOffset()) << '\n';
    }
    if (!diff.structuresMatch) {
        std::cout << "\nStructures differ:\n  A: " << structureText(a.rom)
                  << "\n  B: " << structureText(b.rom) << '\n';
    }
    std::cout << (diff.settingsMatch ? "\nSettings match.\n" : "\nSettings differ.\n");
}

}  // namespace

int runDiff(std::span<const std::string> arguments)
{
    constexpr std::array<AcceptedOption, 1> kOptions{{{"--json", false}}};
    auto outcome = parseCommand("diff", arguments, kOptions, kDiffHelp);
    if (const int* exitCode = std::get_if<int>(&outcome)) return *exitCode;
    const ParsedArguments* parsed = std::get_if<ParsedArguments>(&outcome);
    if (parsed->positional.size() != 2) {
        reportError("diff: expects two files, A and B (see 'clockvane diff --help')");
        return kExitUsage;
    }

    const auto a = openImage(parsed->positional[0]);
    const auto b = openImage(parsed->positional[1]);
    if (!a) reportFileError(parsed->positional[0], a.error());
    if (!b) reportFileError(parsed->positional[1], b.error());
    if (!a || !b) return kExitUsage;

    const ImageDiff diff = compareImages(a->rom, b->rom);
    if (parsed->has("--json")) {
        writeJson(*a, *b, diff);
    } else {
        writeText(*a, *b, diff);
    }
    return diff.same() ? kExitDone : kExitDifferences;
}

}  // namespace clockvane::cli
