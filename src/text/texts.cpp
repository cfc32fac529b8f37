#include "text/texts.h"

#include <cstdio>

#include <cerrno>

#include "layout/clock_layout.h"

namespace clockvane::texts {
namespace {

constexpr Bilingual kGpuClockName{"GPU-Takt", "GPU clock"};
constexpr Bilingual kMemoryClockName{"Speichertakt", "memory clock"};

// A path that names a device, a pipe or a socket: no errno says that.

struct SystemReason {
    int systemError;
    Bilingual text;
};
constexpr std::array<SystemReason, 9> kSystemReasons{{
    {ENOENT, {"Datei oder Verzeichnis nicht gefunden", "No such file or directory"}},
    {EACCES, {"Keine Berechtigung", "Permission denied"}},
    {EPERM, {"Keine Berechtigung", "Permission denied"}},
    {EISDIR, {"Ist ein Verzeichnis", "Is a directory"}},
    {ENOSPC, {"Kein freier Speicherplatz auf dem Gerät", "No space left on device"}},
    {EROFS, {"Dateisystem ist nur lesbar", "Read-only file system"}},
    {EFBIG, {"Datei zu groß", "File too large"}},
    {ENAMETOOLONG, {"Dateiname zu lang", "File name too long"}},
    {ENOTDIR, {"Ist kein Verzeichnis", "Not a directory"}},
}};

// Lines 2 to 13 of the X2 notice; line 1 names the file and is chosen separately. Empty
// lines make two carriage returns in a row once joined.
using NoticeLines = std::array<std::string_view, 12>;

constexpr NoticeLines kX2NoticeGerman{
    "Für ein erfolgreiches Modding müssen jedoch beide BIOS ROMs GENAU GLEICH verändert werden.",
    "",
    "So können beide ROM's auf Festplatte gespeichert werden:",
    "",
    "Möglichkeit 1 = Mit ATIWinflash",
    "Möglichkeit 2 = Mit ATIDosFlash mit folgenden Parametern",
    "        c:\\atiflash.exe -p 0 ati0.rom",
    "        c:\\atiflash.exe -p 1 ati1.rom",
    "",
    "Nach dem Bearbeiten und Abspeichern der gemoddeten Dateien",
    "MUSS jede wieder in das ursprüngliche ROM geflasht werden.",
    "Sollten die ROMs vertauscht werden, kann dies u.U. zu einem schwarzen Bildschirm führen!",
};

constexpr NoticeLines kX2NoticeEnglish{
    "To complete the BIOS MOD please open both ROMs and enter FULL EQUAL settings.",
    "",
    "To store both ROM's on your harddrive:",
    "",
    "Option 1 = Use ATIWinflash",
    "Option 2 = USE ATIDosFlash with the following command line options",
    "        c:\\atiflash.exe -p 0 ati0.rom",
    "        c:\\atiflash.exe -p 1 ati1.rom",
    "",
    "After you have successfully edited and saved the BIOS files",
    "be sure to store each file in it's original location.",
    "If you mix up both files it's possible that your computer won't boot after flashing!",
};

constexpr Bilingual kX2FirstLineFile1{
    "Du hast die erste BIOS Datei deiner Radeon HD-3870 X² geöffnet.",
    "You have selected the first BIOS file of your Radeon HD-3870 X²."};
constexpr Bilingual kX2FirstLineFile2{
    "Du hast die zweite BIOS Datei deiner Radeon HD-3870 X² geöffnet.",
    "You have selected the second BIOS file of your Radeon HD-3870 X²."};
constexpr Bilingual kX2TitleFile1{"Öffne 3870 X² BIOS 1 von 2", "Opening 3870 X² BIOS 1 of 2"};
constexpr Bilingual kX2TitleFile2{"Öffne 3870 X² BIOS 2 von 2", "Opening 3870 X² BIOS 2 of 2"};

}  // namespace

std::string systemReason(int systemError, const std::string& systemText, UiLanguage language)
{
    for (const SystemReason& known : kSystemReasons) {
        if (known.systemError == systemError) return known.text.in(language);
    }
    return systemText;
}

const PowerStateNames& namesOfSlider(std::size_t slider)
{
    return kPowerStateNames[powerStateOfSlider(slider)];
}

const PowerStateNames& namesOfBox(std::size_t box)
{
    return kPowerStateNames[powerStateOfBox(box)];
}

std::string mhzText(int mhz) { return std::to_string(mhz) + std::string(kMhzSuffix); }

std::string voltsText(std::string_view boxText)
{
    return boxText.empty() ? std::string() : std::string(boxText) + std::string(kVoltSuffix);
}

std::string sliderName(std::size_t slider, UiLanguage language)
{
    return std::string(namesOfSlider(slider).name) + ' ' +
           (isGpuSlider(slider) ? kGpuClockName : kMemoryClockName).in(language);
}

std::string vcoreBoxName(std::size_t box, UiLanguage)
{
    return std::string(namesOfBox(box).name) + ' ' + std::string(kVcoreCaption);
}

std::string x2NoticeTitle(bool secondFile, UiLanguage language)
{
    return (secondFile ? kX2TitleFile2 : kX2TitleFile1).in(language);
}

std::string x2NoticeText(bool secondFile, UiLanguage language)
{
    const NoticeLines& lines = language == UiLanguage::German ? kX2NoticeGerman : kX2NoticeEnglish;
    std::string text = (secondFile ? kX2FirstLineFile2 : kX2FirstLineFile1).in(language);
    for (const std::string_view line : lines) {
        text += '\r';
        text += line;
    }
    return text;
}

std::string vcoreMissingText(std::string_view powerState, std::string_view lowest,
                             std::string_view highest, UiLanguage language)
{
    std::string text;
    if (language == UiLanguage::German) {
        text = "Die VCore für " + std::string(powerState) + " ist leer oder keine Zahl.\r\r" +
               "Bitte einen Wert von " + std::string(lowest) + " bis " + std::string(highest) +
               " Volt eingeben und erneut speichern.";
    } else {
        text = "The " + std::string(powerState) + " VCore is empty or not a number.\r\r" +
               "Please enter a value from " + std::string(lowest) + " to " + std::string(highest) +
               " volts and save again.";
    }
    return text;
}

std::string cutShortText(std::size_t fileLength, std::size_t declaredLength, UiLanguage language)
{
    const std::string have = std::to_string(fileLength);
    const std::string declared = std::to_string(declaredLength);
    if (language == UiLanguage::German) {
        return "Die Datei ist kürzer als das BIOS, das sie enthält (" + have + " von " + declared +
               " Bytes).\r\rVermutlich ist sie ein unvollständiger Dump; vom Speichern wird "
               "abgeraten.";
    }
    return "The file is shorter than the image it holds (" + have + " of " + declared +
           " bytes).\r\rIt is probably an incomplete dump, so saving it is not advised.";
}

std::string pastOptionRomText(std::size_t offset, std::size_t declaredLength, UiLanguage language)
{
    char hexOffset[24];
    std::snprintf(hexOffset, sizeof hexOffset, "0x%zX", offset);
    if (language == UiLanguage::German) {
        return "Das Speichern würde das Byte bei " + std::string(hexOffset) +
               " ändern, das hinter der angegebenen Länge des Option-ROMs (" +
               std::to_string(declaredLength) + " Bytes) liegt.\r\r" +
               "Dort kann die Checksummenkorrektur die Prüfsumme des Option-ROMs nicht erhalten. "
               "Die Datei wurde nicht geschrieben.";
    }
    return "The save would change the byte at " + std::string(hexOffset) +
           ", past the option ROM's declared length (" + std::to_string(declaredLength) +
           " bytes).\r\r" +
           "There the checksum correction cannot keep the option ROM's own checksum. "
           "The file was not written.";
}

std::string rangeLine(std::size_t slider, RangeViolation violation, UiLanguage language)
{
    if (slider >= kSliderCount || violation == RangeViolation::None) return {};
    std::string line{namesOfSlider(slider).limitName};
    line += isGpuSlider(slider) ? " GPU " : " RAM ";
    const bool high = violation == RangeViolation::TooHigh;
    if (language == UiLanguage::German) {
        line += high ? "Takt über Limit" : "Takt unter Limit";
    } else {
        line += high ? "clock exceeds limit" : "clock below limit";
    }
    return line;
}

MessageText rangeMessage(std::size_t slider, RangeViolation violation, UiLanguage language)
{
    const bool german = language == UiLanguage::German;
    const bool high = violation == RangeViolation::TooHigh;
    MessageText message;
    message.title = german ? (high ? "Takt zu hoch!" : "Takt zu niedrig!") : "Clock read error";
    message.text = rangeLine(slider, violation, language) + "\r\r" +
                   (german ? "Bitte die Einstellung überprüfen" : "Please correct the setting");
    return message;
}

}  // namespace clockvane::texts
