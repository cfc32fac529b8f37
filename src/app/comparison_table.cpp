// The comparison window's table, built from the same comparison the tool's diff prints, with
// the window's words and the user's decimal separator.

#include "app/comparison_table.h"

#include <cstdio>

#include "bytes/sums.h"
#include "image/bios_info.h"
#include "layout/clock_layout.h"
#include "layout/voltage_text.h"
#include "text/number_text.h"
#include "text/texts.h"

namespace clockvane::app {
namespace {

std::string fieldText(ClockField field, std::uint32_t value, char separator)
{
    if (field == ClockField::Vcore)
        return formatMillivolts(static_cast<int>(value), separator) + " V";
    return clockFieldMhzText(value, separator) + " MHz";
}

std::string fieldName(ClockField field)
{
    switch (field) {
    case ClockField::Gpu: return "GPU";
    case ClockField::Ram: return "RAM";
    case ClockField::Vcore: break;
    }
    return "VCore";
}

std::string memoryText(const ComparedImage& image)
{
    std::string text = !image.sizeKnown                       ? "?"
                       : image.card.size == MemorySize::MB256 ? "256MB"
                                                              : "512MB";
    return text + (image.card.isGddr4 ? " GDDR4" : " GDDR3");
}

std::string structureCheckText(ClockTableCheck check, UiLanguage language)
{
    switch (check) {
    case ClockTableCheck::Confirmed: return texts::kStructureConfirmed.in(language);
    case ClockTableCheck::Contradicted: return texts::kStructureContradicted.in(language);
    case ClockTableCheck::NotAvailable: break;
    }
    return texts::kStructureNotAvailable.in(language);
}

// A plain line: marked when the two texts differ.
ComparisonRow textRow(std::string label, std::string first, std::string second, UiLanguage language)
{
    const bool differs = first != second;
    return {std::move(label), std::move(first), std::move(second), differs,
            differs ? texts::kCompareDifferent.in(language) : std::string()};
}

ComparisonRow fieldRow(std::string label, ClockField field, const FieldComparison& comparison,
                       UiLanguage language, char separator)
{
    ComparisonRow row{std::move(label), fieldText(field, comparison.a, separator),
                      fieldText(field, comparison.b, separator), comparison.a != comparison.b};
    if (!comparison.match) {
        row.note = texts::kCompareDifferent.in(language);
    } else if (row.differs) {
        row.note = texts::kCompareCompensationOnly.in(language);
    }
    return row;
}

}  // namespace

ComparisonTable comparisonTable(const ComparedImage& first, const ComparedImage& second,
                                const ImageDiff& diff, UiLanguage language, char separator)
{
    ComparisonTable table{texts::kCompareTitle.in(language), first.name, second.name, {}};
    auto& rows = table.rows;
    rows.push_back(textRow(texts::kCompareCard.in(language),
                           std::string(deviceInfo(first.rom.model).cardName),
                           std::string(deviceInfo(second.rom.model).cardName), language));
    rows.push_back(textRow(texts::kCompareMemory.in(language), memoryText(first),
                           memoryText(second), language));
    rows.push_back(textRow(std::string(texts::kVersionCaption),
                           versionText(first.rom.image.fileImage),
                           versionText(second.rom.image.fileImage), language));

    constexpr std::array<ClockField, 3> kFields{ClockField::Gpu, ClockField::Ram,
                                                ClockField::Vcore};
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        const StateComparison& state = diff.states[s];
        const std::array<const FieldComparison*, 3> fields{&state.gpu, &state.ram, &state.vcore};
        for (std::size_t f = 0; f < kFields.size(); ++f) {
            // The window's names of the states: "3D High Power", as the boxes' messages say.
            const std::string_view state = texts::kPowerStateNames[s].name;
            rows.push_back(fieldRow(std::string(state) + " " + fieldName(kFields[f]), kFields[f],
                                    *fields[f], language, separator));
        }
    }
    for (const HiddenDifference& hidden : diff.hidden) {
        rows.push_back({texts::kCompareHidden.in(language) + " " + std::to_string(hidden.entry) +
                            " " + fieldName(hidden.field),
                        fieldText(hidden.field, hidden.a, separator),
                        fieldText(hidden.field, hidden.b, separator), true,
                        texts::kCompareDifferent.in(language)});
    }

    const std::string bytesLabel = texts::kCompareBytes.in(language);
    if (diff.otherBytes.empty()) {
        const std::string none = texts::kCompareNoOtherBytes.in(language);
        rows.push_back({bytesLabel, none, none, false});
    }
    for (std::size_t i = 0; i < diff.otherBytes.size() && i < kShownByteRanges; ++i) {
        const ByteRange& range = diff.otherBytes[i];
        rows.push_back({bytesLabel, offsetText(range.first) + "-" + offsetText(range.last),
                        texts::byteCountText(range.last - range.first + 1, language), true,
                        texts::kCompareDifferent.in(language)});
    }
    if (diff.otherBytes.size() > kShownByteRanges) {
        rows.push_back({bytesLabel,
                        texts::moreRangesText(diff.otherBytes.size() - kShownByteRanges, language),
                        "", true, texts::kCompareDifferent.in(language)});
    }
    rows.push_back(textRow(texts::kCompareLength.in(language), std::to_string(diff.lengthA),
                           std::to_string(diff.lengthB), language));
    rows.push_back(textRow("Checksum-16", formatSum16(first.rom.loadedSum),
                           formatSum16(second.rom.loadedSum), language));
    rows.push_back(textRow(texts::kCompareStructure.in(language),
                           structureCheckText(first.rom.clockTableCheck, language),
                           structureCheckText(second.rom.clockTableCheck, language), language));
    if (!diff.structuresMatch && !rows.back().differs) {
        rows.back().differs = true;
        rows.back().note = texts::kCompareDifferent.in(language);
    }
    return table;
}

std::string comparisonText(const ComparisonTable& table)
{
    std::string text = table.firstHeading + " | " + table.secondHeading;
    for (const ComparisonRow& row : table.rows) {
        text += "\r" + row.label + ": " + row.first + " | " + row.second;
        if (!row.note.empty()) text += "  (" + row.note + ")";
    }
    return text;
}

}  // namespace clockvane::app
