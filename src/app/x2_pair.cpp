#include "app/x2_pair.h"

#include "image/bios_info.h"

namespace clockvane::app {

X2PairCheck checkX2Pair(const LoadedRom& a, const LoadedRom& b)
{
    if (a.model != CardType::HD3870X2) return {X2PairProblem::FirstNotX2};
    if (b.model != CardType::HD3870X2) return {X2PairProblem::SecondNotX2};
    if (a.x2File == b.x2File) {
        return {a.x2File == X2File::First ? X2PairProblem::BothFirst : X2PairProblem::BothSecond};
    }
    // The version bytes as they stand, so that a difference in a byte that is not text counts.
    if (versionBytes(a.image.fileImage) != versionBytes(b.image.fileImage))
        return {X2PairProblem::DifferentVersion};
    if (a.memory.isGddr4 != b.memory.isGddr4 || a.memory.size != b.memory.size)
        return {X2PairProblem::DifferentMemory};
    if (a.structure.subsystemVendorId != b.structure.subsystemVendorId ||
        a.structure.subsystemId != b.structure.subsystemId)
        return {X2PairProblem::DifferentSubsystem};
    return {X2PairProblem::None, a.x2File == X2File::Second};
}

}  // namespace clockvane::app
