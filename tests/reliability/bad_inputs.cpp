#include "bad_inputs.h"

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "fixtures/image_builder.h"
#include "image/rom_image.h"

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;
using fixtures::ImageRecipe;

constexpr const char* kTooShort =
    "not an ATI 38xx BIOS image: the file is too short to hold a device ID at 0x88";
constexpr const char* kNoClockTable = "no clock table";

std::function<void(const fs::path&)> bytesOf(Bytes bytes)
{
    return [bytes = std::move(bytes)](const fs::path& path) { fixtures::writeFile(path, bytes); };
}

std::function<void(const fs::path&)> imageOf(const ImageRecipe& recipe)
{
    return bytesOf(fixtures::buildImage(recipe));
}

Bytes firstBytesOfDefaultImage(std::size_t count)
{
    Bytes image = fixtures::buildImage(ImageRecipe{});
    image.resize(count);
    return image;
}

Bytes randomBytes(std::size_t count, std::uint32_t seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 0xFF);
    Bytes bytes(count);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(byte(generator));
    return bytes;
}

// A valid image followed by bytes that are no part of it.
Bytes imageWithJunk(const ImageRecipe& recipe, std::size_t junk)
{
    Bytes bytes = fixtures::buildImage(recipe);
    const Bytes tail = randomBytes(junk, 77);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

ImageRecipe withLength(std::size_t length)
{
    ImageRecipe recipe;
    recipe.length = length;
    return recipe;
}

ImageRecipe withSignatureAt(std::size_t offset, std::size_t length)
{
    ImageRecipe recipe = withLength(length);
    recipe.signatureOffset = offset;
    return recipe;
}

ImageRecipe withoutSignature(const std::string& deviceId)
{
    ImageRecipe recipe;
    recipe.deviceId = deviceId;
    recipe.signatureOffset = std::nullopt;
    return recipe;
}

ImageRecipe with3dGpu(std::size_t length, std::uint32_t raw)
{
    ImageRecipe recipe = withLength(length);
    recipe.entries[3].gpuClock = raw;
    return recipe;
}

// The signature as the image's first bytes: the block then covers the device ID at 0x88,
// which lands in bytes 4-5 of entry 7's trailer, so that trailer carries the ID.
ImageRecipe signatureAtTheStart()
{
    ImageRecipe recipe;
    recipe.signatureOffset = 0;
    recipe.optionRomHeader = false;
    recipe.trailers[7][4] = 0x01;
    recipe.trailers[7][5] = 0x95;
    return recipe;
}

void makeFolder(const fs::path& path) { fs::create_directories(path); }

void makeUnreadable(const fs::path& path)
{
    fixtures::writeFile(path, fixtures::buildImage(ImageRecipe{}));
    fs::permissions(path, fs::perms::none);
}

void makeLinkToImage(const fs::path& path)
{
    const fs::path real = path.parent_path() / "real image.rom";
    fixtures::writeFile(real, fixtures::buildImage(ImageRecipe{}));
    fs::create_symlink(real.filename(), path);
}

void makeFifo(const fs::path& path)
{
    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("mkfifo " + path.string());
}

// Larger than any video BIOS: refused before it is held in memory. Sparse, so it costs no disk.
void makeHugeSparseFile(const fs::path& path)
{
    fixtures::writeFile(path, fixtures::buildImage(ImageRecipe{}));
    fs::resize_file(path, 65u * 1024u * 1024u);
}

InputVersion opens(std::function<void(const fs::path&)> make, int gpu3dMhz = 775)
{
    return {std::move(make), Verdict::Opens, "", gpu3dMhz};
}

InputVersion refused(std::function<void(const fs::path&)> make, Verdict verdict, std::string reason)
{
    return {std::move(make), verdict, std::move(reason), 0};
}

std::string wrongId(const std::string& id)
{
    return "not an ATI 38xx BIOS image: device ID " + id + " at 0x88";
}

std::vector<BadInput> makeTable()
{
    std::vector<BadInput> table{
        {"Missing",
         "missing.rom",
         {refused([](const fs::path&) {}, Verdict::Unreadable,
                  "cannot open: No such file or directory")}},
        {"Directory",
         "folder.rom",
         {refused(makeFolder, Verdict::Unreadable, "cannot read: Is a directory")}},
        {"Unreadable",
         "locked.rom",
         {refused(makeUnreadable, Verdict::Unreadable, "cannot open: Permission denied")},
         true},
        {"NamedPipe",
         "pipe.rom",
         {refused(makeFifo, Verdict::Unreadable, "cannot read: Not a regular file")}},
        {"SparseFileOf65MiB",
         "huge.rom",
         {refused(makeHugeSparseFile, Verdict::Unreadable,
                  "cannot read: File too large for a video BIOS image")}},
        {"Empty", "empty.rom", {refused(bytesOf({}), Verdict::WrongFile, kTooShort)}},
        {"OneByte", "one.rom", {refused(bytesOf({0x55}), Verdict::WrongFile, kTooShort)}},
        {"Bytes0x89",
         "short.rom",
         {refused(bytesOf(firstBytesOfDefaultImage(0x89)), Verdict::WrongFile, kTooShort)}},
        {"Bytes0x8A",
         "idonly.rom",
         {refused(bytesOf(firstBytesOfDefaultImage(0x8A)), Verdict::NoClockTable, kNoClockTable)}},
        {"DeviceIdInWrongByteOrder",
         "swapped.rom",
         {refused(imageOf([] {
                      ImageRecipe recipe;
                      recipe.deviceId = "0195";
                      return recipe;
                  }()),
                  Verdict::WrongFile, wrongId("0195"))}},
        {"HD3870WithoutSignature",
         "hd3870.rom",
         {refused(imageOf(withoutSignature("9501")), Verdict::NoClockTable, kNoClockTable)}},
        {"HD3850WithoutSignature",
         "hd3850.rom",
         {refused(imageOf(withoutSignature("9505")), Verdict::NoClockTable, kNoClockTable)}},
        {"HD3870X2WithoutSignature",
         "hd3870x2.rom",
         {refused(imageOf(withoutSignature("950F")), Verdict::NoClockTable, kNoClockTable)}},
        {"SignatureAt49989",
         "late.rom",
         {refused(imageOf(withSignatureAt(49'989, kImageReadLimit)), Verdict::NoClockTable,
                  kNoClockTable)}},
        {"SignatureAt49988",
         "justintime.rom",
         {opens(imageOf(withSignatureAt(49'988, kImageReadLimit)))}},
        {"BlockRunsPastTheEnd",
         "cut.rom",
         {refused(imageOf(withSignatureAt(40'000 - 163, 40'000)), Verdict::NoClockTable,
                  kNoClockTable)}},
        // 79 x 512 bytes: the option ROM ends with the file too, so the save changes nothing
        // past it.
        {"BlockEndsWithTheFile",
         "tight.rom",
         {opens(imageOf(withSignatureAt(40'448 - 164, 40'448)))}},
        {"SignatureAtTheStart", "first.rom", {opens(imageOf(signatureAtTheStart()))}},
        {"Image100000Bytes", "full.rom", {opens(imageOf(withLength(kImageReadLimit)))}},
        {"Image64KiB", "small.rom", {opens(imageOf(withLength(64 * 1024)))}},
        {"ThreeMegabytesOfImageAndJunk",
         "long.rom",
         {opens(bytesOf(imageWithJunk(withLength(kImageReadLimit), 2'900'000)))}},
        {"AllFF",
         "ff.rom",
         {refused(bytesOf(Bytes(64 * 1024, 0xFF)), Verdict::WrongFile, wrongId("FFFF"))}},
        {"AllZero",
         "zero.rom",
         {refused(bytesOf(Bytes(64 * 1024, 0x00)), Verdict::WrongFile, wrongId("0000"))}},
        {"RandomBytes",
         "noise.rom",
         {refused(bytesOf(randomBytes(64 * 1024, 5)), Verdict::WrongFile,
                  "not an ATI 38xx BIOS image: device ID ")}},
        {"NameWithSpacesAndUmlauts",
         "Mein BIOS für HD 3870 (Kopie) ÄÖÜß.rom",
         {opens(imageOf(ImageRecipe{}))}},
        {"NameWithoutExtension", "hd3870bios", {opens(imageOf(ImageRecipe{}))}},
        {"SymbolicLink", "link.rom", {opens(makeLinkToImage)}},
        {"LengthChangesBetweenOpens",
         "changing.rom",
         {opens(imageOf(ImageRecipe{})),
          opens(bytesOf(imageWithJunk(with3dGpu(kImageReadLimit, 80'000), 5000)), 800),
          refused(bytesOf(firstBytesOfDefaultImage(0x89)), Verdict::WrongFile, kTooShort),
          opens(imageOf(with3dGpu(40'000, 70'000)), 700)}},
    };
    return table;
}

}  // namespace

const std::vector<BadInput>& badInputs()
{
    static const std::vector<BadInput> table = makeTable();
    return table;
}

}  // namespace clockvane::reliability
