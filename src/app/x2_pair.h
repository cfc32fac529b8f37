#pragma once

#include "image/rom_loader.h"

namespace clockvane::app {

// Why two files are not the two BIOS files of one HD 3870 X2.
enum class X2PairProblem {
    None,
    FirstNotX2,   // the first file given is not an X2 BIOS
    SecondNotX2,  // the second file given is not an X2 BIOS
    BothFirst,    // neither holds the second file's marker
    BothSecond,
    DifferentVersion,    // the two chips of one card carry the same BIOS version
    DifferentMemory,     // ... and describe the same memory
    DifferentSubsystem,  // ... and the same board (subsystem vendor and ID)
};

struct X2PairCheck {
    X2PairProblem problem = X2PairProblem::None;
    bool swapped = false;  // the second file given is file 1 of the card
};

// Whether `a` and `b`, in the order the user gave them, are file 1 and file 2 of one HD 3870
// X2: both X2 BIOSes, one of each half, with the same version, memory and board.
X2PairCheck checkX2Pair(const LoadedRom& a, const LoadedRom& b);

}  // namespace clockvane::app
