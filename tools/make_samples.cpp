// Writes one generated BIOS image per card model into a folder, for trying the editor and
// the command-line tool. Every image comes from the project's own image builder: none is a
// dump of a real card.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/image_builder.h"

namespace {

using clockvane::ClockEntries;
using clockvane::fixtures::ImageRecipe;

struct Sample {
    const char* fileName;
    ImageRecipe recipe;
};

// A plausible table for a card with the given 3D High Power clocks (MHz) and VCore (mV):
// boot equals 3D High, 2D and 3D Low Power run slower, the hidden entries copy the shown ones.
ClockEntries table(unsigned gpuMhz, unsigned ramMhz, std::uint16_t vcoreMv)
{
    const std::uint32_t gpu = gpuMhz * 100;
    const std::uint32_t ram = ramMhz * 100;
    const clockvane::ClockEntry high{gpu, ram, vcoreMv};
    const clockvane::ClockEntry low2d{30000, ram / 2, 1100};
    const clockvane::ClockEntry low3d{gpu * 2 / 3, ram, 1150};
    const clockvane::ClockEntry uvd{40000, ram * 4 / 5, 1150};
    return {{high, low2d, low3d, high, low2d, low3d, high, uvd, uvd, uvd}};
}

// `base` lays the image out; the card fills in what identifies it and its clocks.
ImageRecipe card(const char* deviceId, std::string memoryText, ClockEntries entries,
                 std::uint32_t seed, ImageRecipe base = {})
{
    ImageRecipe recipe = std::move(base);
    recipe.deviceId = deviceId;
    recipe.memoryText = std::move(memoryText);
    recipe.entries = entries;
    recipe.fillSeed = seed;
    return recipe;
}

std::vector<Sample> samples()
{
    std::vector<Sample> all;
    all.push_back({"hd3870.rom", card("9501", "GDDR3 512MB", table(775, 1125, 1274), 3870)});
    all.push_back({"hd3850.rom", card("9505", "GDDR3 256MB", table(668, 828, 1220), 3850)});
    // The two BIOS chips of an X2 hold the same table; the second file carries the marker.
    all.push_back(
        {"hd3870x2-bios1.rom", card("950F", "GDDR3 512MB", table(825, 901, 1204), 38702)});
    Sample second{"hd3870x2-bios2.rom", card("950F", "GDDR3 512MB", table(825, 901, 1204), 38702)};
    second.recipe.x2SecondFile = true;
    all.push_back(second);
    all.push_back({"hd3870-gddr4.rom", card("9501", "GDDR4 512MB", table(775, 1126, 1274), 38704)});
    // Neither type nor size stated: the window asks for the size when this one is opened.
    all.push_back({"hd3850-nosize.rom", card("9505", "", table(668, 828, 1220), 38500)});
    // A full-size image with the BIOS's own tables, which confirm the clock table.
    all.push_back({"hd3870-tables.rom", card("9501", "GDDR3 512MB", table(775, 1125, 1274), 38701,
                                             clockvane::fixtures::fullSizeWithTables())});
    // Every clock raised to a 2.56 MHz step (the low byte of each clock field 0x00): rewriting the
    // fields uses up all the room the correction inside the clock table has, so raising a
    // clock by 3 MHz or more makes the window ask for the classic correction.
    ClockEntries stepped = table(775, 1125, 1274);
    for (clockvane::ClockEntry& entry : stepped) {
        entry.gpuClock = (entry.gpuClock + 0xFF) & ~0xFFu;
        entry.ramClock = (entry.ramClock + 0xFF) & ~0xFFu;
    }
    all.push_back({"hd3870-classic.rom", card("9501", "GDDR3 512MB", stepped, 38703)});
    return all;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: clockvane_samples FOLDER\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (const Sample& sample : samples()) {
            clockvane::fixtures::writeFile(folder / sample.fileName,
                                           clockvane::fixtures::buildImage(sample.recipe));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "clockvane_samples: %s\n", error.what());
        return 1;
    }
    return 0;
}
