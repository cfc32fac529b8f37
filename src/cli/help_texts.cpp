#include "cli/help_texts.h"

namespace clockvane::cli {

const std::string_view kToolHelp = R"(Usage: clockvane COMMAND [ARGUMENTS]

Reads, edits and compares video BIOS images of Radeon HD 3850, HD 3870 and HD 3870 X2
cards, with the same rules as the Orvanta Clockvane window.

Commands:
  info FILE [--json]          what the window shows after opening FILE
  set FILE... [OPTIONS]       change clocks and VCore and save a modified copy
  diff A B [--json]           compare the settings and bytes of two images

Options:
  --help                      this text ('clockvane COMMAND --help' for a command)
  --version                   the version

FILE, A, B and OUT are files: '-' is refused as a usage error, since the tool reads no
standard input and writes no image to standard output (write ./- for a file named '-').

Exit codes:
  0  done
  1  diff: the settings, lengths or structures differ
  2  usage error, or a file that cannot be opened, read or is not a supported image,
     or a file set refuses (cut short, contradicted clock table, change past the
     option ROM)
  3  the checksum could not be corrected (nothing written unless --force)
  4  the output could not be written
)";

const std::string_view kInfoHelp = R"(Usage: clockvane info FILE [--json]

Shows what the window shows after opening FILE in English: card, device ID, X2 file
number, memory type and size ("unknown" when the image does not state it; nothing is
asked), BIOS version and date, "Checksum-16", the offset of the clock block, and for
each power state its clocks as read (MHz, two decimals), the slider values after the
range check, and the VCore. It also tells whether the option ROM's 8-bit checksum is
valid (the file's first byte[2] x 512 bytes add up to 0; "not applicable" without a
55 AA header or when the file is shorter than that), the option ROM's declared length
and the file's length, the subsystem IDs, and whether the BIOS's own PowerPlay table
confirms the clock block ("confirmed", "contradicted" or "not available"). A file
shorter than its declared length and a contradicted clock table are also warned about
on standard error.

Clocks outside their slider's range (GPU 300-1200 MHz, memory 400-1700 MHz) are
reported on standard error, one line each, as the window's messages word them.

Options:
  --json   one JSON object on standard output with the keys card ("HD3870", "HD3850",
           "HD3870X2"), device_id, x2_file (1, 2 or null), memory_type ("GDDR3",
           "GDDR4"), memory_size_mb (256, 512 or null), bios_version, bios_date,
           checksum16, clock_block_offset, option_rom_checksum ("valid", "invalid",
           "not applicable"), option_rom_length (or null), file_length,
           subsystem_vendor_id and subsystem_id ("1A2B" or null), structure (check,
           atom_header, powerplay_offset, powerplay_revision, clock_info_offset,
           clock_info_count, clock_info_size; null when absent), range_messages (list)
           and states: bootup, 2d, 3d_low, 3d and uvd, each with gpu_mhz, ram_mhz,
           gpu_slider, ram_slider, vcore_mv and vcore_text. Texts from the image are
           decoded as Latin-1.

Example:
  clockvane info samples/hd3870.rom --json
)";

const std::string_view kSetHelp =
    R"(Usage: clockvane set FILE... [-o OUT] [EDITS] [--unlink-uvd] [--classic] [--force]

For each FILE, does what the window does when FILE is opened in a fresh window, the
named sliders are moved and boxes typed, and the image is saved: every clock and VCore
field is written back, the checksum is balanced, and the copy is written to FILE's
name with "_mod" four characters before its end (hd3870.rom -> hd3870_mod.rom).
Values not named keep what the window shows after opening (clocks outside a slider's
range sit at its limit).

Edits (STATE is bootup, 2d, 3d-low, 3d or uvd):
  --STATE-gpu MHZ      GPU clock, whole MHz from 300 to 1200
  --STATE-ram MHZ      memory clock, whole MHz from 400 to 1700
  --STATE-vcore VOLTS  VCore in volts, a decimal number with a point or a comma (1.25 or
                       1,25) from 0.9 to 1.327

Options:
  -o OUT        write to OUT (with one FILE only; '-' is refused, not standard output)
  --unlink-uvd  edit UVD on its own; without it UVD follows 3D High Power and the
                --uvd-* options are refused
  --classic     when the clock changes are too large for the correction inside the
                clock table, run the classic checksum correction (the window's "Yes")
  --force       write an image whose checksum could not be corrected (exit code 3
                all the same), allow the output to overwrite an input file, and save
                a file shorter than the option ROM it declares or one whose own
                PowerPlay table places the clock table elsewhere

A save that would change a byte past the option ROM's declared length is never
written, with or without --force.

Exit codes: 0 saved; 2 usage error or unusable file (nothing written); 3 checksum not
corrected; 4 output not written. With several files the highest code is returned.

Example:
  clockvane set samples/hd3870.rom --3d-gpu 800 --3d-ram 1200 --3d-vcore 1.274
)";

const std::string_view kDiffHelp = R"(Usage: clockvane diff A B [--json]

Compares two images: the clocks and VCore of the five power states side by side, the
fields of the hidden entries (4, 5, 6, 8, 9) that differ, and every differing byte
outside the clock fields as offset ranges (and whether the lengths or the structures
that 'clockvane info' shows differ).

The settings match when every clock of the five shown states is equal apart from its
compensation byte (the lowest byte, which a save moves to balance the checksum) and
every shown VCore is equal. Exit code 0 when they match and the lengths and structures
are the same, 1 otherwise, 2 when a file cannot be used.

Options:
  --json   one JSON object on standard output:
             a, b            {"file", "length", "clock_block_offset", "structure"}
             settings_match  true or false
             states          bootup, 2d, 3d_low, 3d, uvd: each with gpu_mhz, ram_mhz
                             and vcore_mv, each {"a", "b", "match"} (MHz as read, mV)
             hidden_entries  list of {"entry", "field", "a", "b"}, one per field that
                             differs; field is "gpu_mhz", "ram_mhz" or "vcore_mv"
             byte_ranges     list of {"first", "last"}: inclusive offsets of differing
                             bytes outside the clock fields, up to the shorter length
             lengths_differ  true or false
             structure_differs  true or false

Example:
  clockvane diff samples/hd3870x2-bios1_mod.rom samples/hd3870x2-bios2_mod.rom
)";

}  // namespace clockvane::cli
