// Writes the fuzzer's seed corpus: small generated images of every kind the editor accepts,
// and a few it must refuse. Usage: clockvane_fuzz_corpus FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include "fixtures/image_builder.h"

using clockvane::fixtures::ImageRecipe;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    int index = 0;
    const auto emit = [&](const ImageRecipe& recipe, const char* name) {
        clockvane::fixtures::writeFile(folder / (std::to_string(index++) + "-" + name + ".rom"),
                                       clockvane::fixtures::buildImage(recipe));
    };

    // Small images keep the fuzzer fast; the offsets rules are the same at any length.
    ImageRecipe small;
    small.length = 2048;
    small.signatureOffset = 0x400;
    small.versionMarkerOffset = 0x181;
    emit(small, "hd3870");

    ImageRecipe hd3850 = small;
    hd3850.deviceId = "9505";
    hd3850.memoryText = "256MB GDDR3";
    emit(hd3850, "hd3850-256");

    ImageRecipe x2 = small;
    x2.deviceId = "950F";
    x2.x2SecondFile = true;
    x2.x2MarkerOffset = 0x700;
    emit(x2, "hd3870x2-second");

    ImageRecipe gddr4 = small;
    gddr4.memoryText = "GDDR4 256MB";
    emit(gddr4, "gddr4");

    ImageRecipe noSize = small;
    noSize.memoryText.clear();
    noSize.versionMarkerOffset.reset();
    emit(noSize, "nosize-noversion");

    ImageRecipe extreme = small;
    for (auto& entry : extreme.entries) entry = {0xFFFFFF, 0, 0xFFFF};
    emit(extreme, "out-of-range");

    ImageRecipe tiny = small;
    tiny.length = 0x8A + 164;
    tiny.signatureOffset = 0x8A;
    tiny.versionMarkerOffset.reset();
    tiny.memoryText.clear();
    emit(tiny, "tiny");

    ImageRecipe noBlock = small;
    noBlock.signatureOffset.reset();
    emit(noBlock, "no-block");

    ImageRecipe full = small;
    full.length = 100'000;
    full.signatureOffset = 49'988 - 12 - 152;
    emit(full, "full-length");

    // The BIOS's own tables, confirming the block and placing it elsewhere.
    ImageRecipe tables = small;
    tables.atom = clockvane::fixtures::AtomTables{};
    tables.atom->masterDataTable = 0x300;
    emit(tables, "atom-tables");

    ImageRecipe contradicted = tables;
    contradicted.atom->clockInfoSize = 20;
    contradicted.optionRomBlocks = 1;  // 512 bytes: the block at 0x40C lies past them
    emit(contradicted, "atom-contradicted");
    return 0;
}
