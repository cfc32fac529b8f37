#include "app/texts.h"

#include <cerrno>

#include "clocks/clock_layout.h"

namespace clockvane::app::texts {
namespace {

constexpr Bilingual kGpuClockName{"GPU-Takt", "GPU clock"};
constexpr Bilingual kMemoryClockName{"Speichertakt", "memory clock"};
constexpr std::string_view kVcoreName = "VCore";

// A path that names a device, a pipe or a socket: no errno says that.
constexpr Bilingual kNotARegularFile{"Keine reguläre Datei", "Not a regular file"};

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

std::string systemReason(int systemError, const std::string& systemText, UiLanguage language)
{
    for (const SystemReason& known : kSystemReasons) {
        if (known.systemError == systemError) return known.text.in(language);
    }
    return systemText;
}

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

std::string sliderName(std::size_t slider, UiLanguage language)
{
    const PowerState& state = kPowerStates[powerStateOfSlider(slider)];
    return std::string(kVcoreBoxStates[state.vcoreBox]) + ' ' +
           (isGpuSlider(slider) ? kGpuClockName : kMemoryClockName).in(language);
}

std::string vcoreBoxName(std::size_t box, UiLanguage)
{
    return std::string(kVcoreBoxStates[box]) + ' ' + std::string(kVcoreName);
}

std::string fileErrorReason(const FileError& error, UiLanguage language)
{
    if (error.kind == FileErrorKind::NotAFile && error.systemError == 0) {
        return kNotARegularFile.in(language);
    }
    return systemReason(error.systemError, error.reason, language);
}

std::string writeErrorReason(const WriteError& error, UiLanguage language)
{
    return systemReason(error.systemError, error.reason, language);
}

std::string x2NoticeTitle(int x2File, UiLanguage language)
{
    return (x2File == 2 ? kX2TitleFile2 : kX2TitleFile1).in(language);
}

std::string x2NoticeText(int x2File, UiLanguage language)
{
    const NoticeLines& lines = language == UiLanguage::German ? kX2NoticeGerman : kX2NoticeEnglish;
    std::string text = (x2File == 2 ? kX2FirstLineFile2 : kX2FirstLineFile1).in(language);
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

}  // namespace clockvane::app::texts
