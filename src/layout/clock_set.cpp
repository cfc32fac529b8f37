#include "layout/clock_set.h"

#include <algorithm>

#include "bytes/byte_search.h"

namespace clockvane {
namespace {

// Every field lies inside the block: the last one, entry 9's vcore, ends it exactly.
static_assert(entryOffset(kEntryCount - 1) + kVcoreField.offset + kVcoreField.width ==
              kClockBlockSize);

// Writes `value` little-endian into `field` of the entry at `base`. The layout keeps every field
// inside the block, so the write cannot fail and leaves no answer to check; at() still stops
// one outside it.
void putField(Bytes& block, std::size_t base, const FieldLayout& field, std::uint32_t value)
{
    for (std::size_t i = 0; i < field.width; ++i)
        block.at(base + field.offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::optional<ClockSet> decodeClockBlock(ByteView block)
{
    if (block.size() != kClockBlockSize) return std::nullopt;
    ClockSet clocks;
    for (std::size_t j = 0; j < kEntryCount; ++j) {
        const std::size_t base = entryOffset(j);
        ClockEntry& entry = clocks.working[j];
        entry.gpuClock = *readLE(block, base + kGpuClockField.offset, kGpuClockField.width);
        entry.ramClock = *readLE(block, base + kRamClockField.offset, kRamClockField.width);
        entry.vcore = static_cast<std::uint16_t>(
            *readLE(block, base + kVcoreField.offset, kVcoreField.width));
        if (j < kTrailerCount) {
            const auto trailer = block.subspan(base + kTrailerField.offset, kTrailerField.width);
            std::copy(trailer.begin(), trailer.end(), clocks.trailers[j].begin());
        }
    }
    clocks.asRead = clocks.working;
    return clocks;
}

Bytes encodeClockBlock(const ClockEntries& entries,
                       const std::array<Trailer, kTrailerCount>& trailers)
{
    Bytes block(kClockBlockSize, 0);
    for (std::size_t j = 0; j < kEntryCount; ++j) {
        const std::size_t base = entryOffset(j);
        putField(block, base, kGpuClockField, entries[j].gpuClock);
        putField(block, base, kRamClockField, entries[j].ramClock);
        putField(block, base, kVcoreField, entries[j].vcore);
        if (j < kTrailerCount) {
            std::copy(trailers[j].begin(), trailers[j].end(),
                      block.begin() + static_cast<std::ptrdiff_t>(base + kTrailerField.offset));
        }
    }
    return block;
}

int ClockFieldSum(const ClockEntries& entries)
{
    const auto byteSum = [](std::uint32_t value, const FieldLayout& field) {
        int sum = 0;
        for (std::size_t i = 0; i < field.width; ++i)
            sum += static_cast<int>((value >> (8 * i)) & 0xFF);
        return sum;
    };
    int total = 0;
    for (const ClockEntry& entry : entries) {
        total += byteSum(entry.gpuClock, kGpuClockField) + byteSum(entry.ramClock, kRamClockField) +
                 byteSum(entry.vcore, kVcoreField);
    }
    return total;
}

}  // namespace clockvane
