#include "image/image_diff.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "layout/clock_set.h"

namespace clockvane {
namespace {

constexpr std::array<ClockField, 3> kFields{ClockField::Gpu, ClockField::Ram, ClockField::Vcore};

std::uint32_t fieldValue(const ClockEntry& entry, ClockField field)
{
    switch (field) {
    case ClockField::Gpu: return entry.gpuClock;
    case ClockField::Ram: return entry.ramClock;
    case ClockField::Vcore: break;
    }
    return entry.vcore;
}

FieldComparison compareField(const ClockEntry& a, const ClockEntry& b, ClockField field)
{
    FieldComparison comparison{fieldValue(a, field), fieldValue(b, field)};
    if (field == ClockField::Vcore) {
        comparison.match = comparison.a == comparison.b;
    } else {
        comparison.match =
            withCompensationByte(comparison.a, 0) == withCompensationByte(comparison.b, 0);
    }
    return comparison;
}

// The first offset in [from, end) where the files differ, or `end`.
std::size_t firstDifference(ByteView a, ByteView b, std::size_t from, std::size_t end)
{
    constexpr std::size_t kChunk = 256;
    while (from < end) {
        const std::size_t length = std::min(kChunk, end - from);
        if (std::memcmp(a.data() + from, b.data() + from, length) != 0) {
            while (a[from] == b[from]) ++from;
            return from;
        }
        from += length;
    }
    return end;
}

// The file as read: the image alone when nothing lies past it, which spares a copy.
ByteView wholeFileOf(const RomImage& image, Bytes& joined)
{
    if (image.beyondImage.empty()) return image.fileImage;
    joined = image.fileImage;
    joined.insert(joined.end(), image.beyondImage.begin(), image.beyondImage.end());
    return joined;
}

// Marks the value fields of an image's clock block; they are compared field by field instead.
void markClockFields(std::vector<bool>& mask, const RomImage& image)
{
    const std::size_t block = image.clockBlockOffset();
    for (std::size_t j = 0; j < kEntryCount; ++j) {
        for (const FieldLayout& field : {kGpuClockField, kRamClockField, kVcoreField}) {
            for (std::size_t i = 0; i < field.width; ++i) {
                const std::size_t offset = block + entryOffset(j) + field.offset + i;
                if (offset < mask.size()) mask[offset] = true;
            }
        }
    }
}

// The parts of a PowerPlay table the structure report names; nothing when absent.
struct PowerPlaySummary {
    std::size_t offset = 0;
    std::uint8_t formatRevision = 0;
    std::uint8_t contentRevision = 0;
    std::optional<std::size_t> clockInfoOffset;
    std::optional<std::size_t> clockInfoCount;
    std::optional<std::size_t> clockInfoSize;

    friend bool operator==(const PowerPlaySummary&, const PowerPlaySummary&) = default;
};

std::optional<PowerPlaySummary> powerPlaySummary(const RomStructure& structure)
{
    if (!structure.powerPlay) return std::nullopt;
    const PowerPlayTable& table = *structure.powerPlay;
    PowerPlaySummary summary{table.offset, table.formatRevision, table.contentRevision, {}, {}, {}};
    if (table.layout) {
        summary.clockInfoOffset = table.layout->clockInfoOffset;
        summary.clockInfoCount = table.layout->clockInfoCount;
        summary.clockInfoSize = table.layout->clockInfoSize;
    }
    return summary;
}

}  // namespace

StateComparisons compareStates(const ClockEntries& a, const ClockEntries& b)
{
    StateComparisons states;
    for (std::size_t s = 0; const PowerState& powerState : kPowerStates) {
        const std::size_t entry = powerState.entry();
        StateComparison& state = states[s++];
        state.gpu = compareField(a[entry], b[entry], ClockField::Gpu);
        state.ram = compareField(a[entry], b[entry], ClockField::Ram);
        state.vcore = compareField(a[entry], b[entry], ClockField::Vcore);
    }
    return states;
}

bool sameStructure(const LoadedRom& a, const LoadedRom& b)
{
    return a.clockTableCheck == b.clockTableCheck &&
           a.structure.atomHeader == b.structure.atomHeader &&
           powerPlaySummary(a.structure) == powerPlaySummary(b.structure);
}

bool sameFileBytes(const RomImage& a, const RomImage& b)
{
    return a.fileImage == b.fileImage && a.beyondImage == b.beyondImage;
}

ImageDiff compareImages(const LoadedRom& a, const LoadedRom& b)
{
    ImageDiff diff;
    const ClockEntries& entriesA = a.clocks.asRead;
    const ClockEntries& entriesB = b.clocks.asRead;
    diff.states = compareStates(entriesA, entriesB);
    for (const StateComparison& state : diff.states) {
        diff.settingsMatch =
            diff.settingsMatch && state.gpu.match && state.ram.match && state.vcore.match;
    }

    for (std::size_t entry = 0; entry < kEntryCount; ++entry) {
        if (!isHiddenEntry(entry)) continue;
        for (const ClockField field : kFields) {
            const std::uint32_t valueA = fieldValue(entriesA[entry], field);
            const std::uint32_t valueB = fieldValue(entriesB[entry], field);
            if (valueA != valueB) diff.hidden.push_back({entry, field, valueA, valueB});
        }
    }

    diff.structuresMatch = sameStructure(a, b);

    Bytes joinedA;
    Bytes joinedB;
    const ByteView fileA = wholeFileOf(a.image, joinedA);
    const ByteView fileB = wholeFileOf(b.image, joinedB);
    diff.lengthA = fileA.size();
    diff.lengthB = fileB.size();
    const std::size_t shared = std::min(diff.lengthA, diff.lengthB);
    std::vector<bool> clockField(shared, false);
    markClockFields(clockField, a.image);
    markClockFields(clockField, b.image);
    // Jump from difference to difference: most bytes are equal, and memcmp runs over equal
    // stretches far faster than a test of every byte.
    for (std::size_t offset = 0; offset < shared; ++offset) {
        offset = firstDifference(fileA, fileB, offset, shared);
        if (offset == shared) break;
        if (clockField[offset]) continue;
        if (!diff.otherBytes.empty() && diff.otherBytes.back().last + 1 == offset) {
            diff.otherBytes.back().last = offset;
        } else {
            diff.otherBytes.push_back({offset, offset});
        }
    }
    return diff;
}

}  // namespace clockvane
