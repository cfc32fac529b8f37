// Writing a file safely on Windows, where it differs from POSIX: the read-only attribute, a
// file another program holds or has locked, hard links and attributes kept, names in any
// script and past 260 characters, and a folder that refuses new files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "files/rom_file.h"
#include "files/safe_write.h"
#include "files/utf8_path.h"
#include "files/windows_handle_win32.h"
#include "files/windows_text_win32.h"
#include "fixtures/image_builder.h"
#include "fixtures/scratch_folder.h"

namespace clockvane {
namespace {

namespace fs = std::filesystem;
using fixtures::pattern;
using fixtures::readFile;
using fixtures::writeFile;
using reliability::namesIn;
using Names = std::set<std::string>;

DWORD attributesOf(const fs::path& path) { return ::GetFileAttributesW(path.c_str()); }

DWORD linksOf(const fs::path& path)
{
    const windows::Handle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    ::GetFileInformationByHandle(file.get(), &information);
    return information.nNumberOfLinks;
}

class SafeWriteWindows : public ::testing::Test {
protected:
    reliability::ScratchFolder scratch_;
    const fs::path folder_ = scratch_.path();
    const fs::path target_ = folder_ / "card.rom";
};

TEST_F(SafeWriteWindows, AReadOnlyFileIsDeniedAFileHeldForWritingOrWithALockedRangeIsLocked)
{
    enum class Hold { ReadOnlyAttribute, OpenForWriting, RangeLocked };
    for (const Hold hold : {Hold::ReadOnlyAttribute, Hold::OpenForWriting, Hold::RangeLocked}) {
        SCOPED_TRACE(static_cast<int>(hold));
        writeFile(target_, pattern(1000, 1));
        windows::Handle other;
        if (hold == Hold::ReadOnlyAttribute) {
            ASSERT_TRUE(::SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_READONLY));
        } else {
            // Another program's handle, shared as a program that lets others read would share.
            other = windows::Handle(::CreateFileW(
                target_.c_str(), hold == Hold::OpenForWriting ? GENERIC_WRITE : GENERIC_READ,
                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                nullptr));
            ASSERT_TRUE(other.valid());
            OVERLAPPED range{};
            if (hold == Hold::RangeLocked) {
                ASSERT_TRUE(::LockFileEx(other.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 16, 0, &range));
            }
        }
        WriteSeams seams;
        seams.lockPatience = std::chrono::milliseconds(100);
        const auto written = writeFileSafely(target_, pattern(900, 2), seams);
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.error().kind, hold == Hold::ReadOnlyAttribute
                                            ? WriteErrorKind::AccessDenied
                                            : WriteErrorKind::Locked)
            << written.error().reason;
        other.reset();
        ::SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(readFile(target_), pattern(1000, 1));
        EXPECT_EQ(namesIn(folder_), Names{"card.rom"});
    }
}

TEST_F(SafeWriteWindows, WaitsForAnotherWriterToLetGoAndThenWrites)
{
    writeFile(target_, pattern(100, 12));
    windows::Handle other(::CreateFileW(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other.valid());
    std::thread letGo([&other] {
        ::Sleep(300);
        other.reset();
    });
    WriteSeams seams;
    seams.lockPatience = std::chrono::seconds(10);
    EXPECT_TRUE(writeFileSafely(target_, pattern(200, 13), seams).ok());
    letGo.join();
    EXPECT_EQ(readFile(target_), pattern(200, 13));
}

TEST_F(SafeWriteWindows, AFailedReadBackLeavesTheOldContentAndNoCopyBehind)
{
    // No file yet, a file replaced by a copy, a hard-linked file written in place (and put back).
    for (const int names : {0, 1, 2}) {
        SCOPED_TRACE(names);
        fs::remove(target_);
        fs::remove(folder_ / "other.rom");
        if (names > 0) writeFile(target_, pattern(3000, 14));
        ASSERT_TRUE(names < 2 ||
                    ::CreateHardLinkW((folder_ / "other.rom").c_str(), target_.c_str(), nullptr));
        const Names before = namesIn(folder_);
        WriteSeams seams;
        seams.afterReadBack = [](Bytes& readBack) { readBack.back() ^= 1; };
        const auto written = writeFileSafely(target_, pattern(2000, 15), seams);
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.error().kind, WriteErrorKind::ReadBackMismatch);
        EXPECT_EQ(namesIn(folder_), before);
        EXPECT_EQ(names > 0 ? readFile(target_) : Bytes{}, names > 0 ? pattern(3000, 14) : Bytes{});
    }
}

TEST_F(SafeWriteWindows, KeepsHardLinksAndTheAttributesAReplaceCarriesOver)
{
    writeFile(target_, pattern(120'000, 3));  // longer than the new content
    ASSERT_TRUE(::CreateHardLinkW((folder_ / "other.rom").c_str(), target_.c_str(), nullptr));
    ASSERT_TRUE(writeFileSafely(target_, pattern(100'000, 4)).ok());
    EXPECT_EQ(readFile(folder_ / "other.rom"), pattern(100'000, 4));
    EXPECT_EQ(linksOf(target_), 2u);

    fs::remove(folder_ / "other.rom");
    ASSERT_TRUE(::SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(writeFileSafely(target_, pattern(1000, 5)).ok());
    EXPECT_EQ(readFile(target_), pattern(1000, 5));
    EXPECT_NE(attributesOf(target_) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(namesIn(folder_), Names{"card.rom"});
}

TEST_F(SafeWriteWindows, NamesInAnyScriptAndPathsPast260CharactersAreCreatedReplacedAndRead)
{
    // A folder name of 100 characters three times over: the file's path is longer than 300.
    const std::string deep(100, 'd');
    const fs::path longFolder = folder_ / deep / deep / deep;
    fs::path made = folder_;
    for (int level = 0; level < 3; ++level) {
        made /= deep;
        ASSERT_TRUE(::CreateDirectoryW(windows::systemPath(made).c_str(), nullptr));
    }
    const std::pair<fs::path, std::string> cases[] = {
        {folder_, "\xC3\xA4 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.rom"},  // ä 日本 😀
        {longFolder, "card.rom"},
    };
    for (const auto& [where, name] : cases) {
        SCOPED_TRACE(name);
        const fs::path file = where / pathFromUtf8(name);  // UTF-8, as everywhere in the program
        ASSERT_GT(file.wstring().size(), where == longFolder ? 260u : 0u);
        for (const std::uint8_t seed : {6, 7}) {  // a new file, then replacing it
            ASSERT_TRUE(writeFileSafely(file, pattern(2000, seed)).ok());
            const auto read = readRomFile(file);
            ASSERT_TRUE(read.ok()) << read.error().reason;
            EXPECT_EQ(read->image, pattern(2000, seed));
        }
        EXPECT_NE(::GetFileAttributesW(windows::systemPath(file).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(namesIn(folder_).count(cases[0].second), 1u);
}

TEST_F(SafeWriteWindows, WritesThroughASymbolicLinkWhichStaysALink)
{
    writeFile(target_, pattern(500, 10));
    const fs::path link = folder_ / "link.rom";
    // Windows lets only administrators and developer mode make links; Wine lets anyone.
    if (!::CreateSymbolicLinkW(link.c_str(), target_.c_str(), 0))
        GTEST_SKIP() << "no right to make symbolic links here";
    // Wine 8 makes the link but cannot follow it: that case is Windows's alone.
    if (attributesOf(link) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "a symbolic link made here does not lead to its file (Wine)";
    ASSERT_TRUE(writeFileSafely(link, pattern(600, 11)).ok());
    EXPECT_EQ(readFile(target_), pattern(600, 11));
    EXPECT_NE(attributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(namesIn(folder_), (Names{"card.rom", "link.rom"}));
}

// A file another program gives the name while the new one is being written: the save starts
// over and replaces it.
TEST_F(SafeWriteWindows, ANameTakenWhileTheNewFileIsWrittenIsReplaced)
{
    WriteSeams seams;
    seams.afterChunk = [this](std::size_t) {
        if (!fs::exists(target_)) writeFile(target_, pattern(10, 4));
    };
    ASSERT_TRUE(writeFileSafely(target_, pattern(5000, 5), seams).ok());
    EXPECT_EQ(readFile(target_), pattern(5000, 5));
    EXPECT_EQ(namesIn(folder_), Names{"card.rom"});
}

TEST(WindowsPaths, AreMadeAbsoluteNormalAndPrefixedForLongNames)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {LR"(C:\bios\..\roms\.\card.rom)", LR"(\\?\C:\roms\card.rom)"},
        {L"C:/roms/card.rom", LR"(\\?\C:\roms\card.rom)"},
        {LR"(\\server\share\card.rom)", LR"(\\?\UNC\server\share\card.rom)"},
        {LR"(\\?\C:\already\card.rom)", LR"(\\?\C:\already\card.rom)"},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(windows::systemPath(fs::path(given)), expected) << windows::toUtf8(given);
}

// A folder that takes no new files can only be had from outside on Wine (which keeps no
// Windows ACLs): the test script makes one and names it here.
TEST(SafeWriteWindowsFolder, AFolderRefusingNewFilesGetsItsFileWrittenInPlaceAndNoNewFile)
{
    const char* given = std::getenv("CLOCKVANE_REFUSING_FOLDER");
    if (given == nullptr) GTEST_SKIP() << "CLOCKVANE_REFUSING_FOLDER names no such folder";
    const fs::path folder(given);
    const Names before = namesIn(folder);
    ASSERT_TRUE(writeFileSafely(folder / "card.rom", pattern(1500, 8)).ok());
    EXPECT_EQ(readFile(folder / "card.rom"), pattern(1500, 8));
    const auto refused = writeFileSafely(folder / "new.rom", pattern(10, 9));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().kind, WriteErrorKind::AccessDenied);
    EXPECT_EQ(namesIn(folder), before);
}

}  // namespace
}  // namespace clockvane
