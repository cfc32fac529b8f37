#include "file_checks.h"

#include <cmath>
#include <sstream>

#include "bytes/sums.h"
#include "files/rom_file.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_layout.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kLargestHashedFile = 8u * 1024u * 1024u;

std::string hashOf(const Bytes& bytes)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
    std::ostringstream out;
    out << std::hex << hash;
    return out.str();
}

RawFile split(const Bytes& bytes)
{
    const std::size_t imageLength = std::min(bytes.size(), kImageReadLimit);
    RawFile raw;
    raw.image.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(imageLength));
    raw.beyond.assign(bytes.begin() + static_cast<std::ptrdiff_t>(imageLength), bytes.end());
    return raw;
}

}  // namespace

std::map<std::string, std::string> folderContents(const fs::path& folder)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const fs::file_status status = entry.symlink_status();
        if (fs::is_symlink(status)) {
            contents[name] = "link to " + fs::read_symlink(entry.path()).string();
        } else if (fs::is_directory(status)) {
            contents[name] = "folder";
        } else if (!fs::is_regular_file(status)) {
            contents[name] = "special file";
        } else if (entry.file_size() > kLargestHashedFile) {
            contents[name] = "file of " + std::to_string(entry.file_size()) + " bytes";
        } else {
            contents[name] = "file " + hashOf(fixtures::readFile(entry.path()));
        }
    }
    return contents;
}

::testing::AssertionResult savedCopyMatches(const Bytes& original, const Bytes& saved, int gpu3dMhz)
{
    if (saved.size() != original.size()) {
        return ::testing::AssertionFailure()
               << "saved " << saved.size() << " bytes of " << original.size();
    }
    auto opened = loadRom(split(original));
    if (!opened) return ::testing::AssertionFailure() << "the original does not load";
    const std::size_t blockBegin = opened->image.clockBlockOffset();
    const std::size_t blockEnd = blockBegin + kClockBlockSize;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] != original[i] && (i < blockBegin || i >= blockEnd)) {
            return ::testing::AssertionFailure()
                   << "byte " << i << " outside the clock block changed";
        }
    }
    const std::size_t imageLength = std::min(saved.size(), kImageReadLimit);
    const std::uint16_t savedSum = sum16(ByteView(saved).first(imageLength));
    const std::uint16_t originalSum = sum16(ByteView(original).first(imageLength));
    if (savedSum != originalSum) {
        return ::testing::AssertionFailure()
               << "sum " << formatSum16(savedSum) << " instead of " << formatSum16(originalSum);
    }
    auto reopened = loadRom(split(saved));
    if (!reopened) return ::testing::AssertionFailure() << "the saved copy does not load";
    const double mhz = reopened->clocks.working[kPowerStates[k3DHigh].entry()].gpuClock / 100.0;
    if (std::abs(mhz - gpu3dMhz) > 3.0) {
        return ::testing::AssertionFailure() << "3D GPU clock " << mhz << " MHz for " << gpu3dMhz;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace clockvane::reliability
