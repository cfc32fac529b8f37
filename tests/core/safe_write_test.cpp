#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "bytes/sums.h"
#include "edit/save_pipeline.h"
#include "files/rom_file.h"
#include "files/safe_write.h"
#include "files/save_name.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"

namespace clockvane {
namespace {

namespace fs = std::filesystem;

Bytes pattern(std::size_t length, std::uint8_t seed)
{
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

mode_t permissions(const fs::path& path)
{
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

class SafeWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "clockvane-write-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        folder_ = templ;
        oldUmask_ = ::umask(022);
    }
    void TearDown() override
    {
        ::umask(oldUmask_);
        // Give write access back everywhere so that the folder can be removed.
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
            if (!entry.is_symlink()) ::chmod(entry.path().c_str(), 0700);
        }
        ::chmod(folder_.c_str(), 0700);
        fs::remove_all(folder_);
    }

    // The names in a folder: nothing but what a test put there may remain, temporaries least of
    // all.
    std::set<std::string> names(const fs::path& folder) const
    {
        ::chmod(folder.c_str(), permissions(folder) | S_IRUSR | S_IXUSR);
        std::set<std::string> result;
        for (const auto& entry : fs::directory_iterator(folder))
            result.insert(entry.path().filename().string());
        return result;
    }

    fs::path folder_;
    mode_t oldUmask_ = 022;
};

TEST_F(SafeWrite, CreatesANewFileWithTheUmasksPermissions)
{
    const fs::path target = folder_ / "hd3870_mod.rom";
    const Bytes bytes = pattern(70'000, 3);
    ::umask(027);
    EXPECT_FALSE(writeFileSafely(target, bytes).has_value());
    EXPECT_EQ(fixtures::readFile(target), bytes);
    EXPECT_EQ(permissions(target), 0640u);
    EXPECT_EQ(names(folder_), std::set<std::string>{"hd3870_mod.rom"});
}

TEST_F(SafeWrite, ReplacesALongerFileCompletelyAndKeepsItsPermissions)
{
    const fs::path target = folder_ / "card.rom";
    fixtures::writeFile(target, pattern(120'000, 9));
    ::chmod(target.c_str(), 0604);
    const Bytes bytes = pattern(100'000, 1);
    EXPECT_FALSE(writeFileSafely(target, bytes).has_value());
    EXPECT_EQ(fixtures::readFile(target), bytes);
    EXPECT_EQ(permissions(target), 0604u);
    EXPECT_EQ(names(folder_), std::set<std::string>{"card.rom"});
}

TEST_F(SafeWrite, ThroughALinkReplacesTheLinkedFileAndKeepsTheLink)
{
    const fs::path real = folder_ / "real.rom";
    const fs::path link = folder_ / "link.rom";
    fixtures::writeFile(real, pattern(10, 0));
    fs::create_symlink("real.rom", link);
    const Bytes bytes = pattern(20, 5);
    EXPECT_FALSE(writeFileSafely(link, bytes).has_value());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(fixtures::readFile(real), bytes);
    EXPECT_EQ(names(folder_), (std::set<std::string>{"link.rom", "real.rom"}));
}

// A file or folder without any write bit counts as read-only for everyone, the superuser
// included, so these cases hold whoever runs the tests.
TEST_F(SafeWrite, RefusesAReadOnlyFileAndLeavesItIntact)
{
    const fs::path target = folder_ / "locked.rom";
    const Bytes old = pattern(5000, 2);
    fixtures::writeFile(target, old);
    ::chmod(target.c_str(), 0444);
    const auto error = writeFileSafely(target, pattern(4000, 8));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, WriteErrorKind::AccessDenied);
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(fixtures::readFile(target), old);
    EXPECT_EQ(permissions(target), 0444u);
    EXPECT_EQ(names(folder_), std::set<std::string>{"locked.rom"});
}

TEST_F(SafeWrite, RefusesAReadOnlyFolderForNewAndExistingFiles)
{
    const fs::path existing = folder_ / "old.rom";
    const Bytes old = pattern(300, 4);
    fixtures::writeFile(existing, old);
    ::chmod(folder_.c_str(), 0555);
    for (const fs::path& target : {folder_ / "new.rom", existing}) {
        const auto error = writeFileSafely(target, pattern(100, 6));
        ASSERT_TRUE(error.has_value()) << target;
        EXPECT_EQ(error->kind, WriteErrorKind::AccessDenied) << target;
    }
    EXPECT_EQ(fixtures::readFile(existing), old);
    EXPECT_EQ(names(folder_), std::set<std::string>{"old.rom"});
}

TEST_F(SafeWrite, AMissingFolderOrAFolderAsTargetIsAPlainFailure)
{
    fs::create_directory(folder_ / "sub");
    for (const fs::path& target : {folder_ / "gone" / "x.rom", folder_ / "sub"}) {
        const auto error = writeFileSafely(target, pattern(10, 1));
        ASSERT_TRUE(error.has_value()) << target;
        EXPECT_EQ(error->kind, WriteErrorKind::Failed) << target;
        EXPECT_FALSE(error->reason.empty()) << target;
    }
    EXPECT_EQ(names(folder_), std::set<std::string>{"sub"});
    EXPECT_TRUE(names(folder_ / "sub").empty());
}

TEST_F(SafeWrite, WritesAHiddenTemporaryBesideTheTargetFirst)
{
    const fs::path target = folder_ / "card.rom";
    const Bytes old = pattern(50, 1);
    fixtures::writeFile(target, old);
    const Bytes bytes = pattern(60, 2);
    WriteSeams seams;
    bool seen = false;
    seams.beforeRename = [&](const fs::path& temporary) {
        seen = true;
        EXPECT_EQ(temporary.parent_path(), folder_);
        EXPECT_EQ(temporary.filename().string().front(), '.');
        EXPECT_EQ(fixtures::readFile(temporary), bytes);
        EXPECT_EQ(fixtures::readFile(target), old);  // the target is untouched until the rename
    };
    EXPECT_FALSE(writeFileSafely(target, bytes, seams).has_value());
    EXPECT_TRUE(seen);
    EXPECT_EQ(names(folder_), std::set<std::string>{"card.rom"});
}

TEST_F(SafeWrite, AFailedRenameLeavesNoTemporary)
{
    const fs::path target = folder_ / "card.rom";
    const Bytes old = pattern(50, 1);
    fixtures::writeFile(target, old);

    // The temporary vanishes: the old file is still all there.
    WriteSeams vanish;
    vanish.beforeRename = [](const fs::path& temporary) { fs::remove(temporary); };
    auto error = writeFileSafely(target, pattern(60, 2), vanish);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, WriteErrorKind::Failed);
    EXPECT_EQ(fixtures::readFile(target), old);
    EXPECT_EQ(names(folder_), std::set<std::string>{"card.rom"});

    // A folder takes the target's place: the rename fails and the temporary is removed.
    WriteSeams folderInTheWay;
    folderInTheWay.beforeRename = [&](const fs::path&) {
        fs::remove(target);
        fs::create_directories(target / "inside");
    };
    error = writeFileSafely(target, pattern(60, 2), folderInTheWay);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, WriteErrorKind::Failed);
    EXPECT_EQ(names(folder_), std::set<std::string>{"card.rom"});
}

TEST_F(SafeWrite, ReportsAFileThatDoesNotReadBackAsWritten)
{
    const fs::path target = folder_ / "card.rom";
    WriteSeams seams;
    seams.afterReadBack = [](Bytes& readBack) { readBack.at(1234) ^= 0x01; };
    const auto error = writeFileSafely(target, pattern(4096, 0), seams);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, WriteErrorKind::ReadBackMismatch);
    EXPECT_EQ(names(folder_), std::set<std::string>{"card.rom"});
}

TEST_F(SafeWrite, AFileLongerThanTheImageKeepsItsEndThroughOpenSaveAndWrite)
{
    fixtures::ImageRecipe recipe;
    recipe.length = kImageReadLimit;
    Bytes file = fixtures::buildImage(recipe);
    const Bytes beyond = pattern(5000, 0x80);
    file.insert(file.end(), beyond.begin(), beyond.end());
    const fs::path opened = folder_ / "hd3870.rom";
    fixtures::writeFile(opened, file);

    auto raw = readRomFile(opened);
    ASSERT_TRUE(raw.ok());
    auto loaded = loadRom(std::move(raw).value());
    ASSERT_TRUE(loaded.ok());
    LoadedRom& rom = *loaded;
    SaveControls controls;
    controls.sliders = {800, 1000, 300, 500, 800, 1000, 800, 1000, 500, 900};
    controls.vcoreTexts = {"1.2", "1.1", "1.25", "", "1.15"};
    FixedClassicAnswer no(false);
    const auto saved = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, no);
    ASSERT_TRUE(saved.ok());
    ASSERT_EQ(saved->outcome, SaveOutcome::CorrectedByCompensation);

    const fs::path target = fs::path(defaultSaveName(opened.string()));
    EXPECT_EQ(target.filename(), "hd3870_mod.rom");
    ASSERT_FALSE(writeFileSafely(target, bytesToWrite(rom.image)).has_value());

    const Bytes written = fixtures::readFile(target);
    ASSERT_EQ(written.size(), file.size());
    EXPECT_TRUE(std::equal(beyond.begin(), beyond.end(),
                           written.end() - static_cast<std::ptrdiff_t>(beyond.size())));
    EXPECT_TRUE(
        std::equal(rom.image.outputImage.begin(), rom.image.outputImage.end(), written.begin()));
    EXPECT_EQ(sum16(ByteView(written).first(kImageReadLimit)),
              sum16(ByteView(file).first(kImageReadLimit)));
    EXPECT_EQ(fixtures::readFile(opened), file);  // the opened file is never written
}

}  // namespace
}  // namespace clockvane
