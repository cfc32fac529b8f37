#include "cli/opened_image.h"

#include "files/rom_file.h"
#include "files/utf8_path.h"
#include "image/card_identity.h"
#include "layout/clock_layout.h"
#include "layout/voltage_text.h"
#include "text/texts.h"

namespace clockvane::cli {
namespace {

std::string fileErrorText(const FileError& error)
{
    switch (error.kind) {
    case FileErrorKind::NotFound:
    case FileErrorKind::AccessDenied: return "cannot open: " + error.reason;
    case FileErrorKind::NotAFile:
    case FileErrorKind::TooLarge:
    case FileErrorKind::ReadFailed: break;
    }
    return "cannot read: " + error.reason;
}

std::string loadErrorText(const LoadError& error)
{
    if (error.kind == LoadErrorKind::NoClockBlock) {
        return "no clock table: the clock-block signature is not within the first " +
               std::to_string(kSignatureSearchLimit) +
               " bytes, or the table runs past the end of the file";
    }
    if (error.deviceIdText.empty()) {
        return "not an ATI 38xx BIOS image: the file is too short to hold a device ID at 0x88";
    }
    std::string expected;
    for (const SupportedDevice& device : kSupportedDevices) {
        if (!expected.empty())
            expected +=
                device.deviceIdText == kSupportedDevices.back().deviceIdText ? " or " : ", ";
        expected += device.deviceIdText;
    }
    return "not an ATI 38xx BIOS image: device ID " + error.deviceIdText + " at 0x88 (expected " +
           expected + ")";
}

}  // namespace

Result<OpenedImage, std::string> openImage(const std::string& path)
{
    auto raw = readRomFile(pathFromUtf8(path));
    if (!raw) return fileErrorText(raw.error());
    auto loaded = loadRom(std::move(raw).value());
    if (!loaded) return loadErrorText(loaded.error());

    OpenedImage opened{path, std::move(loaded).value(), {}};
    for (std::size_t slider = 0; slider < kSliderCount; ++slider) {
        opened.sliders[slider] =
            checkClockRange(slider, shownClockField(opened.rom.clocks.working, slider));
    }
    return opened;
}

std::vector<std::string> rangeLines(const OpenedImage& opened)
{
    std::vector<std::string> lines;
    for (const PowerState& state : kPowerStates) {
        for (const std::size_t slider : {state.gpuSlider, state.ramSlider}) {
            const RangeViolation violation = opened.sliders[slider].violation;
            if (violation != RangeViolation::None)
                lines.push_back(texts::rangeLine(slider, violation, UiLanguage::English));
        }
    }
    return lines;
}

SaveControls controlsAfterOpen(const OpenedImage& opened, bool uvdLinked)
{
    return controlsAsOpened(opened.rom.clocks, uvdLinked, '.');
}

Bytes wholeFile(const RomImage& image)
{
    Bytes bytes = image.fileImage;
    bytes.insert(bytes.end(), image.beyondImage.begin(), image.beyondImage.end());
    return bytes;
}

}  // namespace clockvane::cli
