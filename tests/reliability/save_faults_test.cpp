// Saves that fail: a read-only target, a new file in a read-only folder, a folder that is gone,
// a full disk (for a renamed copy and for a file overwritten in place) and a file that does not
// read back as written. Each leaves the old file byte for byte as it was, leaves no temporary
// behind and tells the user: the tool with exit code 4 and the reason, the window with its
// critical message box.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>

#include "app/main_controller.h"
#include "file_checks.h"
#include "files/safe_write.h"
#include "fixtures/fake_platform.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"
#include "image/rom_image.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;

enum class Fault {
    ReadOnlyTarget,    // the old file has no write bit
    ReadOnlyFolder,    // a new file in a folder without write bit
    FolderGone,        // the folder does not exist
    FolderRemoved,     // the folder is removed between the save dialog and the write
    DiskFull,          // no more than 40,000 bytes fit (RLIMIT_FSIZE in a child process)
    DiskFullInPlace,   // the same for a file with a second name, which is written in place
    ReadBackMismatch,  // the file on disk differs from what was written (window only)
};

constexpr unsigned long kRoomOnFullDisk = 40'000;

const char* reasonOf(Fault fault)
{
    switch (fault) {
    case Fault::ReadOnlyTarget:
    case Fault::ReadOnlyFolder: return "Permission denied";
    case Fault::FolderGone:
    case Fault::FolderRemoved: return "No such file or directory";
    case Fault::DiskFull: return "File too large";
    case Fault::DiskFullInPlace: return "File too large; the previous content was put back";
    case Fault::ReadBackMismatch:
        return "The file on disk differs from the bytes written; the file was left as it was";
    }
    return "";
}

std::string faultName(Fault fault)
{
    switch (fault) {
    case Fault::ReadOnlyTarget: return "ReadOnlyTarget";
    case Fault::ReadOnlyFolder: return "ReadOnlyFolder";
    case Fault::FolderGone: return "FolderGone";
    case Fault::FolderRemoved: return "FolderRemovedWhileSaving";
    case Fault::DiskFull: return "DiskFull";
    case Fault::DiskFullInPlace: return "DiskFullInPlace";
    case Fault::ReadBackMismatch: return "ReadBackMismatch";
    }
    return "";
}

// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(Fault fault, std::ostream* out) { *out << faultName(fault); }

Bytes oldContent()
{
    Bytes bytes(70'000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return bytes;
}

// An input image and, in a folder of its own, the file a save is to replace.
class SaveFaultScene {
public:
    explicit SaveFaultScene(Fault fault) : fault_(fault)
    {
        fixtures::ImageRecipe recipe;
        recipe.length = kImageReadLimit;
        fixtures::writeFile(input(), fixtures::buildImage(recipe));
        fs::create_directories(outputFolder());
        if (hasOldFile()) fixtures::writeFile(target(), oldContent());
        if (fault == Fault::ReadOnlyTarget) ::chmod(target().c_str(), 0444);
        if (fault == Fault::DiskFullInPlace)
            fs::create_hard_link(target(), outputFolder() / "card_mod.bak");
        if (fault == Fault::ReadOnlyFolder) ::chmod(outputFolder().c_str(), 0555);
        if (fault == Fault::FolderGone) fs::remove_all(outputFolder());
        contentsBefore_ = contents();
    }

    fs::path input() const { return folder_ / "card.rom"; }
    fs::path outputFolder() const { return folder_ / "out"; }
    fs::path target() const { return outputFolder() / "card_mod.rom"; }
    bool hasOldFile() const
    {
        return fault_ != Fault::FolderGone && fault_ != Fault::ReadOnlyFolder;
    }

    // What the output folder holds; nothing at all when it is gone.
    std::map<std::string, std::string> contents() const
    {
        if (!fs::exists(outputFolder())) return {};
        ::chmod(outputFolder().c_str(), 0755);
        auto result = folderContents(outputFolder());
        if (fault_ == Fault::ReadOnlyFolder) ::chmod(outputFolder().c_str(), 0555);
        return result;
    }

    // The old file as it was, and nothing beside it: no temporary, no second name. A folder
    // that was gone at the write is not created again.
    void expectUntouched() const
    {
        if (fault_ == Fault::FolderGone || fault_ == Fault::FolderRemoved) {
            EXPECT_FALSE(fs::exists(outputFolder())) << "the folder came back";
            return;
        }
        EXPECT_EQ(contents(), contentsBefore_);
        if (hasOldFile()) {
            EXPECT_EQ(fixtures::readFile(target()), oldContent());
        }
    }

private:
    Fault fault_;
    ScratchFolder folder_;
    std::map<std::string, std::string> contentsBefore_;
};

// --- The command-line tool --------------------------------------------------------------

class SaveFaultThroughTool : public ::testing::TestWithParam<Fault> {};

TEST_P(SaveFaultThroughTool, ExitsWithFourAndTheReasonAndKeepsTheOldFile)
{
    if (!haveCommandLineTool()) GTEST_SKIP() << "built without the command-line tool";
    const Fault fault = GetParam();
    SaveFaultScene scene(fault);
    const Bytes input = fixtures::readFile(scene.input());
    ChildLimits limits;
    if (fault == Fault::DiskFull || fault == Fault::DiskFullInPlace)
        limits.fileSizeLimit = kRoomOnFullDisk;

    const ToolRun run = runTool(
        {"set", scene.input().string(), "--3d-gpu", "800", "-o", scene.target().string()}, limits);

    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.out, "");
    const std::string expected = "clockvane: " + scene.input().string() + ": cannot write " +
                                 scene.target().string() + ": " + reasonOf(fault) + "\n";
    EXPECT_EQ(run.err, expected);
    scene.expectUntouched();
    EXPECT_EQ(fixtures::readFile(scene.input()), input);
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultThroughTool,
                         ::testing::Values(Fault::ReadOnlyTarget, Fault::ReadOnlyFolder,
                                           Fault::FolderGone, Fault::DiskFull,
                                           Fault::DiskFullInPlace),
                         [](const auto& info) { return faultName(info.param); });

// --- The window ---------------------------------------------------------------------------

// What the user was told and what the window shows afterwards, as one text, so that it can
// be handed back from a child process as well.
std::string describeOutcome(const app::testing::FakePlatform& fake,
                            const app::MainController& controller)
{
    std::ostringstream out;
    for (const auto& message : fake.messages) {
        out << "message '" << message.title << "' icon " << static_cast<int>(message.icon)
            << " text '" << message.text << "'\n";
    }
    const app::MainWindowState& state = controller.state();
    out << "status '" << state.statusPanels[app::kProgressPanel] << "'\n";
    bool anyEnabled = false;
    for (const auto& slider : state.sliders) anyEnabled = anyEnabled || slider.enabled;
    for (const auto& box : state.vcoreBoxes) anyEnabled = anyEnabled || box.enabled;
    out << "editing controls " << (anyEnabled ? "enabled" : "disabled") << "\n";
    return out.str();
}

std::string expectedOutcome(Fault fault, const fs::path& target)
{
    std::ostringstream out;
    if (fault == Fault::ReadOnlyTarget || fault == Fault::ReadOnlyFolder) {
        out << "message 'Access denied' icon " << static_cast<int>(app::MessageIcon::Critical)
            << " text 'File is read only. Can't write to file!'\n";
    } else {
        out << "message 'Write error' icon " << static_cast<int>(app::MessageIcon::Critical)
            << " text 'The file could not be written:\r" << target.string() << "\r\r"
            << reasonOf(fault) << "'\n";
    }
    out << "status 'Error writing to file...'\n";
    // After a failed write the editing controls stay disabled until a save succeeds or a
    // file is opened.
    out << "editing controls disabled\n";
    return out.str();
}

class SaveFaultThroughWindow : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override
    {
        fake.attach(controller);
        controller.Form_Load();
        fake.openDialogAnswers.emplace_back(scene.input().string());
        controller.ROMOpen_Click();
        ASSERT_TRUE(controller.hasImage());
        controller.setSliderValue(4, 800);
        controller.ScrollBar1_Change(4);
        fake.clearRecords();
    }

    void save()
    {
        fake.saveDialogAnswers.emplace_back(scene.target().string());
        controller.ROMSave_Click();
    }

    SaveFaultScene scene{GetParam()};
    app::testing::FakePlatform fake;
    app::MainController controller{fake};
};

TEST_P(SaveFaultThroughWindow, ShowsTheCriticalMessageAndKeepsTheOldFile)
{
    const Fault fault = GetParam();
    std::string outcome;
    switch (fault) {
    case Fault::FolderRemoved: {
        // The folder exists when the dialog returns and is removed while the window shows
        // "Saving ROM file...", just before the write.
        bool removed = false;
        for (int wait = 1; wait <= 40; ++wait) {
            fake.duringWait(wait, [&] {
                if (!removed && fake.waits.back().status == "Saving ROM file...") {
                    fs::remove_all(scene.outputFolder());
                    removed = true;
                }
            });
        }
        save();
        EXPECT_TRUE(removed);
        outcome = describeOutcome(fake, controller);
        break;
    }
    case Fault::DiskFull:
    case Fault::DiskFullInPlace: {
        const ChildResult child = runInChild(
            [&] {
                save();
                return describeOutcome(fake, controller);
            },
            ChildLimits{kRoomOnFullDisk, std::nullopt, {}, std::nullopt});
        EXPECT_EQ(child.exitCode, 0);
        outcome = child.report;
        break;
    }
    case Fault::ReadBackMismatch:
        fake.writeHook = [](const fs::path& path, ByteView bytes) {
            WriteSeams seams;
            seams.afterReadBack = [](Bytes& readBack) { readBack.at(1000) ^= 0x01; };
            return writeFileSafely(path, bytes, seams);
        };
        save();
        outcome = describeOutcome(fake, controller);
        break;
    case Fault::ReadOnlyTarget:
    case Fault::ReadOnlyFolder:
    case Fault::FolderGone:
        save();
        outcome = describeOutcome(fake, controller);
        break;
    }
    EXPECT_EQ(outcome, expectedOutcome(fault, scene.target()));
    scene.expectUntouched();
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultThroughWindow,
                         ::testing::Values(Fault::ReadOnlyTarget, Fault::ReadOnlyFolder,
                                           Fault::FolderRemoved, Fault::DiskFull,
                                           Fault::ReadBackMismatch),
                         [](const auto& info) { return faultName(info.param); });

}  // namespace
}  // namespace clockvane::reliability
