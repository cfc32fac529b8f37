// Reliability through the real file system: bad inputs through the tool; saves that fail, are
// killed or meet a rival save; and open/edit/save cycles through the window. Saves by other
// users are the file writer's tests, the window's refusals of bad files the controller's.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "app/main_controller.h"
#include "bytes/sums.h"
#include "files/rom_file.h"
#include "files/safe_write.h"
#include "fixtures/fake_platform.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"
#include "image/rom_image.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;
using fixtures::pattern;

constexpr uid_t kUnprivileged = 65534;

// How the input is made: its bytes, or something that is no plain file of them.
enum class Kind { Content, Missing, Folder, Unreadable, Pipe, Sparse65MiB, Link };

struct BadInput {
    std::string name;
    std::string fileName;
    Bytes content;
    std::string reason;  // the tool's reason after "clockvane: PATH: "; "" opens
    Kind kind = Kind::Content;
};

// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const BadInput& row, std::ostream* out) { *out << row.name; }

Bytes image(std::size_t length, std::size_t signature = 0x5A10)
{
    return fixtures::buildImage({.length = length, .signatureOffset = signature});
}

std::vector<BadInput> badInputs()
{
    const Bytes plain = image(65536);
    Bytes long3MiB = image(kImageReadLimit);
    long3MiB.resize(3 << 20, 0x5A);  // junk past the image
    const std::string open = "cannot open: ";
    const std::string notAti = "not an ATI 38xx BIOS image: ";
    return {
        {"Missing", "missing.rom", {}, open + "No such file or directory", Kind::Missing},
        {"Directory", "folder.rom", {}, "cannot read: Is a directory", Kind::Folder},
        {"Unreadable", "locked.rom", plain, open + "Permission denied", Kind::Unreadable},
        {"NamedPipe", "pipe.rom", {}, "cannot read: Not a regular file", Kind::Pipe},
        {"SparseFileOf65MiB", "huge.rom", plain,
         "cannot read: File too large for a video BIOS image", Kind::Sparse65MiB},
        {"Empty", "empty.rom", {}, notAti + "the file is too short to hold a device ID at 0x88"},
        {"DeviceIdInWrongByteOrder", "swapped.rom", fixtures::buildImage({.deviceId = "0195"}),
         notAti + "device ID 0195 at 0x88"},
        {"SignatureAt49989", "late.rom", image(kImageReadLimit, 49'989), "no clock table"},
        {"ThreeMegabytesOfImageAndJunk", "long.rom", long3MiB, ""},
        {"NameWithSpacesAndUmlauts", "Mein BIOS für HD 3870 (Kopie) ÄÖÜß.rom", plain, ""},
        {"SymbolicLink", "link.rom", plain, "", Kind::Link},
    };
}

void make(const BadInput& row, const fs::path& path)
{
    const fs::path written = row.kind == Kind::Link ? path.parent_path() / "real.rom" : path;
    if (!row.content.empty() || row.kind == Kind::Content)
        fixtures::writeFile(written, row.content);
    switch (row.kind) {
    case Kind::Folder: fs::create_directories(path); break;
    case Kind::Unreadable: fs::permissions(path, fs::perms::none); break;
    case Kind::Pipe: ::mkfifo(path.c_str(), 0644); break;
    case Kind::Sparse65MiB: fs::resize_file(path, 65u * 1024u * 1024u); break;
    case Kind::Link: fs::create_symlink("real.rom", path); break;
    default: break;
    }
}

// A saved copy of a file whose 3D clock was moved: changed, as long as the file, with the
// image's sum balanced over its first 100,000 bytes and the bytes past them unchanged.
bool savedCopyMatches(const Bytes& original, const Bytes& saved)
{
    const RawFile a = splitFileBytes(original);
    const RawFile b = splitFileBytes(saved);
    return saved != original && a.image.size() == b.image.size() && a.beyond == b.beyond &&
           sum16(a.image) == sum16(b.image);
}

class BadInputThroughTool : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputThroughTool, IsRefusedWithExitTwoOrShownAndSaved)
{
    if (!haveCommandLineTool()) GTEST_SKIP() << "built without the command-line tool";
    const BadInput& row = GetParam();
    ScratchFolder folder;
    const fs::path path = folder / row.fileName;
    make(row, path);
    const auto before = namesIn(folder.path());
    ChildLimits limits;
    if (row.kind == Kind::Unreadable && runningAsSuperuser()) limits.user = kUnprivileged;

    const ToolRun info = runTool({"info", path.string()}, limits);
    if (limits.user && info.exitCode == kToolNotRunnable) GTEST_SKIP() << "tool not runnable";
    const ToolRun set = runTool({"set", path.string(), "--3d-gpu", "800"}, limits);
    if (!row.reason.empty()) {
        for (const ToolRun* run : {&info, &set}) {
            EXPECT_EQ(run->exitCode, 2);
            EXPECT_EQ(run->out, "");
            EXPECT_EQ(run->err.rfind("clockvane: " + path.string() + ": " + row.reason, 0), 0u)
                << run->err;
        }
        EXPECT_EQ(namesIn(folder.path()), before) << "a refused file wrote something";
        return;
    }
    const Bytes original = fixtures::readFile(path);
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(info.err, "");
    EXPECT_NE(info.out.find("\n3D High Power     775.00 "), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Checksum-16:         " + SumBytes(splitFileBytes(original).image)),
              std::string::npos);
    EXPECT_EQ(set.exitCode, 0) << set.err;
    std::set<std::string> added = namesIn(folder.path());
    for (const std::string& name : before) added.erase(name);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(savedCopyMatches(original, fixtures::readFile(folder / *added.begin())));
    EXPECT_EQ(fixtures::readFile(path), original) << "the opened file was written";
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputThroughTool, ::testing::ValuesIn(badInputs()),
                         [](const auto& info) { return info.param.name; });

// A disk that takes no more than 40,000 bytes (RLIMIT_FSIZE in the child that saves), for a
// renamed copy and for a file written in place (it has a second name). Refusals that come
// before any write are the file writer's own tests.
TEST(SaveFaults, TheToolExitsWithFourAndTheReasonAndKeepsTheOldFile)
{
    if (!haveCommandLineTool()) GTEST_SKIP() << "built without the command-line tool";
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "in place" : "renamed copy");
        ScratchFolder folder;
        const fs::path input = folder / "card.rom";
        const fs::path target = folder / "out/card_mod.rom";
        fixtures::writeFile(input, image(kImageReadLimit));
        fs::create_directories(folder / "out");
        fixtures::writeFile(target, pattern(70'000, 7));
        if (inPlace) fs::create_hard_link(target, folder / "out/card.bak");
        const auto names = namesIn(folder / "out");
        ChildLimits limits;
        limits.fileSizeLimit = 40'000;

        const ToolRun run =
            runTool({"set", input.string(), "--3d-gpu", "800", "-o", target.string()}, limits);
        EXPECT_EQ(run.exitCode, 4);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "clockvane: " + input.string() + ": cannot write " + target.string() +
                               ": File too large" +
                               (inPlace ? "; the previous content was put back\n" : "\n"));
        EXPECT_EQ(namesIn(folder / "out"), names);
        EXPECT_EQ(fixtures::readFile(target), pattern(70'000, 7));
    }
}

// A writer killed a quarter into a 4 MiB write: the old file keeps bytes and mode. An unnamed
// temporary (O_TMPFILE) leaves nothing behind; a named one stays as a partial hidden file.
TEST(KilledSave, LeavesTheOldFileWithItsMode)
{
    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named temporary" : "unnamed temporary");
        ScratchFolder folder;
        if (!named && !unnamedTemporariesSupported(folder.path())) continue;
        const fs::path target = folder / "card.rom";
        fixtures::writeFile(target, pattern(200'000, 3));
        ::chmod(target.c_str(), 0640);
        const ChildResult child = runInChild([&] {
            WriteSeams seams;
            seams.namedTemporaryOnly = named;
            seams.afterChunk = [](std::size_t done) {
                if (done >= 1 << 20) ::raise(SIGKILL);
            };
            (void)writeFileSafely(target, pattern(4 << 20, 99), seams);  // killed before it ends
            return std::string("not killed");
        });
        ASSERT_EQ(child.signal, SIGKILL);
        EXPECT_EQ(fixtures::readFile(target), pattern(200'000, 3));
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
        const std::set<std::string> names = namesIn(folder.path());
        ASSERT_EQ(names.size(), named ? 2u : 1u);
        EXPECT_LT(fs::file_size(folder / *names.begin()), 4u << 20);  // the leftover is partial
    }
}

// Two runs with different edits write one existing output, round after round, alternating a
// plain output (renamed copy) and one with a second name (in place). Serialised by the lock,
// both succeed and the output is exactly one run's bytes, never a mix.
TEST(ConcurrentSaves, EachRoundLeavesOneRunsBytes)
{
    if (!haveCommandLineTool()) GTEST_SKIP() << "built without the command-line tool";
    ScratchFolder folder(fastScratchParent());
    const fs::path input = folder / "card.rom";
    const fs::path output = folder / "card_mod.rom";
    Bytes old = image(kImageReadLimit);
    old.resize(old.size() + 256 * 1024, 0x5A);  // makes each write long enough to overlap
    fixtures::writeFile(input, old);
    const auto arguments = [&](int run) {
        return std::vector<std::string>{
            "set",      input.string(),           "-o",       output.string(),
            "--3d-gpu", run == 0 ? "800" : "750", "--2d-gpu", run == 0 ? "350" : "300"};
    };
    Bytes alone[2];
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(runTool(arguments(run)).exitCode, 0);
        alone[run] = fixtures::readFile(output);
    }
    ASSERT_NE(alone[0], alone[1]);

    for (int round = 0; round < (kUnderSanitizer ? 50 : 200); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const bool inPlace = round % 2 == 1;
        fs::remove(folder / "card_mod.bak");
        fixtures::writeFile(output, old);
        if (inPlace) fs::create_hard_link(output, folder / "card_mod.bak");
        ToolRun runs[2];
        std::thread rival([&] { runs[1] = runTool(arguments(1)); });
        runs[0] = runTool(arguments(0));
        rival.join();
        ASSERT_TRUE(runs[0].exitCode == 0 && runs[1].exitCode == 0) << runs[0].err << runs[1].err;
        const Bytes result = fixtures::readFile(output);
        ASSERT_TRUE(result == alone[0] || result == alone[1]);
        std::set<std::string> names{"card.rom", "card_mod.rom"};
        if (inPlace) {
            ASSERT_EQ(fixtures::readFile(folder / "card_mod.bak"), result);
            names.insert("card_mod.bak");
        }
        ASSERT_EQ(namesIn(folder.path()), names);
    }
}

// Open/edit/save cycles through the window, each opening the file the one before saved: every
// save balances to the first file's sum and memory stays level (not measured under the
// sanitizers, which hold freed memory back on purpose).
TEST(Stress, OpenEditSaveCyclesKeepMemoryLevelAndEveryFileSound)
{
    ScratchFolder folder(fastScratchParent());
    const fs::path files[2] = {folder / "a.rom", folder / "b.rom"};
    fixtures::writeFile(files[0], image(kImageReadLimit));
    app::testing::FakePlatform fake;
    app::MainController controller(fake);
    fake.attach(controller);
    controller.Form_Load();
    const auto residentBytes = [] {
        std::ifstream statm("/proc/self/statm");
        long size = 0;
        long resident = 0;
        statm >> size >> resident;
        return resident * ::sysconf(_SC_PAGESIZE);
    };
    const std::string corrected =
        "Checksum-16: " + SumBytes(image(kImageReadLimit)) + " (Corrected)";
    long warmedUp = 0;
    for (int n = 0; n < (kUnderSanitizer ? 500 : 10'000); ++n) {
        fake.clearRecords();
        fake.openDialogAnswers.emplace_back(files[n % 2].string());
        controller.ROMOpen_Click();
        controller.setSliderValue(4, 700 + n % 150);
        controller.ScrollBar1_Change(4);
        fake.saveDialogAnswers.emplace_back(files[(n + 1) % 2].string());
        controller.ROMSave_Click();
        ASSERT_TRUE(fake.messages.empty()) << "cycle " << n;
        ASSERT_EQ(controller.state().statusPanels[app::kChecksumPanel], corrected) << "cycle " << n;
        if (n + 1 == 200) warmedUp = residentBytes();
    }
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"a.rom", "b.rom"}));
    EXPECT_TRUE(kUnderSanitizer || residentBytes() - warmedUp < 4L * 1024 * 1024);
}

}  // namespace
}  // namespace clockvane::reliability
