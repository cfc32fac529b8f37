// Saves by an ordinary user over files that are not simply its own: another user's file in a
// shared sticky folder like /tmp, a file of a group it belongs to, a write-only file. The save
// runs in a child process as that user; the parent, as the superuser, checks that the file is
// still what it was to everyone (owner, group, mode), that the right way was taken (a renamed
// copy is a new inode, a file overwritten in place keeps its own), and that nothing else was
// left in the folder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "files/safe_write.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kUser = 65534;       // the ordinary user the save runs as
constexpr gid_t kSharedGroup = 100;  // a further group of that user
constexpr uid_t kOther = 0;          // whoever else owns files and folders

Bytes pattern(std::size_t length, std::uint8_t seed)
{
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 5);
    return bytes;
}

struct Identity {
    uid_t owner;
    gid_t group;
    mode_t mode;
};

enum class Expected { Renamed, InPlace, Refused };

struct SharedCase {
    const char* name;
    Identity folder;
    Identity file;
    Expected expected;
    std::string refusal;  // what the save reports when refused
};

// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const SharedCase& row, std::ostream* out) { *out << row.name; }

const SharedCase kSharedCases[] = {
    // A sticky folder lets nobody but the owner rename over a file: written in place, and
    // nothing of the attempt stays behind.
    {"OthersWritableFileInStickyFolder",
     {kOther, kOther, 01777},
     {kOther, kOther, 0666},
     Expected::InPlace,
     ""},
    {"OthersReadOnlyFileInStickyFolder",
     {kOther, kOther, 01777},
     {kOther, kOther, 0644},
     Expected::Refused,
     "AccessDenied: Permission denied"},
    // A renamed copy would belong to the user: written in place, so the owner stays.
    {"GroupWritableFileOfAnotherUser",
     {kOther, kOther, 0777},
     {kOther, kSharedGroup, 0664},
     Expected::InPlace,
     ""},
    // The user's own file of one of its further groups: the copy is given that group.
    {"OwnFileOfAFurtherGroup",
     {kUser, kUser, 0755},
     {kUser, kSharedGroup, 0640},
     Expected::Renamed,
     ""},
    // A write-only file: a renamed copy is read back through its own descriptor...
    {"WriteOnlyFileInOwnFolder", {kUser, kUser, 0755}, {kUser, kUser, 0200}, Expected::Renamed, ""},
    // ...but in place there is nothing to read back, nor old bytes to restore.
    {"WriteOnlyFileInAnotherUsersFolder",
     {kOther, kOther, 0755},
     {kUser, kUser, 0200},
     Expected::Refused,
     "Failed: File is write-only: it cannot be read back to check the write"},
};

class SharedFile : public ::testing::TestWithParam<SharedCase> {};

TEST_P(SharedFile, KeepsWhatTheFileIsToOthersAndLeavesNothingBehind)
{
    if (!runningAsSuperuser()) GTEST_SKIP() << "switching users needs the superuser";
    const SharedCase& row = GetParam();
    ScratchFolder scratch;
    const fs::path folder = scratch / "shared";
    const fs::path target = folder / "card.rom";
    fs::create_directory(folder);
    const Bytes old = pattern(9000, 1);
    fixtures::writeFile(target, old);
    ASSERT_EQ(::chown(target.c_str(), row.file.owner, row.file.group), 0);
    ASSERT_EQ(::chmod(target.c_str(), row.file.mode), 0);
    ASSERT_EQ(::chown(folder.c_str(), row.folder.owner, row.folder.group), 0);
    ASSERT_EQ(::chmod(folder.c_str(), row.folder.mode), 0);
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);

    const Bytes fresh = pattern(8000, 2);
    const ChildResult child = runInChild(
        [&]() -> std::string {
            const auto error = writeFileSafely(target, fresh);
            if (!error) return "";
            return std::string(error->kind == WriteErrorKind::AccessDenied ? "AccessDenied"
                                                                           : "Failed") +
                   ": " + error->reason;
        },
        ChildLimits{std::nullopt, kUser, {kSharedGroup}, std::nullopt});
    ASSERT_EQ(child.exitCode, 0);

    EXPECT_EQ(child.report, row.refusal);
    EXPECT_EQ(fixtures::readFile(target), row.expected == Expected::Refused ? old : fresh);
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino == before.st_ino, row.expected != Expected::Renamed);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(namesIn(folder), std::set<std::string>{"card.rom"});
}

INSTANTIATE_TEST_SUITE_P(Cases, SharedFile, ::testing::ValuesIn(kSharedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace clockvane::reliability
