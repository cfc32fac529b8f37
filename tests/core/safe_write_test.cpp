#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>

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

// What a file is to its users besides its bytes.
struct Snapshot {
    ino_t inode = 0;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    nlink_t links = 0;
    std::map<std::string, std::string> attributes;  // extended attributes, ACLs included
};

Snapshot snapshot(const fs::path& path)
{
    Snapshot result;
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    result = {status.st_ino, status.st_mode & 07777, status.st_uid,
              status.st_gid, status.st_nlink,        {}};
    char names[4096];
    const ssize_t length = ::llistxattr(path.c_str(), names, sizeof names);
    for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
        char value[4096];
        const ssize_t size = ::lgetxattr(path.c_str(), names + at, value, sizeof value);
        result.attributes[names + at] =
            std::string(value, static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
    }
    return result;
}

// A POSIX ACL in the kernel's extended-attribute form: a version word, then entries of tag,
// permissions and id, sorted by tag.
std::string
aclBlob(std::initializer_list<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>> entries)
{
    std::string blob;
    const auto put = [&blob](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            blob.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(2, 4);
    for (const auto& [tag, permissions, id] : entries) {
        put(tag, 2);
        put(permissions, 2);
        put(id, 4);
    }
    return blob;
}
constexpr std::uint16_t kUserObj = 0x01, kUser = 0x02, kGroupObj = 0x04, kMask = 0x10,
                        kOther = 0x20;
constexpr std::uint32_t kNoId = 0xFFFFFFFF;
constexpr std::uint32_t kNobody = 65534;

bool setAttribute(const fs::path& path, const char* name, const std::string& value)
{
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
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
        for (const int fd : held_) ::close(fd);
        // Give write access back everywhere so that the folder can be removed.
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
            if (!entry.is_symlink()) ::chmod(entry.path().c_str(), 0700);
        }
        ::chmod(folder_.c_str(), 0700);
        fs::remove_all(folder_);
    }

    // The names in a folder: nothing but what a test put there may remain, temporaries least of
    // all.
    static std::set<std::string> names(const fs::path& folder)
    {
        std::set<std::string> result;
        for (const auto& entry : fs::directory_iterator(folder))
            result.insert(entry.path().filename().string());
        return result;
    }

    // Takes the writers' lock on a file as another program would, until the test ends.
    void holdLock(const fs::path& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        held_.push_back(fd);
    }

    fs::path folder_;
    mode_t oldUmask_ = 022;
    std::vector<int> held_;
};

TEST_F(SafeWrite, CreatesANewFileWithTheUmasksPermissions)
{
    const fs::path target = folder_ / "hd3870_mod.rom";
    const Bytes bytes = pattern(70'000, 3);
    ::umask(027);
    EXPECT_FALSE(writeFileSafely(target, bytes).has_value());
    EXPECT_EQ(fixtures::readFile(target), bytes);
    EXPECT_EQ(snapshot(target).mode, 0640u);
    EXPECT_EQ(names(folder_), std::set<std::string>{"hd3870_mod.rom"});
}

// --- Replacing an existing file: renamed copy or in place -------------------------------

enum class Way { Renamed, InPlace };

struct ReplaceCase {
    const char* name;
    bool needsSuperuser;
    // Prepares `card.rom` (and its folder); false when the file system cannot do it.
    std::function<bool(const fs::path& folder, const fs::path& target)> prepare;
    Way way;
};

// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const ReplaceCase& row, std::ostream* out) { *out << row.name; }

const ReplaceCase kReplaceCases[] = {
    {"PlainFileKeepsItsMode", false,
     [](const fs::path&, const fs::path& target) { return ::chmod(target.c_str(), 0604) == 0; },
     Way::Renamed},
    {"OwnerAndGroupOfAnotherUser", true,
     [](const fs::path&, const fs::path& target) {
         return ::chown(target.c_str(), kNobody, kNobody) == 0 &&
                ::chmod(target.c_str(), 0664) == 0;
     },
     Way::Renamed},
    {"ExtendedAttributes", false,
     [](const fs::path&, const fs::path& target) {
         return setAttribute(target, "user.origin", "dump of card 2") &&
                setAttribute(target, "user.empty", "");
     },
     Way::Renamed},
    {"AccessControlList", false,
     [](const fs::path&, const fs::path& target) {
         return setAttribute(target, "system.posix_acl_access",
                             aclBlob({{kUserObj, 6, kNoId},
                                      {kUser, 4, kNobody},
                                      {kGroupObj, 4, kNoId},
                                      {kMask, 6, kNoId},
                                      {kOther, 0, kNoId}}));
     },
     Way::Renamed},
    // The folder's default ACL would give a new file an ACL the old one does not have.
    {"FolderDefaultAclNotTakenOver", false,
     [](const fs::path& folder, const fs::path&) {
         return setAttribute(folder, "system.posix_acl_default",
                             aclBlob({{kUserObj, 7, kNoId},
                                      {kUser, 7, kNobody},
                                      {kGroupObj, 5, kNoId},
                                      {kMask, 7, kNoId},
                                      {kOther, 5, kNoId}}));
     },
     Way::Renamed},
    // A renamed copy would split the names apart: both must show the new content.
    {"SecondHardLink", false,
     [](const fs::path& folder, const fs::path& target) {
         return ::link(target.c_str(), (folder / "same.rom").c_str()) == 0;
     },
     Way::InPlace},
    // No new name can be made, but the file itself may be written.
    {"FolderWithoutWriteBit", false,
     [](const fs::path& folder, const fs::path&) { return ::chmod(folder.c_str(), 0555) == 0; },
     Way::InPlace},
};

class ReplaceExisting : public SafeWrite, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceExisting, KeepsEverythingButTheBytesAndChoosesTheWay)
{
    const ReplaceCase& row = GetParam();
    if (row.needsSuperuser && ::geteuid() != 0) GTEST_SKIP() << "needs the superuser";
    const fs::path target = folder_ / "card.rom";
    fixtures::writeFile(target, pattern(120'000, 9));  // longer than the new content
    if (!row.prepare(folder_, target))
        GTEST_SKIP() << "the file system cannot: " << std::strerror(errno);
    const Snapshot before = snapshot(target);
    const std::set<std::string> namesBefore = names(folder_);

    const Bytes bytes = pattern(100'000, 1);
    const auto error = writeFileSafely(target, bytes);
    ASSERT_FALSE(error.has_value()) << error->reason;

    const Snapshot after = snapshot(target);
    EXPECT_EQ(fixtures::readFile(target), bytes);
    EXPECT_EQ(after.inode == before.inode, row.way == Way::InPlace);
    EXPECT_EQ(after.mode, before.mode);
    EXPECT_EQ(after.owner, before.owner);
    EXPECT_EQ(after.group, before.group);
    EXPECT_EQ(after.links, before.links);
    EXPECT_EQ(after.attributes, before.attributes);
    ::chmod(folder_.c_str(), 0700);
    EXPECT_EQ(names(folder_), namesBefore);
    if (before.links > 1) {
        EXPECT_EQ(fixtures::readFile(folder_ / "same.rom"), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceExisting, ::testing::ValuesIn(kReplaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Links ---------------------------------------------------------------------------------

TEST_F(SafeWrite, WritesThroughLinksToTheFileTheyNameAndKeepsTheLinks)
{
    fs::create_directory(folder_ / "elsewhere");
    const struct {
        const char* link;
        std::string pointsTo;
        fs::path file;  // what the link finally names
        bool exists;
    } cases[] = {
        {"relative.rom", "real.rom", folder_ / "real.rom", true},
        {"chain.rom", "relative.rom", folder_ / "real.rom", true},
        {"absolute.rom", (folder_ / "elsewhere" / "far.rom").string(),
         folder_ / "elsewhere" / "far.rom", true},
        // A link to a file that does not exist yet creates that file, as cp does.
        {"dangling.rom", "elsewhere/new.rom", folder_ / "elsewhere" / "new.rom", false},
    };
    for (const auto& row : cases) {
        if (row.exists && !fs::exists(row.file)) fixtures::writeFile(row.file, pattern(10, 0));
        fs::create_symlink(row.pointsTo, folder_ / row.link);
    }
    for (const auto& row : cases) {
        SCOPED_TRACE(row.link);
        const Bytes bytes = pattern(20, static_cast<std::uint8_t>(row.link[0]));
        const auto error = writeFileSafely(folder_ / row.link, bytes);
        ASSERT_FALSE(error.has_value()) << error->reason;
        EXPECT_EQ(fs::read_symlink(folder_ / row.link), row.pointsTo);
        EXPECT_EQ(fixtures::readFile(row.file), bytes);
    }
    EXPECT_EQ(names(folder_), (std::set<std::string>{"absolute.rom", "chain.rom", "dangling.rom",
                                                     "elsewhere", "real.rom", "relative.rom"}));
    EXPECT_EQ(names(folder_ / "elsewhere"), (std::set<std::string>{"far.rom", "new.rom"}));
}

// Every helper name is made relative to the open folder, so a path as long as the system
// allows (4,095 bytes) still works, as a new file and as a replaced one.
TEST_F(SafeWrite, WritesAPathOfFourThousandAndNinetyTwoBytes)
{
    fs::path folder = folder_;
    while (folder.string().size() < 4092 - 250) folder /= std::string(200, 'd');
    fs::create_directories(folder);
    const std::size_t nameLength = 4092 - folder.string().size() - 1;
    const fs::path target = folder / std::string(nameLength, 'n');
    ASSERT_EQ(target.string().size(), 4092u);
    for (const std::uint8_t seed : {1, 2}) {
        const Bytes bytes = pattern(5000, seed);
        const auto error = writeFileSafely(target, bytes);
        ASSERT_FALSE(error.has_value()) << error->reason;
        EXPECT_EQ(fixtures::readFile(target), bytes);
        EXPECT_EQ(names(folder).size(), 1u);
    }
}

// --- Refusals -----------------------------------------------------------------------------

// A file or folder without any write bit counts as read-only for everyone, the superuser
// included, so these cases hold whoever runs the tests.
TEST_F(SafeWrite, RefusesWhatItMayNotWriteAndChangesNothing)
{
    const fs::path readOnly = folder_ / "locked.rom";
    fixtures::writeFile(readOnly, pattern(5000, 2));
    ::chmod(readOnly.c_str(), 0444);
    const fs::path heldByOther = folder_ / "held.rom";
    fixtures::writeFile(heldByOther, pattern(5000, 3));
    holdLock(heldByOther);
    fs::create_directory(folder_ / "closed");
    ::chmod((folder_ / "closed").c_str(), 0555);
    fs::create_directory(folder_ / "sub");
    ::mkfifo((folder_ / "pipe.rom").c_str(), 0644);

    const struct {
        fs::path target;
        WriteErrorKind kind;
        std::string reason;
        int systemError;
    } cases[] = {
        {readOnly, WriteErrorKind::AccessDenied, "Permission denied", EACCES},
        {folder_ / "closed" / "new.rom", WriteErrorKind::AccessDenied, "Permission denied", EACCES},
        {heldByOther, WriteErrorKind::AccessDenied, "The file is locked by another program",
         EWOULDBLOCK},
        {folder_ / "gone" / "x.rom", WriteErrorKind::Failed, "No such file or directory", ENOENT},
        {folder_ / "sub", WriteErrorKind::Failed, "Is a directory", EISDIR},
        {folder_ / "pipe.rom", WriteErrorKind::Failed, "Not a regular file", 0},
    };
    const auto contentsBefore = names(folder_);
    WriteSeams seams;
    seams.lockPatience = std::chrono::milliseconds(100);
    for (const auto& row : cases) {
        SCOPED_TRACE(row.target);
        const auto error = writeFileSafely(row.target, pattern(4000, 8), seams);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->kind, row.kind);
        EXPECT_EQ(error->reason, row.reason);
        EXPECT_EQ(error->systemError, row.systemError);
    }
    EXPECT_EQ(fixtures::readFile(readOnly), pattern(5000, 2));
    EXPECT_EQ(fixtures::readFile(heldByOther), pattern(5000, 3));
    EXPECT_EQ(snapshot(readOnly).mode, 0444u);
    EXPECT_EQ(names(folder_), contentsBefore);
    EXPECT_TRUE(names(folder_ / "closed").empty());
    EXPECT_TRUE(names(folder_ / "sub").empty());
}

// --- Failures after the write has begun ------------------------------------------------------

TEST_F(SafeWrite, ARenameThatFailsLeavesTheOldFileAndNoTemporary)
{
    const fs::path target = folder_ / "card.rom";
    const Bytes old = pattern(50, 1);
    fixtures::writeFile(target, old);
    const Bytes bytes = pattern(60, 2);

    // The copy is complete and the target untouched when the rename comes; then the copy
    // vanishes, or a folder takes the target's place.
    WriteSeams vanish;
    vanish.beforeRename = [&](const fs::path& temporary) {
        EXPECT_EQ(fixtures::readFile(temporary), bytes);
        EXPECT_EQ(fixtures::readFile(target), old);
        fs::remove(temporary);
    };
    auto error = writeFileSafely(target, bytes, vanish);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, WriteErrorKind::Failed);
    EXPECT_EQ(fixtures::readFile(target), old);
    EXPECT_EQ(names(folder_), std::set<std::string>{"card.rom"});

    WriteSeams folderInTheWay;
    folderInTheWay.namedTemporaryOnly = true;
    folderInTheWay.beforeRename = [&](const fs::path&) {
        fs::remove(target);
        fs::create_directories(target / "inside");
    };
    error = writeFileSafely(target, bytes, folderInTheWay);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, WriteErrorKind::Failed);
    EXPECT_EQ(names(folder_), std::set<std::string>{"card.rom"});
}

// A file that does not read back as written: whichever way it was written, the folder is as
// before and the old content (or no file) is what the name holds.
TEST_F(SafeWrite, AFileThatDoesNotReadBackAsWrittenChangesNothing)
{
    const Bytes old = pattern(3000, 5);
    const struct {
        const char* name;
        bool exists;
        bool hardLinked;
        bool namedOnly;
        std::string reasonEnd;
    } cases[] = {
        {"new.rom", false, false, false, "; no file was saved"},
        {"renamed.rom", true, false, false, "; the file was left as it was"},
        {"renamed-named.rom", true, false, true, "; the file was left as it was"},
        {"in-place.rom", true, true, false, "; the previous content was put back"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const fs::path target = folder_ / row.name;
        if (row.exists) fixtures::writeFile(target, old);
        if (row.hardLinked) ::link(target.c_str(), (folder_ / "link").c_str());
        const auto namesBefore = names(folder_);
        WriteSeams seams;
        seams.namedTemporaryOnly = row.namedOnly;
        seams.afterReadBack = [](Bytes& readBack) { readBack.at(1234) ^= 0x01; };
        const auto error = writeFileSafely(target, pattern(4096, 0), seams);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->kind, WriteErrorKind::ReadBackMismatch);
        EXPECT_EQ(error->reason, "The file on disk differs from the bytes written" + row.reasonEnd);
        EXPECT_EQ(names(folder_), namesBefore);
        if (row.exists) {
            EXPECT_EQ(fixtures::readFile(target), old);
        }
        if (row.hardLinked) {
            EXPECT_EQ(fixtures::readFile(folder_ / "link"), old);
        }
        fs::remove(folder_ / "link");
    }
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
