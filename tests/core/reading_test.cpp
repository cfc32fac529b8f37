// Reading a file and accepting it as an image: device IDs, file lengths, file errors and the
// rules that find the clock block.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/fsuid.h>
#include <system_error>
#include <unistd.h>

#include "bytes/byte_search.h"
#include "bytes/sums.h"
#include "files/rom_file.h"
#include "fixtures/image_builder.h"
#include "image/rom_loader.h"

namespace clockvane {
namespace {

namespace fs = std::filesystem;
using fixtures::buildImage;
using fixtures::ImageRecipe;

// Checks every load that succeeds the same way: the parts are the image, cut at the signature.
void expectConsistentStore(const LoadedRom& rom, std::size_t signatureOffset)
{
    const RomImage& image = rom.image;
    EXPECT_EQ(image.signatureOffset, signatureOffset);
    EXPECT_EQ(image.head().size(), signatureOffset + 12);
    EXPECT_EQ(image.clockBlock().size(), 152u);
    EXPECT_EQ(image.head().size() + 152 + image.tail().size(), image.fileImage.size());
    EXPECT_EQ(rom.loadedSum, sum16(image.fileImage));
    EXPECT_TRUE(image.outputImage.empty());
}

Result<LoadedRom, LoadError> loadBytes(const Bytes& bytes) { return loadRom(RawFile{bytes, {}}); }

// --- Device ID at 0x88-0x89 ---------------------------------------------------------------

struct DeviceIdCase {
    std::string idText;  // as ToHexLE shows the two bytes
    std::optional<CardType> model;
};

class DeviceId : public ::testing::TestWithParam<DeviceIdCase> {};

TEST_P(DeviceId, DecidesAcceptance)
{
    ImageRecipe recipe;
    recipe.deviceId = GetParam().idText;
    const auto loaded = loadBytes(buildImage(recipe));
    if (GetParam().model) {
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(loaded->model, *GetParam().model);
        expectConsistentStore(*loaded, 0x5A10);
    } else {
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().kind, LoadErrorKind::WrongDeviceId);
        EXPECT_EQ(loaded.error().deviceIdText, GetParam().idText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeviceId,
    ::testing::Values(DeviceIdCase{"9501", CardType::HD3870},    // bytes 01 95
                      DeviceIdCase{"9505", CardType::HD3850},    // bytes 05 95
                      DeviceIdCase{"950F", CardType::HD3870X2},  // bytes 0F 95
                      DeviceIdCase{"0195", std::nullopt},        // 95 01: big-endian order
                      DeviceIdCase{"9502", std::nullopt}, DeviceIdCase{"0000", std::nullopt}));

// --- Reading files of various lengths ----------------------------------------------------

class RomFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        dir_ = fs::temp_directory_path() /
               ("clockvane-read-" + name + "-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(dir_, ec)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
        fs::remove_all(dir_, ec);
    }

    fs::path write(const std::string& name, const Bytes& bytes)
    {
        fs::path path = dir_ / name;
        fixtures::writeFile(path, bytes);
        return path;
    }

    fs::path dir_;
};

struct LengthCase {
    std::size_t fileLength;
    std::size_t imageLength;
};

class FileLength : public RomFileTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(FileLength, KeepsTheFirst100000BytesAndSetsTheRestAside)
{
    ImageRecipe recipe;
    recipe.length = GetParam().fileLength;
    recipe.signatureOffset = 0xE00;  // fits the shortest case too
    const Bytes bytes = buildImage(recipe);
    const auto raw = readRomFile(write("image.rom", bytes));
    ASSERT_TRUE(raw.ok()) << raw.error().reason;

    const auto loaded = loadRom(*raw);
    ASSERT_TRUE(loaded.ok());
    const RomImage& image = loaded->image;
    const auto split = bytes.begin() + static_cast<std::ptrdiff_t>(GetParam().imageLength);
    EXPECT_EQ(image.fileImage, Bytes(bytes.begin(), split));
    EXPECT_EQ(image.beyondImage, Bytes(split, bytes.end()));
    expectConsistentStore(*loaded, 0xE00);
}

INSTANTIATE_TEST_SUITE_P(Table, FileLength,
                         ::testing::Values(LengthCase{64 * 1024, 64 * 1024},  // the usual dump
                                           LengthCase{4096, 4096}, LengthCase{99'999, 99'999},
                                           LengthCase{100'000, 100'000},
                                           LengthCase{100'001, 100'000},
                                           LengthCase{128 * 1024, 100'000}));

TEST_F(RomFileTest, FileTooShortForTheDeviceIdIsAWrongFile)
{
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{0x89}}) {
        ImageRecipe recipe;
        recipe.length = length;
        const auto raw = readRomFile(write("short.rom", buildImage(recipe)));
        ASSERT_TRUE(raw.ok());
        ASSERT_EQ(raw->image.size(), length);
        const auto loaded = loadRom(*raw);
        ASSERT_FALSE(loaded.ok()) << length;
        EXPECT_EQ(loaded.error().kind, LoadErrorKind::WrongDeviceId);
        EXPECT_EQ(loaded.error().deviceIdText, "");
    }
    // 0x8A bytes hold the device ID but no clock block.
    ImageRecipe recipe;
    recipe.length = 0x8A;
    const auto loaded = loadBytes(buildImage(recipe));
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.error().kind, LoadErrorKind::NoClockBlock);
    EXPECT_EQ(loaded.error().deviceIdText, "9501");
}

TEST_F(RomFileTest, MissingFileIsAFileError)
{
    const auto raw = readRomFile(dir_ / "absent.rom");
    ASSERT_FALSE(raw.ok());
    EXPECT_EQ(raw.error().kind, FileErrorKind::NotFound);
    EXPECT_EQ(raw.error().reason, std::generic_category().message(ENOENT));
}

TEST_F(RomFileTest, DirectoryIsAFileError)
{
    fs::create_directory(dir_ / "folder.rom");
    const auto raw = readRomFile(dir_ / "folder.rom");
    ASSERT_FALSE(raw.ok());
    EXPECT_EQ(raw.error().kind, FileErrorKind::NotAFile);
    EXPECT_EQ(raw.error().reason, std::generic_category().message(EISDIR));
    EXPECT_EQ(raw.error().systemError, EISDIR);
}

TEST_F(RomFileTest, UnreadableFileIsAFileError)
{
    const fs::path path = write("locked.rom", buildImage(ImageRecipe{}));
    fs::permissions(path, fs::perms::none);
    // The superuser may read any file: then the read is made with the file-system identity of
    // an unprivileged user (setfsuid drops the permission overrides for file access only).
    constexpr uid_t kNobody = 65534;
    const bool superuser = ::geteuid() == 0;
    if (!superuser && std::ifstream(path).good()) {
        GTEST_SKIP() << "permission bits are not enforced on this file system";
    }
    if (superuser) {
        ::setfsuid(kNobody);
        if (::setfsuid(kNobody) != int(kNobody)) {
            ::setfsuid(0);
            GTEST_SKIP() << "the superuser may not take another user's identity here";
        }
    }
    const auto raw = readRomFile(path);
    if (superuser) ::setfsuid(0);
    ASSERT_FALSE(raw.ok());
    EXPECT_EQ(raw.error().kind, FileErrorKind::AccessDenied);
    EXPECT_EQ(raw.error().reason, std::generic_category().message(EACCES));
    EXPECT_EQ(raw.error().systemError, EACCES);
}

TEST_F(RomFileTest, FileFarLargerThanAnyBiosIsRefused)
{
    const fs::path path = write("huge.rom", {});
    fs::resize_file(path, kLargestAcceptedFile + 1);  // sparse: costs no disk space
    const auto raw = readRomFile(path);
    ASSERT_FALSE(raw.ok());
    EXPECT_EQ(raw.error().kind, FileErrorKind::TooLarge);
}

// --- Finding the clock block -------------------------------------------------------------

struct SignatureCase {
    const char* name;
    std::size_t imageLength;
    std::optional<std::size_t> signatureOffset;
    std::optional<std::size_t> expected;  // nothing: the load is refused, no clock block
};

class SignatureSearch : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(SignatureSearch, FindsTheBlockOnlyWhollyWithinTheSearchAreaAndTheImage)
{
    ImageRecipe recipe;
    recipe.length = GetParam().imageLength;
    recipe.signatureOffset = GetParam().signatureOffset;
    recipe.optionRomHeader = false;  // its checksum byte would land in a block at the image end
    const auto loaded = loadBytes(buildImage(recipe));
    if (GetParam().expected) {
        ASSERT_TRUE(loaded.ok());
        expectConsistentStore(*loaded, *GetParam().expected);
        EXPECT_EQ(loaded->clocks.working, recipe.entries);
    } else {
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error().kind, LoadErrorKind::NoClockBlock);
        EXPECT_EQ(loaded.error().deviceIdText, "9501");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SignatureSearch,
    ::testing::Values(SignatureCase{"Missing", 100'000, std::nullopt, std::nullopt},
                      SignatureCase{"EndsAtByte49999", 100'000, 49'988, 49'988},
                      SignatureCase{"EndsAtByte50000", 100'000, 49'989, std::nullopt},
                      SignatureCase{"BeyondTheSearchArea", 100'000, 60'000, std::nullopt},
                      SignatureCase{"BlockEndsAtImageEnd", 4096, 4096 - 164, 4096 - 164},
                      SignatureCase{"BlockRunsOneBytePastTheEnd", 4096, 4096 - 163, std::nullopt},
                      SignatureCase{"SignatureAtTheVeryEnd", 4096, 4096 - 12, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SignatureSearch, PartialMatchesBeforeTheSignatureDoNotConfuseTheSearch)
{
    ImageRecipe recipe;
    recipe.length = 100'000;
    recipe.signatureOffset = 49'988;
    Bytes bytes = buildImage(recipe);
    // The signature less its last byte, and a run that restarts the signature half way
    // (01 01 02 03 02 04 01 01 02 03 ...) right in front of the real one.
    fixtures::putBytes(bytes, 0x1000, ByteView{kClockBlockSignature}.first(11));
    const Bytes restart{0x01, 0x01, 0x02, 0x03, 0x02, 0x04};
    fixtures::putBytes(bytes, 49'988 - restart.size(), restart);
    const auto loaded = loadBytes(bytes);
    ASSERT_TRUE(loaded.ok());
    expectConsistentStore(*loaded, 49'988);
    EXPECT_EQ(loaded->clocks.working, recipe.entries);
}

TEST(SignatureSearch, FirstOfTwoSignaturesWins)
{
    ImageRecipe recipe;
    recipe.signatureOffset = 0x7000;
    Bytes bytes = buildImage(recipe);
    fixtures::putBytes(bytes, 0x4000, kClockBlockSignature);
    const auto loaded = loadBytes(bytes);
    ASSERT_TRUE(loaded.ok());
    expectConsistentStore(*loaded, 0x4000);
}

TEST(SignatureSearch, SignatureAtOffsetZeroOfATinyImage)
{
    // 164 bytes: signature, block and nothing else. The device ID at 0x88 then lies inside
    // the block (trailer bytes of entry 7), so it is written after the block.
    ImageRecipe recipe;
    recipe.length = 164;
    recipe.signatureOffset = 0;
    recipe.optionRomHeader = false;
    Bytes bytes = buildImage(recipe);
    fixtures::putBytes(bytes, 0x88, Bytes{0x05, 0x95});
    const auto loaded = loadBytes(bytes);
    ASSERT_TRUE(loaded.ok());
    expectConsistentStore(*loaded, 0);
    EXPECT_EQ(loaded->model, CardType::HD3850);
    EXPECT_EQ(Bytes(loaded->image.clockBlock().begin(), loaded->image.clockBlock().end()),
              Bytes(bytes.begin() + 12, bytes.end()));
    EXPECT_TRUE(loaded->image.tail().empty());
    EXPECT_EQ(loaded->clocks.working[0], recipe.entries[0]);
}

TEST(RomLoader, ARejectedLoadLeavesTheLastAcceptedImageAlone)
{
    const Bytes good = buildImage(ImageRecipe{});
    ImageRecipe badRecipe;
    badRecipe.deviceId = "1002";
    const Bytes bad = buildImage(badRecipe);

    auto current = loadBytes(good);
    ASSERT_TRUE(current.ok());
    const LoadedRom before = *current;
    // The way the editor uses it: a load yields a new value, taken only when it succeeds.
    const auto next = loadBytes(bad);
    ASSERT_FALSE(next.ok());
    EXPECT_EQ(next.error().deviceIdText, "1002");
    EXPECT_EQ(current->image.fileImage, before.image.fileImage);
    EXPECT_EQ(current->image.fileImage, good);
}

}  // namespace
}  // namespace clockvane
