// Writing a file safely: renamed copy or in place, metadata and links kept, refusals, and no
// leftovers when anything fails.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

#include "files/safe_write.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"

namespace clockvane {
namespace {

namespace fs = std::filesystem;
using fixtures::pattern;
using fixtures::readFile;
using fixtures::writeFile;
using reliability::namesIn;

constexpr uid_t kOtherUser = 65534;

// The chattr flags of a file (lsattr) once `add` is added to them (chattr +), -1 where its
// file system has none or refuses them.
int chattr(const fs::path& path, int add = 0)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int flags = -1;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ||
        (add != 0 && (flags |= add, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)))
        flags = -1;
    ::close(fd);
    return flags;
}

// What a file is to its users besides its bytes: inode, mode, owner, group, links, the
// extended attribute the tests set and the names of all extended attributes (ACLs included).
auto snapshot(const fs::path& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    char value[64] = {};
    ::getxattr(path.c_str(), "user.o", value, sizeof value - 1);
    std::string names(1024, '\0');
    names.resize(std::max<ssize_t>(0, ::llistxattr(path.c_str(), names.data(), names.size())));
    return std::tuple{st.st_ino,   st.st_mode & 07777, st.st_uid, st.st_gid,
                      st.st_nlink, std::string(value), names};
}

// A default ACL granting user 1234 read and write: a file made in the folder inherits it as
// an access ACL. The kernel's format: version 2, then (tag, permissions, id) entries in tag
// order; 0xFFFFFFFF is the id of entries that name no one.
void giveFolderADefaultAcl(const fs::path& folder)
{
    const std::uint32_t none = 0xFFFFFFFF;
    const std::tuple<std::uint16_t, std::uint16_t, std::uint32_t> entries[] = {
        {0x01, 6, none}, {0x02, 6, 1234}, {0x04, 4, none}, {0x10, 6, none}, {0x20, 4, none}};
    Bytes acl{2, 0, 0, 0};
    for (const auto& [tag, permissions, id] : entries)
        for (const std::uint32_t field : {std::uint32_t(tag | permissions << 16), id})
            for (int i = 0; i < 4; ++i) acl.push_back(std::uint8_t(field >> (8 * i)));
    ::setxattr(folder.c_str(), "system.posix_acl_default", acl.data(), acl.size(), 0);
}

// A scratch folder of its own for each test, under a known umask.
class SafeWrite : public ::testing::Test {
protected:
    void SetUp() override { oldUmask_ = ::umask(022); }
    void TearDown() override { ::umask(oldUmask_); }
    reliability::ScratchFolder scratch_;
    const fs::path folder_ = scratch_.path();
    mode_t oldUmask_ = 022;
};

// The user running the tests, root or an ordinary user (65534, in a child) saves over a file:
// the file stays what it is to everyone (owner, group, mode, links, extended attributes, chattr
// flags; no ACL a renamed copy inherits from its folder), the right way is taken (a renamed copy is
// a new inode, in place keeps it) and nothing else is left behind. A renamed copy would split off a
// second hard link, and cannot be made in a folder without write bit: both go in place. A renamed
// copy keeps chattr flags and trusted.* attributes where it can be given them; an ordinary user
// cannot give +j (data journalling, on ext4), so that file is written in place. A row is skipped
// where the flag or attribute cannot be set here.
constexpr uid_t kSame = static_cast<uid_t>(-1);  // chown's "leave as it is"
enum class Way { Renamed, InPlace, Refused };
struct SaverRow {
    const char* name;
    uid_t saver;
    uid_t folderOwner;
    mode_t folderMode;
    uid_t fileOwner;
    mode_t fileMode;
    int flags;
    const char* trusted;
    bool attributeAndAcl;  // an extended attribute, and a default ACL on the folder
    bool secondName;
    Way way;
    const char* refusal;  // "1 " for access denied, "0 " for other failures, and the reason
};
class SaveByAUser : public SafeWrite, public ::testing::WithParamInterface<SaverRow> {};

TEST_P(SaveByAUser, KeepsWhatTheFileIsToOthersAndLeavesNothingBehind)
{
    const SaverRow& row = GetParam();
    if (::geteuid() != 0 && (row.saver != kSame || row.folderOwner != kSame ||
                             row.fileOwner != kSame || row.flags != 0 || row.trusted))
        GTEST_SKIP() << "only root switches users and sets +j and trusted.*";
    const fs::path target = folder_ / "card.rom";
    writeFile(target, pattern(3000, 4));
    ASSERT_EQ(::chown(target.c_str(), row.fileOwner, row.fileOwner), 0);
    ASSERT_EQ(::chmod(target.c_str(), row.fileMode), 0);
    if (row.attributeAndAcl) {
        ::setxattr(target.c_str(), "user.o", "x", 1, 0);  // where supported
        giveFolderADefaultAcl(folder_);
    }
    EXPECT_EQ(row.secondName ? ::link(target.c_str(), (folder_ / "same.rom").c_str()) : 0, 0);
    ASSERT_EQ(::chown(folder_.c_str(), row.folderOwner, row.folderOwner), 0);
    ASSERT_EQ(::chmod(folder_.c_str(), row.folderMode), 0);
    if ((row.flags != 0 && chattr(target, row.flags) < 0) ||
        (row.trusted && ::setxattr(target.c_str(), row.trusted, "v", 1, 0) != 0))
        GTEST_SKIP() << "cannot be set in " << folder_ << ": " << std::strerror(errno);
    const auto before = snapshot(target);
    const auto namesBefore = namesIn(folder_);
    reliability::ChildLimits limits;
    if (row.saver != kSame) limits.user = row.saver;
    const auto child = reliability::runInChild(
        [&] {
            const auto written = writeFileSafely(target, pattern(2000, 5));
            if (written) return std::string();
            const WriteError& error = written.error();
            return (error.kind == WriteErrorKind::AccessDenied ? "1 " : "0 ") + error.reason;
        },
        limits);
    ASSERT_EQ(child.exitCode, 0);
    EXPECT_EQ(child.report, row.refusal);
    EXPECT_EQ(readFile(target), row.way == Way::Refused ? pattern(3000, 4) : pattern(2000, 5));
    auto after = snapshot(target);
    EXPECT_EQ(std::get<0>(after) == std::get<0>(before), row.way != Way::Renamed);
    std::get<0>(after) = std::get<0>(before);
    EXPECT_EQ(after, before);
    EXPECT_EQ(chattr(target) & row.flags, row.flags);
    EXPECT_EQ(namesIn(folder_), namesBefore);
}

// A sticky folder lets nobody but its owner rename over a file: written in place or refused.
// A renamed copy of a write-only file is read back through its own descriptor; in place there
// is nothing to read back, nor old bytes to restore.
constexpr SaverRow kSaverRows[] = {
    {"AnotherOwnerAModeAnAttributeAndAnInheritedAcl", kSame, kSame, 0755, kOtherUser, 0604, 0,
     nullptr, true, false, Way::Renamed, ""},
    {"SecondHardLink", kSame, kSame, 0755, kSame, 0644, 0, nullptr, false, true, Way::InPlace, ""},
    {"FolderWithoutWriteBit", kSame, kSame, 0555, kSame, 0644, 0, nullptr, false, false,
     Way::InPlace, ""},
    {"NoDumpNoAtime", kSame, kSame, 0755, kSame, 0644, FS_NODUMP_FL | FS_NOATIME_FL, nullptr, false,
     false, Way::Renamed, ""},
    {"TrustedAttribute", kSame, kSame, 0755, kSame, 0644, 0, "trusted.clockvane", false, false,
     Way::Renamed, ""},
    {"JournalledDataOfAnOrdinaryUser", kOtherUser, kOtherUser, 0755, kOtherUser, 0644,
     FS_JOURNAL_DATA_FL, nullptr, false, false, Way::InPlace, ""},
    {"OthersWritableFileInStickyFolder", kOtherUser, 0, 01777, 0, 0666, 0, nullptr, false, false,
     Way::InPlace, ""},
    {"OthersReadOnlyFileInStickyFolder", kOtherUser, 0, 01777, 0, 0644, 0, nullptr, false, false,
     Way::Refused, "1 Permission denied"},
    {"WriteOnlyFileInOwnFolder", kOtherUser, kOtherUser, 0755, kOtherUser, 0200, 0, nullptr, false,
     false, Way::Renamed, ""},
    {"WriteOnlyFileInAnotherUsersFolder", kOtherUser, 0, 0755, kOtherUser, 0200, 0, nullptr, false,
     false, Way::Refused, "0 File is write-only: it cannot be read back to check the write"},
};
INSTANTIATE_TEST_SUITE_P(Rows, SaveByAUser, ::testing::ValuesIn(kSaverRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A file bind-mounted onto the target's name cannot be renamed over (EBUSY); written in place,
// the mounted file gets the bytes. Mounted in a child's own mount namespace, which ends with it.
TEST_F(SafeWrite, WritesABindMountedTargetInPlace)
{
    const fs::path source = folder_ / "source.rom";
    const fs::path target = folder_ / "card.rom";
    writeFile(source, pattern(3000, 1));
    writeFile(target, pattern(3000, 2));
    const auto child = reliability::runInChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return std::string("cannot mount: ") + std::strerror(errno);
        const auto written = writeFileSafely(target, pattern(2000, 3));
        return written ? std::string() : written.error().reason;
    });
    if (child.report.starts_with("cannot mount")) GTEST_SKIP() << child.report;
    EXPECT_EQ(child.report, "");
    EXPECT_EQ(readFile(source), pattern(2000, 3));
    EXPECT_EQ(readFile(target), pattern(3000, 2));
    EXPECT_EQ(namesIn(folder_), (std::set<std::string>{"card.rom", "source.rom"}));
}

// In a sticky folder everyone may write (/tmp), a link at the save name is followed only when
// the folder's owner or the user saving (root here) owns it, as the kernel's
// fs.protected_symlinks has it: another user's link could name any file root may write.
TEST_F(SafeWrite, FollowsLinksInSharedFoldersOnlyWhereTheKernelWould)
{
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a link to another user";
    const struct {
        uid_t folderOwner;
        mode_t folderMode;
        uid_t linkOwner;
        bool followed;
    } rows[] = {
        {0, 01777, kOtherUser, false},          // planted by another user
        {0, 01777, 0, true},                    // the user's own link
        {kOtherUser, 01777, kOtherUser, true},  // the folder owner's link
        {0, 0777, kOtherUser, true},            // not sticky
        {0, 01775, kOtherUser, true},           // sticky, but not writable by everyone
    };
    for (std::size_t n = 0; n < std::size(rows); ++n) {
        const auto& row = rows[n];
        SCOPED_TRACE(n);
        const fs::path shared = folder_ / ("shared" + std::to_string(n));
        const fs::path named = folder_ / ("named" + std::to_string(n));
        const fs::path link = shared / "card_mod.rom";
        writeFile(named, pattern(100, 1));
        fs::create_directory(shared);
        fs::create_symlink(named, link);
        ASSERT_EQ(::lchown(link.c_str(), row.linkOwner, row.linkOwner), 0);
        ASSERT_EQ(::chown(shared.c_str(), row.folderOwner, row.folderOwner), 0);
        ASSERT_EQ(::chmod(shared.c_str(), row.folderMode), 0);
        const auto written = writeFileSafely(link, pattern(200, 2));
        EXPECT_EQ(written ? "written" : written.error().reason,
                  row.followed
                      ? "written"
                      : "The name is a link another user placed in a shared folder; it is not "
                        "followed");
        EXPECT_TRUE(written || written.error().kind == WriteErrorKind::UntrustedLink);
        EXPECT_EQ(readFile(named), row.followed ? pattern(200, 2) : pattern(100, 1));
        EXPECT_EQ(namesIn(shared), std::set<std::string>{"card_mod.rom"});
    }
}

TEST_F(SafeWrite, WritesThroughLinksAndAPathOf4092Bytes)
{
    ::umask(027);  // a new file gets the umask's permissions
    fs::create_directory(folder_ / "far");
    writeFile(folder_ / "real.rom", pattern(10, 0));
    writeFile(folder_ / "far" / "far.rom", pattern(10, 0));
    const std::tuple<const char*, std::string, fs::path> links[] = {
        {"relative.rom", "real.rom", folder_ / "real.rom"},
        {"chain.rom", "relative.rom", folder_ / "real.rom"},
        {"absolute.rom", (folder_ / "far" / "far.rom").string(), folder_ / "far" / "far.rom"},
        {"dangling.rom", "far/new.rom", folder_ / "far" / "new.rom"}};  // created, as cp does
    for (const auto& [link, to, file] : links) fs::create_symlink(to, folder_ / link);
    for (const auto& [link, to, file] : links) {
        const Bytes bytes = pattern(20, std::uint8_t(link[0]));
        ASSERT_TRUE(writeFileSafely(folder_ / link, bytes).ok()) << link;
        EXPECT_EQ(fs::read_symlink(folder_ / link), to);
        EXPECT_EQ(readFile(file), bytes) << link;
    }
    EXPECT_EQ(namesIn(folder_ / "far"), (std::set<std::string>{"far.rom", "new.rom"}));
    EXPECT_EQ(std::get<1>(snapshot(folder_ / "far" / "new.rom")), 0640u);
    EXPECT_EQ(namesIn(folder_).size(), 6u);

    // Helper names are made relative to the open folder: a path as long as the system allows.
    fs::path folder = folder_;
    while (folder.string().size() < 4092 - 250) folder /= std::string(200, 'd');
    fs::create_directories(folder);
    const fs::path target = folder / std::string(4092 - folder.string().size() - 1, 'n');
    for (const std::uint8_t seed : {1, 2}) {  // a new file, then a replaced one
        ASSERT_TRUE(writeFileSafely(target, pattern(5000, seed)).ok());
        EXPECT_EQ(readFile(target), pattern(5000, seed));
        EXPECT_EQ(namesIn(folder).size(), 1u);
    }
}

// No write bit counts as read-only for everyone, the superuser included.
TEST_F(SafeWrite, RefusesWhatItMayNotWriteAndChangesNothing)
{
    writeFile(folder_ / "locked.rom", pattern(5000, 2));
    ::chmod((folder_ / "locked.rom").c_str(), 0444);
    writeFile(folder_ / "held.rom", pattern(5000, 3));
    const int lock = ::open((folder_ / "held.rom").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    fs::create_directory(folder_ / "closed", folder_);
    ::chmod((folder_ / "closed").c_str(), 0555);
    ::mkfifo((folder_ / "pipe.rom").c_str(), 0644);
    using Row = std::tuple<fs::path, WriteErrorKind, const char*, int>;
    const auto before = namesIn(folder_);
    WriteSeams seams;
    seams.lockPatience = std::chrono::milliseconds(100);
    for (const auto& [target, kind, reason, systemError] :
         {Row{"locked.rom", WriteErrorKind::AccessDenied, "Permission denied", EACCES},
          Row{"closed/new.rom", WriteErrorKind::AccessDenied, "Permission denied", EACCES},
          Row{"held.rom", WriteErrorKind::Locked, "The file is locked by another program",
              EWOULDBLOCK},
          Row{"gone/x.rom", WriteErrorKind::Failed, "No such file or directory", ENOENT},
          Row{"closed", WriteErrorKind::Failed, "Is a directory", EISDIR},
          Row{"pipe.rom", WriteErrorKind::Failed, "Not a regular file", 0}}) {
        const auto written = writeFileSafely(folder_ / target, pattern(4000, 8), seams);
        ASSERT_FALSE(written.ok()) << target;
        const WriteError& error = written.error();
        EXPECT_EQ(std::tuple(error.kind, error.reason, error.systemError),
                  std::tuple(kind, std::string(reason), systemError));
    }
    EXPECT_EQ(readFile(folder_ / "locked.rom"), pattern(5000, 2));
    EXPECT_EQ(readFile(folder_ / "held.rom"), pattern(5000, 3));
    EXPECT_EQ(namesIn(folder_), before);
    EXPECT_TRUE(namesIn(folder_ / "closed").empty());
    ::close(lock);
}

TEST_F(SafeWrite, AFailedRenameOrReadBackLeavesTheOldFileAndNoTemporary)
{
    using Row = std::tuple<const char*, bool, bool, bool, const char*>;
    for (const auto& [name, exists, hardLinked, namedOnly, reasonEnd] :
         {Row{"new.rom", false, false, false, "; no file was saved"},
          Row{"renamed.rom", true, false, false, "; the file was left as it was"},
          Row{"named.rom", true, false, true, "; the file was left as it was"},
          Row{"in-place.rom", true, true, false, "; the previous content was put back"}}) {
        const fs::path file = folder_ / name;
        if (exists) writeFile(file, pattern(3000, 5));
        if (hardLinked) ::link(file.c_str(), (folder_ / "link").c_str());
        const auto before = namesIn(folder_);
        WriteSeams seams;
        seams.namedTemporaryOnly = namedOnly;
        seams.afterReadBack = [](Bytes& readBack) { readBack.at(1234) ^= 0x01; };
        const auto written = writeFileSafely(file, pattern(4096, 0), seams);
        ASSERT_FALSE(written.ok()) << name;
        EXPECT_EQ(
            std::tuple(written.error().kind, written.error().reason),
            std::tuple(WriteErrorKind::ReadBackMismatch,
                       std::string("The file on disk differs from the bytes written") + reasonEnd));
        EXPECT_EQ(namesIn(folder_), before);
        EXPECT_EQ(fs::exists(file) ? readFile(file) : Bytes{}, exists ? pattern(3000, 5) : Bytes{});
        fs::remove(folder_ / "link");
    }
}

// A file another program gives the name while the new one is being written: the save starts
// over and replaces it, leaving one file and no temporary.
TEST_F(SafeWrite, ANameTakenWhileTheNewFileIsWrittenIsReplaced)
{
    const fs::path target = folder_ / "card.rom";
    WriteSeams seams;
    seams.afterChunk = [&](std::size_t) {
        if (!fs::exists(target)) writeFile(target, pattern(10, 4));
    };
    ASSERT_TRUE(writeFileSafely(target, pattern(5000, 5), seams).ok());
    EXPECT_EQ(readFile(target), pattern(5000, 5));
    EXPECT_EQ(namesIn(folder_), std::set<std::string>{"card.rom"});
}

// The copy's hidden name: a dot, the target's name cut to at most 32 bytes between two
// characters, a random part and ".tmp". Here byte 32 lies inside the eleventh "€" (E2 82 AC).
TEST_F(SafeWrite, TheHiddenCopyIsNamedAfterTheTargetCutBetweenCharacters)
{
    std::string euros;
    for (int i = 0; i < 20; ++i) euros += "\xE2\x82\xAC";
    const fs::path target = folder_ / ("x" + euros + ".rom");
    writeFile(target, pattern(100, 1));
    std::string hidden;
    WriteSeams seams;
    seams.beforeRename = [&](const fs::path& copy) { hidden = copy.filename().string(); };
    ASSERT_TRUE(writeFileSafely(target, pattern(200, 2), seams).ok());
    EXPECT_TRUE(hidden.starts_with(".x" + euros.substr(0, 30) + ".")) << hidden;
    EXPECT_TRUE(hidden.ends_with(".tmp")) << hidden;
}

}  // namespace
}  // namespace clockvane
