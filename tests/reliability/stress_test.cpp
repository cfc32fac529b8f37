// Ten thousand open/edit/save cycles through the window, each opening the file the previous
// one saved: memory stays level and every saved file opens again with the clocks that were
// set and the sum of the first file. Under the sanitizers, which slow everything and hold
// freed memory back on purpose, 500 cycles run and memory is not measured.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <fstream>

#include "app/main_controller.h"
#include "bytes/sums.h"
#include "fixtures/fake_platform.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;

constexpr int kCycles = kUnderSanitizer ? 500 : 10'000;
constexpr int kWarmUpCycles = 200;
constexpr long kAllowedGrowth = 4L * 1024 * 1024;

// Resident memory of this process, from the second field of /proc/self/statm (in pages).
long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// The edit of cycle n: the 3D High Power and 2D clocks move through their ranges, never
// so far that the compensation bytes cannot balance the sum.
struct Edit {
    int gpu3d;
    int ram3d;
    int gpu2d;
};
Edit editOfCycle(int n)
{
    return {700 + (n * 7) % 150, 1000 + (n * 13) % 200, 250 + (n * 3) % 100 + 50};
}

TEST(Stress, TenThousandOpenEditSaveCyclesKeepMemoryLevelAndEveryFileSound)
{
    ScratchFolder folder(fastScratchParent());
    const fs::path files[2] = {folder / "a.rom", folder / "b.rom"};
    const Bytes first = fixtures::buildImage(fixtures::ImageRecipe{});
    fixtures::writeFile(files[0], first);
    const std::string loadedSum = SumBytes(first);

    app::testing::FakePlatform fake;
    app::MainController controller(fake);
    fake.attach(controller);
    controller.Form_Load();

    long warmedUp = 0;
    for (int n = 0; n < kCycles; ++n) {
        fake.clearRecords();
        fake.openDialogAnswers.emplace_back(files[n % 2].string());
        controller.ROMOpen_Click();
        ASSERT_TRUE(controller.hasImage()) << "cycle " << n;
        ASSERT_TRUE(fake.messages.empty()) << "cycle " << n << ": " << fake.messages.front();
        // The file saved by the cycle before: its sum is the first file's, its clocks the
        // ones set then, give or take the compensation byte.
        const app::MainWindowState& state = controller.state();
        ASSERT_EQ(SumBytes(controller.image()->fileImage), loadedSum) << "cycle " << n;
        if (n > 0) {
            const Edit previous = editOfCycle(n - 1);
            ASSERT_LE(std::abs(state.sliders[4].value - previous.gpu3d), 3) << "cycle " << n;
            ASSERT_LE(std::abs(state.sliders[5].value - previous.ram3d), 3) << "cycle " << n;
            ASSERT_LE(std::abs(state.sliders[2].value - previous.gpu2d), 3) << "cycle " << n;
        }

        const Edit edit = editOfCycle(n);
        for (const auto& [slider, value] :
             {std::pair{4, edit.gpu3d}, std::pair{5, edit.ram3d}, std::pair{2, edit.gpu2d}}) {
            controller.setSliderValue(slider, value);
            controller.ScrollBar1_Change(slider);
        }
        fake.saveDialogAnswers.emplace_back(files[(n + 1) % 2].string());
        controller.ROMSave_Click();
        ASSERT_TRUE(fake.messages.empty()) << "cycle " << n << ": " << fake.messages.front();
        ASSERT_EQ(state.statusPanels[app::kChecksumPanel],
                  "Checksum-16: " + loadedSum + " (Corrected)")
            << "cycle " << n;

        if (n + 1 == kWarmUpCycles) warmedUp = residentBytes();
    }
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"a.rom", "b.rom"}));

    if (kUnderSanitizer) return;
    const long growth = residentBytes() - warmedUp;
    EXPECT_LT(growth, kAllowedGrowth) << "resident memory grew by " << growth << " bytes";
}

}  // namespace
}  // namespace clockvane::reliability
