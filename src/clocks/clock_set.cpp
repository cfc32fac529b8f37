#include "clocks/clock_set.h"

#include <algorithm>

#include "rom/byte_search.h"

namespace clockvane {
namespace {

void putLE(Bytes& bytes, std::size_t offset, std::size_t width, std::uint32_t value)
{
    for (std::size_t i = 0; i < width; ++i)
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
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
        putLE(block, base + kGpuClockField.offset, kGpuClockField.width, entries[j].gpuClock);
        putLE(block, base + kRamClockField.offset, kRamClockField.width, entries[j].ramClock);
        putLE(block, base + kVcoreField.offset, kVcoreField.width, entries[j].vcore);
        if (j < kTrailerCount) {
            std::copy(trailers[j].begin(), trailers[j].end(),
                      block.begin() + static_cast<std::ptrdiff_t>(base + kTrailerField.offset));
        }
    }
    return block;
}

}  // namespace clockvane
