#include "layout/clock_set.h"

#include <algorithm>

#include "bytes/byte_search.h"

namespace clockvane {

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
        writeLE(block, base + kGpuClockField.offset, kGpuClockField.width, entries[j].gpuClock);
        writeLE(block, base + kRamClockField.offset, kRamClockField.width, entries[j].ramClock);
        writeLE(block, base + kVcoreField.offset, kVcoreField.width, entries[j].vcore);
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
