#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace clockvane::reliability {

// What opening a file must give.
enum class Verdict {
    Opens,         // the image is loaded and editable
    Unreadable,    // the file cannot be opened or read at all
    WrongFile,     // not a BIOS of the three cards (device ID)
    NoClockTable,  // the right card, but no clock table where the editor looks for it
};

// One state of the input file and what opening it must give.
struct InputVersion {
    // Creates, or rewrites, what `path` names.
    std::function<void(const std::filesystem::path& path)> make;
    Verdict verdict = Verdict::Opens;
    // Refusals: the command-line tool's reason, which follows "clockvane: PATH: ".
    std::string cliReason;
    // Opens: the 3D High Power GPU clock the window shows afterwards, in whole MHz.
    int gpu3dMhz = 775;
};

struct BadInput {
    std::string name;      // the test's name
    std::string fileName;  // the input's name in the test's folder
    // Opened in turn; most inputs have one state, a file that changes between opens has more.
    std::vector<InputVersion> versions;
    // The input is only unreadable to someone other than the superuser; the superuser's
    // checks run with the file-system identity of an unprivileged user.
    bool needsUnprivilegedUser = false;
};

// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
inline void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

// The table of inputs both the command-line tool and the window are run on.
const std::vector<BadInput>& badInputs();

// The user the unreadable-file case runs as when the tests run as the superuser.
inline constexpr unsigned kUnprivilegedId = 65534;

}  // namespace clockvane::reliability
