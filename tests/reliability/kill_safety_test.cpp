// A save killed in the middle of writing: the old file stays byte for byte as it was and, on
// a file system with unnamed temporary files, nothing else is left in the folder. The killed
// writer is a forked child that stops inside the write until the parent kills it.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/safe_write.h"
#include "fixtures/image_builder.h"
#include "fixtures/processes.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kNewLength = 4 * 1024 * 1024;
constexpr std::size_t kStopAfter = 1024 * 1024;

Bytes pattern(std::size_t length, std::uint8_t seed)
{
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 13 + (i >> 16));
    return bytes;
}

mode_t modeOf(const fs::path& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

enum class Temporary { Unnamed, Named };

// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(Temporary kind, std::ostream* out)
{
    *out << (kind == Temporary::Unnamed ? "unnamed temporary" : "named temporary");
}

class SafeWriteTemporaries : public ::testing::TestWithParam<Temporary> {
protected:
    void SetUp() override
    {
        if (GetParam() == Temporary::Unnamed && !unnamedTemporariesSupported(folder.path()))
            GTEST_SKIP() << "the file system of " << folder.path() << " has no O_TMPFILE";
        fixtures::writeFile(target, old);
        ::chmod(target.c_str(), 0640);
    }

    ScratchFolder folder;
    const fs::path target = folder / "card.rom";
    const Bytes old = pattern(200'000, 3);
};

TEST_P(SafeWriteTemporaries, AKillMidWriteLeavesTheOldFileAndNoTemporary)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const Bytes fresh = pattern(kNewLength, 99);
    const bool named = GetParam() == Temporary::Named;

    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        WriteSeams seams;
        seams.namedTemporaryOnly = named;
        seams.afterChunk = [&](std::size_t written) {
            if (written < kStopAfter) return;
            // A quarter written: tell the parent, then wait to be killed.
            const char byte = 'x';
            if (::write(ready[1], &byte, 1) != 1) ::_exit(3);
            for (;;) ::pause();
        };
        writeFileSafely(target, fresh, seams);
        ::_exit(2);  // never reached: the write was to be killed
    }
    ::close(ready[1]);
    pollfd wait{ready[0], POLLIN, 0};
    const bool midway = ::poll(&wait, 1, 30'000) == 1;
    char byte = 0;
    const bool told = midway && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);

    // While the child sits in the middle of the write: an unnamed temporary is not in the
    // folder at all, a named one is.
    const std::set<std::string> midwayNames = namesIn(folder.path());
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(told) << "the child never reached the middle of the write";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    EXPECT_EQ(fixtures::readFile(target), old);
    EXPECT_EQ(modeOf(target), 0640u);
    const std::set<std::string> names = namesIn(folder.path());
    if (!named) {
        EXPECT_EQ(midwayNames, std::set<std::string>{"card.rom"});
        EXPECT_EQ(names, std::set<std::string>{"card.rom"});
        return;
    }
    // Without unnamed temporaries a killed process cannot clean up: the partial hidden file
    // stays beside the untouched target. This proves the kill came mid-write.
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(midwayNames, names);
    const std::string leftover = *names.begin();
    EXPECT_EQ(leftover.rfind(".card.rom.", 0), 0u) << leftover;
    EXPECT_LT(fs::file_size(folder / leftover), kNewLength);
}

// The same write left to finish, both ways: the new content replaces the old completely, the
// old file's permissions carry over, and nothing else remains.
TEST_P(SafeWriteTemporaries, AnUninterruptedWriteReplacesTheFileAndLeavesNothingElse)
{
    const Bytes fresh = pattern(kNewLength, 99);
    WriteSeams seams;
    seams.namedTemporaryOnly = GetParam() == Temporary::Named;
    std::set<std::string> duringWrite;
    seams.afterChunk = [&](std::size_t written) {
        if (written >= kStopAfter && duringWrite.empty()) duringWrite = namesIn(folder.path());
    };
    ASSERT_FALSE(writeFileSafely(target, fresh, seams).has_value());
    EXPECT_EQ(fixtures::readFile(target), fresh);
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"card.rom"});
    EXPECT_EQ(duringWrite.size(), seams.namedTemporaryOnly ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SafeWriteTemporaries,
                         ::testing::Values(Temporary::Unnamed, Temporary::Named),
                         [](const auto& info) {
                             return info.param == Temporary::Unnamed ? "Unnamed" : "Named";
                         });

}  // namespace
}  // namespace clockvane::reliability
