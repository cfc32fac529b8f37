#pragma once

// A table of edits a user makes between opening an image and saving it, shared by every
// front-end's tests: each front-end replays the edits on its own controls and must write the
// bytes the core's save pipeline gives for the same controls (`referenceSave`).

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "edit/save_pipeline.h"
#include "files/rom_file.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"
#include "layout/clock_layout.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"

namespace clockvane::scenarios {

enum class Control { Gpu, Ram, Vcore };

// One control changed: the clock slider of a power state moved to whole MHz, or its VCore box
// typed with a point or a comma as separator (as typed; the box validation still applies).
struct Edit {
    std::size_t state;  // index into kPowerStates
    Control control;
    std::string value;
};

struct EditScenario {
    std::string name;  // a valid test name: letters, digits, underscores
    fixtures::ImageRecipe image;
    std::vector<Edit> edits;
    bool unlinkUvd = false;      // the UVD menu item chosen once after opening
    bool classicAnswer = false;  // the answer if the classic correction is offered
    SaveOutcome expectedOutcome = SaveOutcome::CorrectedByCompensation;
};

// Test output names a scenario rather than dumping its bytes.
// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
inline void PrintTo(const EditScenario& scenario, std::ostream* out) { *out << scenario.name; }

// Clocks whose compensation bytes read 0x00: writing them back at 0x7F and raising every
// clock moves the clock-field sum by more than the twenty bytes can balance.
inline fixtures::ImageRecipe imageNeedingClassic()
{
    fixtures::ImageRecipe recipe;
    for (auto& entry : recipe.entries) entry = {0x007800, 0x00A000, 900};
    return recipe;
}

inline std::vector<Edit> everyClockToItsMaximum()
{
    std::vector<Edit> edits;
    for (std::size_t s = 0; s < kPowerStates.size() - 1; ++s) {  // UVD follows 3D while linked
        edits.push_back({s, Control::Gpu, "1200"});
        edits.push_back({s, Control::Ram, "1700"});
    }
    return edits;
}

inline std::vector<EditScenario> editScenarios()
{
    std::vector<EditScenario> all;
    const fixtures::ImageRecipe hd3870;

    all.push_back({"untouched", hd3870, {}});
    all.push_back({"raise_3d_clocks",
                   hd3870,
                   {{k3DHigh, Control::Gpu, "800"}, {k3DHigh, Control::Ram, "1200"}}});
    all.push_back({"every_shown_state",
                   hd3870,
                   {{kBootUp, Control::Gpu, "700"},
                    {kBootUp, Control::Vcore, "1,125"},
                    {k2D, Control::Ram, "400"},
                    {k2D, Control::Vcore, "0.974"},
                    {k3DLow, Control::Gpu, "1200"},
                    {k3DLow, Control::Vcore, "1,0625"},
                    {k3DHigh, Control::Ram, "1700"},
                    {k3DHigh, Control::Vcore, "1.1875"}}});
    all.push_back({"uvd_unlinked_edited",
                   hd3870,
                   {{kUvd, Control::Gpu, "500"},
                    {kUvd, Control::Ram, "1000"},
                    {kUvd, Control::Vcore, "1.22"}},
                   true});
    all.push_back({"uvd_unlinked_untouched", hd3870, {}, true});

    fixtures::ImageRecipe outOfRange;
    outOfRange.entries[0].gpuClock = 120001;  // 1200.01 MHz: slider at 1200
    outOfRange.entries[1].ramClock = 39999;   // 399.99 MHz: slider at 400
    outOfRange.entries[7].gpuClock = 0;
    outOfRange.entries[2].vcore = 0;  // shown as 0, saved as 0.9 after the box validation
    all.push_back({"out_of_range_image", outOfRange, {}, true});

    fixtures::ImageRecipe halves;
    halves.entries[0].gpuClock = 77750;  // 777.5 -> 778
    halves.entries[3].gpuClock = 77850;  // 778.5 -> 778
    all.push_back({"halves_round_to_even", halves, {}});

    fixtures::ImageRecipe hd3850 = hd3870;
    hd3850.deviceId = "9505";
    hd3850.memoryText = "GDDR3 256MB";
    all.push_back({"hd3850_256mb", hd3850, {{k3DHigh, Control::Gpu, "720"}}});
    fixtures::ImageRecipe noSize = hd3850;
    noSize.memoryText = "";
    all.push_back({"hd3850_size_unknown", noSize, {{k2D, Control::Gpu, "350"}}});
    fixtures::ImageRecipe gddr4 = hd3870;
    gddr4.memoryText = "GDDR4 512MB";
    all.push_back({"hd3870_gddr4", gddr4, {{k3DHigh, Control::Ram, "1300"}}});
    fixtures::ImageRecipe x2First = hd3870;
    x2First.deviceId = "950F";
    all.push_back({"x2_first_file", x2First, {{k3DHigh, Control::Gpu, "850"}}});
    fixtures::ImageRecipe x2Second = x2First;
    x2Second.x2SecondFile = true;
    all.push_back({"x2_second_file", x2Second, {{k3DHigh, Control::Gpu, "850"}}});
    fixtures::ImageRecipe longFile = hd3870;
    longFile.length = 120'000;  // bytes past 99,999 are written back unchanged
    all.push_back({"longer_than_image", longFile, {{k3DHigh, Control::Gpu, "810"}}});

    all.push_back({"classic_accepted", imageNeedingClassic(), everyClockToItsMaximum(), false, true,
                   SaveOutcome::CorrectedByClassic});
    all.push_back({"classic_declined", imageNeedingClassic(), everyClockToItsMaximum(), false,
                   false, SaveOutcome::NotCorrected});
    fixtures::ImageRecipe noMarker = imageNeedingClassic();
    noMarker.versionMarkerOffset = std::nullopt;
    all.push_back({"classic_without_version_marker", noMarker, everyClockToItsMaximum(), false,
                   true, SaveOutcome::NotCorrected});
    return all;
}

// The controls of a fresh window after opening the image and making the scenario's edits,
// followed by the box validation the save command runs first. Voltages use '.' as separator.
inline SaveControls referenceControls(const LoadedRom& rom, const EditScenario& scenario)
{
    SaveControls controls = controlsAsOpened(rom.clocks, !scenario.unlinkUvd, '.');
    for (const Edit& edit : scenario.edits) {
        const PowerState& state = kPowerStates[edit.state];
        if (edit.control == Control::Vcore) {
            std::string typed = edit.value;
            for (char& c : typed) c = c == ',' ? '.' : c;
            controls.vcoreTexts[state.vcoreBox] = typed;
        } else {
            controls.sliders[edit.control == Control::Gpu ? state.gpuSlider : state.ramSlider] =
                std::stoi(edit.value);
        }
    }
    for (std::string& text : controls.vcoreTexts) text = validateVcoreText(text, '.');
    return controls;
}

struct ReferenceSave {
    SaveResult result;
    Bytes bytes;  // what goes to disk
};

// The core's save of the scenario, straight through the pipeline.
inline ReferenceSave referenceSave(const EditScenario& scenario)
{
    const Bytes file = fixtures::buildImage(scenario.image);
    auto rom = loadRom(splitFileBytes(file)).value();
    const SaveControls controls = referenceControls(rom, scenario);
    FixedClassicAnswer answer(scenario.classicAnswer);
    const auto saved = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, answer);
    return {saved.value(), bytesToWrite(rom.image)};
}

}  // namespace clockvane::scenarios
