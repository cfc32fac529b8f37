#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "layout/clock_layout.h"
#include "layout/clock_limits.h"
#include "text/ui_language.h"

// Every text the window shows, in both languages. A text is picked by the language current at
// the moment it is shown, never earlier, so a switch in the middle of an open or a save
// changes every text that follows it. Line breaks are single carriage returns, as the
// message boxes expect them.
namespace clockvane::texts {

struct Bilingual {
    std::string_view german;
    std::string_view english;

    std::string in(UiLanguage language) const
    {
        return std::string(language == UiLanguage::German ? german : english);
    }
};

// --- Menus, dialogs and hints that the language switch sets --------------------------------
inline constexpr Bilingual kMenuFile{"&Datei", "&File"};
inline constexpr Bilingual kMenuOpen{"ROM Datei Ö&ffnen", "&Open ROM file"};
inline constexpr Bilingual kMenuSave{"ROM Datei speichern &unter...", "&Save ROM file as..."};
inline constexpr Bilingual kMenuLanguage{"S&pracheinstellungen", "&Language"};
inline constexpr Bilingual kMenuExit{"Programm &Beenden", "E&xit"};
inline constexpr Bilingual kMenuTrouble{"&Fehlerbehebung", "&Troubleshooting"};
inline constexpr Bilingual kMenuUvd{"&UVD Funktionen deaktivieren", "&Disable UVD options"};
inline constexpr Bilingual kDateCaption{"Datum/Uhrzeit", "Date/Time"};
inline constexpr Bilingual kOpenDialogTitle{"Bitte original BIOS.ROM auswählen",
                                            "Please select your BIOS.ROM file"};
inline constexpr Bilingual kSaveDialogTitle{"Bitte Dateiname für die gemoddete Datei angeben",
                                            "Please enter a new filename for the modded BIOS.ROM"};
inline constexpr Bilingual kHintOpen{"Bitte ROM Datei laden", "Please open BIOS ROM first"};
inline constexpr Bilingual kHintDrop{"oder Datei per Drag'n'Drop öffnen",
                                     "or Drag'n'Drop BIOS file here"};

// Captions that read the same in both languages.
inline constexpr std::string_view kMenuDeutsch = "&Deutsch";
inline constexpr std::string_view kMenuEnglish = "&English";
inline constexpr std::string_view kMenuAbout = "&?";
inline constexpr std::string_view kFrameCaption = "BIOS info's";
inline constexpr std::string_view kVersionCaption = "Version";
inline constexpr std::string_view kCardCaption = "GPU/RAM";
inline constexpr std::string_view kLinkedCaption = "< Linked";
inline constexpr std::string_view kMhzSuffix = " MHz";
inline constexpr std::string_view kChecksumPrefix = "Checksum-16: ";

inline constexpr std::string_view kVoltSuffix = " V";

// "775 MHz": a clock as its label shows it and a screen reader speaks it.
std::string mhzText(int mhz);
// "1,2 V": a VCore box's text as a screen reader speaks it; an empty box says nothing.
std::string voltsText(std::string_view boxText);

// --- The editing area's fixed captions ------------------------------------------------------
// Over each column's two sliders, and over its VCore box.
inline constexpr std::string_view kGpuCaption = "GPU";
inline constexpr std::string_view kRamCaption = "RAM";
inline constexpr std::string_view kVcoreCaption = "VCore";

// The one table of the power states' names, by power state (the order of kPowerStates). Each
// front-end and the tool take from it what they show; all read the same in both languages.
struct PowerStateNames {
    // What the controls, the save's refusals and the tool call the state: "3D High Power".
    std::string_view name;
    // The clock-limit messages' older, shorter name: "3D GPU clock exceeds limit".
    std::string_view limitName;
    std::string_view heading;     // the column's heading: "3D Clocks"
    std::string_view subHeading;  // the line under it, empty for none: "High Power"
    // The VCore box's tool tip, as the window has always shown it (two blanks included).
    std::string_view vcoreToolTip;
};
inline constexpr std::array<PowerStateNames, kPowerStateCount> kPowerStateNames{{
    {"BootUp", "BootUp", "BootUp Clocks", "", "BootUP VCore in Volts"},
    {"2D", "2D", "2D Clocks", "", "2D VCore in Volts"},
    {"3D Low Power", "3D Low Power", "3D Clocks", "Low Power", "3D Low Power VCore in Volts"},
    {"3D High Power", "3D", "3D Clocks", "High Power", "3D High Power  VCore in Volts"},
    {"UVD", "UVD", "UVD\u00AE Clocks", "", "Unified Video Decoder (UVD) VCore in Volts"},
}};
// The names of the state that slider `slider` or VCore box `box` belongs to.
const PowerStateNames& namesOfSlider(std::size_t slider);
const PowerStateNames& namesOfBox(std::size_t box);

// --- What a screen reader says about the controls, and the warning bands' tool tips --------
// "3D High Power GPU clock": the power state, then what the control sets. The power states'
// names read the same in both languages.
std::string sliderName(std::size_t slider, UiLanguage language);
std::string vcoreBoxName(std::size_t box, UiLanguage language);
inline constexpr Bilingual kYellowBandToolTip{
    "Gelb: höher als bei dieser Karte üblich. Auf Stabilität und Temperatur achten.",
    "Yellow: higher than usual for this card. Watch its stability and temperature."};
inline constexpr Bilingual kRedBandToolTip{
    "Rot: weit über dem Üblichen. Die Karte startet womöglich nicht mehr oder nimmt Schaden.",
    "Red: far above the usual. The card may fail to start or may be damaged."};

// --- Status panel --------------------------------------------------------------------------
inline constexpr Bilingual kStatusReady{"Bereit...", "Ready..."};
inline constexpr Bilingual kStatusOpening{"Öffne ROM Datei...", "Opening ROM file..."};
inline constexpr Bilingual kStatusChecking{"Überprüfung...", "Checking..."};
inline constexpr Bilingual kStatusOpenFailed{"Öffnen der Datei nicht möglich...",
                                             "Wrong file selected, aborting..."};
inline constexpr Bilingual kStatusGettingBiosInfo{"Lade BIOS-Informationen...",
                                                  "Getting BIOS info's..."};
inline constexpr Bilingual kStatusShowingBiosInfo{"Zeige BIOS-Informationen...",
                                                  "Showing BIOS info's..."};
inline constexpr Bilingual kStatusGettingClockInfo{"Lese Takt-Informationen...",
                                                   "Getting CLOCK info's..."};
inline constexpr Bilingual kStatusShowingClockInfo{"Zeige CLOCK-Infos...",
                                                   "Showing CLOCKinfo's..."};
// The open sequence writes a lower-case "checksum", the save sequence a capital one.
inline constexpr Bilingual kStatusOpenChecksum{"Berechne Checksumme...", "Calculating checksum..."};
inline constexpr Bilingual kStatusSaveChecksum{"Berechne Checksumme...", "Calculating Checksum..."};
inline constexpr Bilingual kStatusDone{"Fertig...", "Done..."};
inline constexpr Bilingual kStatusConvertingClocks{"Konvertiere Taktraten...",
                                                   "Converting CLOCK values..."};
inline constexpr Bilingual kStatusConvertingVcores{"Konvertiere VCore-Werte...",
                                                   "Converting VCore values..."};
inline constexpr Bilingual kStatusWriting{"Schreibe ROM Datei...", "Saving ROM file..."};
inline constexpr Bilingual kStatusWriteFailed{"Fehler beim Schreiben der Datei...",
                                              "Error writing to file..."};
// A save refused before anything was written; its message says why.
inline constexpr Bilingual kStatusNotSaved{"Nicht gespeichert...", "Not saved..."};

inline constexpr Bilingual kSuffixCorrected{" (Korrigiert)", " (Corrected)"};
inline constexpr Bilingual kSuffixNotCorrected{" (NICHT korrigiert)", " (NOT corrected)"};

// --- Messages of the open sequence ---------------------------------------------------------
inline constexpr Bilingual kWrongFileTitle{"Keine ROM Datei", "Wrong ROM file"};
inline constexpr Bilingual kWrongFileText{
    "Die gewählte Datei ist keine kompatible ATI 38xx BIOS Datei",
    "Sorry, this is not an ATI 38xx BIOS.ROM file"};
// A BIOS of the right card whose clock table cannot be found where the editor looks for it.
inline constexpr Bilingual kNoClockTableTitle{"Keine Takttabelle", "No clock table"};
inline constexpr Bilingual kNoClockTableText{
    "Die gewählte BIOS Datei enthält keine Takttabelle, die dieser Editor bearbeiten kann.",
    "Sorry, this BIOS.ROM file holds no clock table that this editor can edit."};
// A file the system cannot read at all; the system's reason follows the path.
inline constexpr Bilingual kUnreadableTitle{"Datei nicht lesbar", "Cannot read file"};
inline constexpr Bilingual kUnreadableText{"Die Datei kann nicht gelesen werden:",
                                           "The file cannot be read:"};

// A file shorter than the option ROM it declares (N of M bytes): a dump cut short.
inline constexpr Bilingual kCutShortTitle{"Unvollständige BIOS Datei", "Incomplete BIOS file"};
std::string cutShortText(std::size_t fileLength, std::size_t declaredLength, UiLanguage language);

// The BIOS's own PowerPlay table places its clock-info array elsewhere than the clock block the
// signature found, or gives it other or fewer entries: warned on opening, asked before saving.
inline constexpr Bilingual kContradictedTitle{"Takttabelle nicht bestätigt",
                                              "Clock table not confirmed"};
inline constexpr Bilingual kContradictedText{
    "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle.\r\r"
    "Beim Speichern würden Bytes überschrieben, die womöglich keine Taktraten sind.",
    "The BIOS's own power table places the clock table elsewhere.\r\r"
    "Saving would rewrite bytes that may not be clocks."};
inline constexpr Bilingual kContradictedQuestion{
    "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle, beim Speichern "
    "würden also Bytes überschrieben, die womöglich keine Taktraten sind.\r\r"
    "Trotzdem speichern?",
    "The BIOS's own power table places the clock table elsewhere, so saving would rewrite "
    "bytes that may not be clocks.\r\rSave anyway?"};

// Tool tips of the "BIOS info's" frame: what the BIOS's own tables say about the clock table.
inline constexpr Bilingual kToolTipConfirmed{
    "Takttabelle durch die Power-Tabelle des BIOS bestätigt",
    "Clock table confirmed by the BIOS's own power table"};
inline constexpr Bilingual kToolTipContradicted{
    "Die Power-Tabelle des BIOS legt die Takttabelle an eine andere Stelle",
    "The BIOS's own power table places the clock table elsewhere"};
inline constexpr Bilingual kToolTipNotAvailable{
    "Das BIOS enthält keine Power-Tabelle, mit der sich die Takttabelle bestätigen ließe",
    "The BIOS holds no power table to confirm the clock table with"};

// The system's reason for a failed read or write in the current language: the common cases
// (by their error number) are worded here, any other keeps the system's own description.
std::string systemReason(int systemError, const std::string& systemText, UiLanguage language);
inline constexpr Bilingual kNotARegularFile{"Keine reguläre Datei", "Not a regular file"};

// Which of the two BIOS files of an HD 3870 X2 was opened: title and notice per file.
std::string x2NoticeTitle(bool secondFile, UiLanguage language);
std::string x2NoticeText(bool secondFile, UiLanguage language);

// The memory-size prompt.
inline constexpr Bilingual kMemoryPromptCaption{" GDDR-Größe nicht gefunden",
                                                " Amount of VGA RAM not found"};
inline constexpr Bilingual kMemoryPromptQuestion{
    "Bitte die Größe des Speichers Deiner ATI 38xx angeben.\r"
    "Diese Angabe ist für die korrekte Funktion des Programms sehr wichtig!!!",
    "Please select the right amount of RAM of your ATI 38xx.\r"
    "This is very important for the correct operation of this tool!!!"};
inline constexpr std::string_view kMemoryButton256 = "256 MB";
inline constexpr std::string_view kMemoryButton512 = "512 MB";

// --- Editing -------------------------------------------------------------------------------
inline constexpr Bilingual kUnlinkTitle{"Erweiterte Funktion aktivieren",
                                        "Unlocking advanced feature"};
inline constexpr Bilingual kUnlinkText{
    "Warnung:\r\r"
    "Diese Einstellung ermöglicht das Ändern der UVD Taktraten!\r"
    "Falls nach einer Änderung der Werte keine korrekten 2D- oder 3D-\r"
    "Taktraten gesetzt werden, bitte diese Funktion deaktivieren,\r"
    "bevor das gemoddete BIOS gespeichert wird.",
    "Warning:\r\r"
    "You are about to change UVD clocks!\r"
    "If you experience problems with your modded BIOS file\r"
    "such as incorrect 2D and 3D clocks, try to deactivate\r"
    "this feature before saving your modded BIOS."};

// --- Saving --------------------------------------------------------------------------------
// A VCore box the save would read holds no number: the save does not start.
inline constexpr Bilingual kVcoreMissingTitle{"VCore fehlt", "VCore missing"};
std::string vcoreMissingText(std::string_view powerState, std::string_view lowest,
                             std::string_view highest, UiLanguage language);

inline constexpr Bilingual kChecksumQuestionTitle{"Fehler in Checksummenberechnung!",
                                                  "Error in checksum correction!"};
inline constexpr Bilingual kChecksumQuestionText{
    "Taktänderungen zu groß!\r\rSoll die Checksumme auf klassische Art korrigiert werden?",
    "Changed clock range too high!\r\rDo you want to run the classic checksum correction?"};
inline constexpr Bilingual kChecksumFailedTitle{"CRC Korrektur nicht möglich",
                                                "CRC correction not possible"};
inline constexpr Bilingual kChecksumFailedText{
    "Korrektur der Checksumme nicht möglich, bitte per HEX-Editor korrigieren",
    "Can't correct checksum. Please try to change the bytes with a HEX-Editor."};

// A save that would change a byte past the option ROM's declared length is not written: the
// checksum correction keeps the option ROM's own checksum only for bytes inside it.
inline constexpr Bilingual kPastOptionRomTitle{"Speichern nicht möglich", "Cannot save"};
std::string pastOptionRomText(std::size_t offset, std::size_t declaredLength, UiLanguage language);

inline constexpr Bilingual kAccessDeniedTitle{"Zugriff verweigert", "Access denied"};
inline constexpr Bilingual kAccessDeniedText{"Datei ist schreibgeschützt. Kein Schreiben möglich!",
                                             "File is read only. Can't write to file!"};
// Another program kept its lock on the file while the save waited: nothing is wrong with the
// file's permissions, so this is not the access-denied message.
inline constexpr Bilingual kFileLockedTitle{"Datei gesperrt", "File locked"};
inline constexpr Bilingual kFileLockedText{
    "Die Datei ist von einem anderen Programm gesperrt.\r"
    "Bitte später erneut speichern oder einen anderen Namen wählen.",
    "The file is locked by another program.\r"
    "Please save again later or choose another name."};
// The reason given when the name is a link another user placed in a shared folder such as /tmp.
inline constexpr Bilingual kUntrustedLinkReason{
    "Der Name ist ein Link, den ein anderer Benutzer in einem gemeinsamen Ordner angelegt hat; "
    "ihm wird nicht gefolgt",
    "The name is a link another user placed in a shared folder; it is not followed"};
// Asked, with No as the default, before a save writes over the file that was opened when
// another program has changed it since; the path comes between the two lines.
inline constexpr Bilingual kChangedOnDiskTitle{"Datei wurde geändert", "File changed on disk"};
inline constexpr Bilingual kChangedOnDiskText{
    "Die Datei wurde seit dem Öffnen von einem anderen Programm geändert:",
    "Since it was opened, the file has been changed by another program:"};
inline constexpr Bilingual kChangedOnDiskQuestion{
    "Speichern ersetzt diese Änderungen. Trotzdem überschreiben?",
    "Saving replaces those changes. Overwrite it anyway?"};

// Any other failure of writing; the system's reason follows.
inline constexpr Bilingual kWriteFailedTitle{"Fehler beim Schreiben", "Write error"};
inline constexpr Bilingual kWriteFailedText{"Die Datei konnte nicht geschrieben werden:",
                                            "The file could not be written:"};

// --- About window --------------------------------------------------------------------------
inline constexpr Bilingual kAboutCaption{" Über den Editor", " About the Editor"};
inline constexpr Bilingual kAboutRiskNotice{
    "Benutzung dieses Editors auf eigene Gefahr.\r"
    "Der Autor dieses Tools ist nicht verantwortlich für evtl. auftretende Schäden an der Hardware",
    "You are using this editor at your own risk.\r"
    "The author of this tool is NOT responsible for any damage on your hardware caused by usage "
    "of this tool"};
inline constexpr Bilingual kAboutUsageSteps{
    "1. Original BIOS mit Winflash auslesen und speichern\r"
    "2. Die gerade gespeicherte BIOS.ROM in den Editor laden\r"
    "3. Alle gewünschten Einstellungen vornehmen\r"
    "4. Die gemoddete Datei unter einem neuen Namen speichern\r"
    "5. Gemoddete BIOS_mod.ROM mit Winflash zurückspielen\r"
    "6. Fertig!",
    "1. Save your card's original BIOS with WinFlash\r"
    "2. Open the original BIOS.ROM\r"
    "3. Now edit all desired settings\r"
    "4. Save the new modded ROM to a new filename\r"
    "5. Flash the modded BIOS_mod.ROM with WinFlash\r"
    "6. That's it!"};

// --- The editor's command line (English only, like the tool's) ---------------------------
inline constexpr std::string_view kEditorDescription =
    "Edits the GPU clock, memory clock and VCore of the five power states in a video BIOS image "
    "of a Radeon HD 3850, HD 3870 or HD 3870 X2 card, and saves a modified copy. The editor "
    "never talks to the hardware.";
inline constexpr std::string_view kEditorHelpOption = "Shows this help and ends.";
inline constexpr std::string_view kEditorFileArgument =
    "BIOS image to open (*.rom or *.bin), as with File > Open ROM file.";
inline constexpr std::string_view kEditorOneFileOnly = "Only one FILE can be opened.";

// --- Clock limits ---------------------------------------------------------------------------
struct MessageText {
    std::string title;
    std::string text;  // lines joined by single carriage returns
};

// "BootUp GPU clock exceeds limit" / "BootUp GPU Takt über Limit" and so on.
std::string rangeLine(std::size_t slider, RangeViolation violation, UiLanguage language);
// The message box for a violation: the clock's line, two carriage returns, the request line.
MessageText rangeMessage(std::size_t slider, RangeViolation violation, UiLanguage language);

}  // namespace clockvane::texts
