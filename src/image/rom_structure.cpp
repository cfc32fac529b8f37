#include "image/rom_structure.h"

#include <algorithm>

#include "bytes/byte_search.h"
#include "bytes/sums.h"
#include "image/card_identity.h"

namespace clockvane {
namespace {

// Every ATOM table begins with a 16-bit structure size and two 8-bit revisions.
constexpr std::size_t kCommonHeaderSize = 4;
constexpr std::size_t kTableSizeField = 0;
constexpr std::size_t kFormatRevisionField = 2;
constexpr std::size_t kContentRevisionField = 3;

constexpr std::size_t kRomHeaderPointer = 0x48;
constexpr std::string_view kAtomText = "ATOM";
constexpr std::size_t kAtomTextField = 4;
constexpr std::size_t kSubsystemVendorIdField = 0x18;
constexpr std::size_t kSubsystemIdField = 0x1A;
constexpr std::size_t kMasterDataTableField = 0x20;
constexpr std::size_t kRomHeaderFieldsEnd = 0x22;

// The option ROM's own header, and its pointer to the PCI data structure.
constexpr std::size_t kOptionRomHeaderEnd = 0x20;
constexpr std::size_t kPciDataPointer = 0x18;
constexpr std::string_view kPciDataText = "PCIR";
constexpr std::size_t kPciDataLengthField = 0x0A;
constexpr std::size_t kPciDataShortest = 0x18;

constexpr std::size_t kPowerPlayEntry = 15;

// PowerPlay table, format revision 4.
constexpr std::uint8_t kPowerPlayFormatRead = 4;
constexpr std::size_t kStateCountField = 5;
constexpr std::size_t kStateEntrySizeField = 6;
constexpr std::size_t kClockInfoSizeField = 7;
constexpr std::size_t kStateArrayField = 9;
constexpr std::size_t kClockInfoArrayField = 11;
constexpr std::size_t kPowerPlayFieldsEnd = 15;

std::optional<std::size_t> word(ByteView file, std::size_t offset)
{
    return readLE(file, offset, 2);
}

std::optional<std::size_t> byteAt(ByteView file, std::size_t offset)
{
    return readLE(file, offset, 1);
}

// Fields [offset, offset + count) lie inside the file (no overflow for any offset).
bool fits(ByteView file, std::size_t offset, std::size_t count)
{
    return offset <= file.size() && file.size() - offset >= count;
}

bool textAt(ByteView file, std::size_t offset, std::string_view text)
{
    const ByteView found = clippedSlice(file, offset, text.size());
    return std::equal(found.begin(), found.end(), text.begin(), text.end());
}

// The ROM header's offset when "ATOM" stands in it and all its fields lie inside the file.
std::optional<std::size_t> findRomHeader(ByteView file)
{
    const auto header = word(file, kRomHeaderPointer);
    if (!header || !fits(file, *header, kRomHeaderFieldsEnd)) return std::nullopt;
    if (!textAt(file, *header + kAtomTextField, kAtomText)) return std::nullopt;
    return header;
}

// Entry 15 of the master data table, when the table lies inside the file, its own size says it
// has that entry, and the entry is not 0.
std::optional<std::size_t> findPowerPlay(ByteView file, std::size_t romHeader)
{
    const auto table = word(file, romHeader + kMasterDataTableField);
    if (!table || *table == 0) return std::nullopt;
    const std::size_t entry = kCommonHeaderSize + 2 * kPowerPlayEntry;
    const auto tableSize = word(file, *table + kTableSizeField);
    if (!tableSize || *tableSize < entry + 2) return std::nullopt;
    const auto powerPlay = word(file, *table + entry);
    if (!powerPlay || *powerPlay == 0) return std::nullopt;
    return powerPlay;
}

// The largest clock-info index any state uses, plus one. Each state is a non-clock index and
// then its clock-info indices; the loops are bounded by the table's own 8-bit counts.
std::optional<std::size_t> countClockInfos(ByteView file, std::size_t stateArray,
                                           std::size_t stateCount, std::size_t entrySize)
{
    if (!fits(file, stateArray, stateCount * entrySize)) return std::nullopt;
    std::size_t count = 0;
    for (std::size_t state = 0; state < stateCount; ++state) {
        const ByteView entry = file.subspan(stateArray + state * entrySize, entrySize);
        for (std::size_t k = 1; k < entry.size(); ++k)
            count = std::max<std::size_t>(count, entry[k] + 1u);
    }
    return count;
}

std::optional<PowerPlayTable> readPowerPlay(ByteView file, std::size_t offset)
{
    if (!fits(file, offset, kCommonHeaderSize)) return std::nullopt;
    PowerPlayTable table;
    table.offset = offset;
    table.formatRevision = file[offset + kFormatRevisionField];
    table.contentRevision = file[offset + kContentRevisionField];
    if (table.formatRevision != kPowerPlayFormatRead || !fits(file, offset, kPowerPlayFieldsEnd))
        return table;

    PowerPlayLayout layout;
    layout.stateCount = *byteAt(file, offset + kStateCountField);
    layout.stateEntrySize = *byteAt(file, offset + kStateEntrySizeField);
    layout.clockInfoSize = *byteAt(file, offset + kClockInfoSizeField);
    layout.clockInfoOffset = offset + *word(file, offset + kClockInfoArrayField);
    layout.clockInfoCount = countClockInfos(file, offset + *word(file, offset + kStateArrayField),
                                            layout.stateCount, layout.stateEntrySize);
    table.layout = layout;
    return table;
}

}  // namespace

std::vector<OffsetRange> identifyingRanges(ByteView image)
{
    std::vector<OffsetRange> ranges{{0, kOptionRomHeaderEnd},
                                    {kRomHeaderPointer, kRomHeaderPointer + 2},
                                    {kDeviceIdOffset, kDeviceIdOffset + 2}};
    // A table's length field is believed only upwards: a shorter one still keeps every field
    // this program or a flash tool reads.
    const auto table = [&](std::size_t offset, std::size_t declared, std::size_t shortest) {
        ranges.push_back({offset, offset + std::max(declared, shortest)});
    };
    const auto pciData = word(image, kPciDataPointer);
    if (pciData && textAt(image, *pciData, kPciDataText))
        table(*pciData, word(image, *pciData + kPciDataLengthField).value_or(0), kPciDataShortest);
    if (const auto header = findRomHeader(image))
        table(*header, *word(image, *header + kTableSizeField), kRomHeaderFieldsEnd);
    for (OffsetRange& range : ranges) {
        range.begin = std::min(range.begin, image.size());
        range.end = std::min(range.end, image.size());
    }
    return ranges;
}

RomStructure readRomStructure(ByteView file) { return readRomStructure(file, sum16(file)); }

RomStructure readRomStructure(ByteView file, std::uint16_t fileSum16)
{
    RomStructure structure;
    structure.optionRomLength = optionRomLength(file);
    structure.optionRomChecksum = optionRomChecksum(file, fileSum16);
    structure.cutShort = isCutShort(file, file.size());

    const auto header = findRomHeader(file);
    if (!header) return structure;
    structure.atomHeader = true;
    structure.subsystemVendorId =
        static_cast<std::uint16_t>(*word(file, *header + kSubsystemVendorIdField));
    structure.subsystemId = static_cast<std::uint16_t>(*word(file, *header + kSubsystemIdField));
    if (const auto powerPlay = findPowerPlay(file, *header))
        structure.powerPlay = readPowerPlay(file, *powerPlay);
    return structure;
}

ClockTableCheck checkClockTable(const RomStructure& structure, const FoundClockTable& found)
{
    if (!structure.atomHeader || !structure.powerPlay || !structure.powerPlay->layout)
        return ClockTableCheck::NotAvailable;
    const PowerPlayLayout& layout = *structure.powerPlay->layout;
    const bool confirmed = layout.clockInfoOffset == found.offset &&
                           layout.clockInfoSize == found.entrySize && layout.clockInfoCount &&
                           *layout.clockInfoCount >= found.entryCount;
    return confirmed ? ClockTableCheck::Confirmed : ClockTableCheck::Contradicted;
}

}  // namespace clockvane
