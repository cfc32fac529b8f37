#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "bytes/bytes.h"
#include "image/option_rom.h"

namespace clockvane {

// The image's own description of itself, as an ATOM BIOS gives it. All fields are
// little-endian and every offset is a byte offset into the file.
//
//   0x48                  16-bit offset of the ROM header
//   ROM header            4-byte common table header (16-bit size, 8-bit format and content
//                         revision), "ATOM" at +4, then 16-bit fields; the subsystem vendor ID
//                         is at +0x18, the subsystem ID at +0x1A, the master data table's
//                         offset at +0x20
//   master data table     4-byte common header, then 16-bit offsets of the data tables
//                         (0: absent); entry 15 is the PowerPlay table
//   PowerPlay table (4)   4-byte common header; 8-bit data revision, number of states, state
//                         entry size, clock-info size, non-clock info size; then 16-bit
//                         offsets, from the table's start, of the state array, the clock-info
//                         array and the non-clock info array
//   state entry           8-bit non-clock index, then (entry size - 1) 8-bit clock-info indices
//
// The clock block the editor finds by its signature is the PowerPlay table's clock-info array:
// the signature is the end of the state array, which ends right where that array begins.

// The fields of a PowerPlay table of format revision 4, the layout these cards use.
struct PowerPlayLayout {
    std::size_t stateCount = 0;
    std::size_t stateEntrySize = 0;
    std::size_t clockInfoSize = 0;
    std::size_t clockInfoOffset = 0;  // absolute: the table's offset plus its own field
    // The largest clock-info index any state uses, plus one; nothing when the state array does
    // not lie wholly inside the file.
    std::optional<std::size_t> clockInfoCount;
};

struct PowerPlayTable {
    std::size_t offset = 0;
    std::uint8_t formatRevision = 0;
    std::uint8_t contentRevision = 0;
    std::optional<PowerPlayLayout> layout;  // format revision 4 only: other layouts are not read
};

struct RomStructure {
    std::optional<std::size_t> optionRomLength;  // as byte 2 declares it
    OptionRomChecksum optionRomChecksum = OptionRomChecksum::NotApplicable;
    bool cutShort = false;  // the file is shorter than the option ROM it declares

    bool atomHeader = false;  // a ROM header with "ATOM" whose fields lie inside the file
    std::optional<std::uint16_t> subsystemVendorId;
    std::optional<std::uint16_t> subsystemId;
    std::optional<PowerPlayTable> powerPlay;
};

// Reads the structure from a file's bytes. Every offset taken from the file is checked against
// it before use and every loop is bounded by the tables' own counts, so no input reads outside
// `file`. Give it the whole file, or at least its first kLongestOptionRom bytes: nothing past
// them is read, and a file that long is never shorter than the option ROM it declares.
RomStructure readRomStructure(ByteView file);
RomStructure readRomStructure(ByteView file, std::uint16_t fileSum16);  // the sum of all of it

// Bytes [begin, end) of an image.
struct OffsetRange {
    std::size_t begin;
    std::size_t end;

    friend bool operator==(const OffsetRange&, const OffsetRange&) = default;
};

// The bytes by which the system BIOS, the flash tools and this editor know the image for what
// it is: the option-ROM header (0x00-0x1F, with the pointer to the PCI data structure at 0x18),
// the PCI data structure ("PCIR" at that pointer; its own length field at +0x0A, at least the
// 24 bytes of the first revision), the pointer to the ATOM ROM header at 0x48, the ATOM ROM
// header itself (its declared size, at least the fields read here) and the device ID at
// 0x88-0x89. A table not found where its pointer says is not one; every range is clipped to
// `image`. Nothing that rewrites bytes to balance a sum may touch these.
std::vector<OffsetRange> identifyingRanges(ByteView image);

// The clock table as the signature search found it.
struct FoundClockTable {
    std::size_t offset;      // of its first entry
    std::size_t entrySize;   // the size of the entries the editor reads and writes
    std::size_t entryCount;  // how many entries the editor reads and writes
};

enum class ClockTableCheck {
    Confirmed,     // the PowerPlay table's clock-info array is the found table
    Contradicted,  // a PowerPlay table places it elsewhere, or gives other or fewer entries
    NotAvailable,  // no ROM header, no "ATOM", no PowerPlay table, or a layout not read
};

// Whether the image's PowerPlay table confirms the clock table found by the signature:
// confirmed when its clock-info array starts there, its entries have the found size and it
// holds at least as many as the editor uses.
ClockTableCheck checkClockTable(const RomStructure& structure, const FoundClockTable& found);

}  // namespace clockvane
