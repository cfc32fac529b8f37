#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/comparison_table.h"
#include "bytes/result.h"
#include "files/rom_file.h"
#include "files/safe_write.h"
#include "files/utf8_path.h"

namespace clockvane::app {

enum class MessageIcon { Exclamation, Information, Critical };
// YesNo has Yes as the default button (the one Enter presses); YesNoDefaultNo has No, for a
// question whose Yes may do harm.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
// The memory-size prompt's answer; a prompt closed without a button is an answer of its own.
enum class MemoryAnswer { MB256, MB512, Closed };
enum class MessageAnswer { Ok, Yes, No };

// A file dialog as the window sets it up. The filter is written "Description|patterns",
// patterns separated by ';' ("BIOS ROM files (*.rom;*.bin)|*.rom;*.bin").
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string fileName;  // proposed name (in) - the platform returns the chosen one
    unsigned flags = 0;    // the open-file-name flags below
};

// Flags of the two file dialogs (the values of the classic open-file-name structure).
inline constexpr unsigned kDialogOverwritePrompt = 0x2;
inline constexpr unsigned kDialogReadOnlyHidden = 0x4;
inline constexpr unsigned kDialogExtensionDifferent = 0x400;  // set, though only ever an answer
inline constexpr unsigned kDialogPathMustExist = 0x800;
inline constexpr unsigned kDialogFileMustExist = 0x1000;
inline constexpr unsigned kDialogLongNames = 0x200000;
inline constexpr unsigned kOpenDialogFlags =
    kDialogLongNames | kDialogPathMustExist | kDialogFileMustExist | kDialogReadOnlyHidden;
inline constexpr unsigned kSaveDialogFlags = kDialogLongNames | kDialogPathMustExist |
                                             kDialogExtensionDifferent | kDialogReadOnlyHidden |
                                             kDialogOverwritePrompt;

// The texts of the memory-size prompt, in the language current when it is shown.
struct MemoryPromptTexts {
    std::string caption;    // window caption, with its leading space
    std::string question;   // two lines joined by "\r"
    std::string button256;  // "256 MB"
    std::string button512;  // "512 MB"
};

// The texts of the About window, in the language current when it is opened.
struct AboutTexts {
    std::string caption;
    std::string riskNotice;   // Label1(0), lines joined by "\r"
    std::string usageSteps;   // Label1(1), lines joined by "\r"
    std::string versionLine;  // Label2: "V0.9 Beta"
};

// The status-reset timer fires this long after it is started.
inline constexpr int kTimer1IntervalMs = 3000;

// The decimal separator a platform reports, from its locale's decimal point (UTF-8): a point
// that is not one ASCII character - none at all, or the Arabic one - falls back to '.', since
// the boxes' texts are read and written byte by byte.
constexpr char decimalSeparatorFrom(std::string_view localePoint)
{
    if (localePoint.empty() || static_cast<unsigned char>(localePoint.front()) > 0x7F) return '.';
    return localePoint.front();
}

// What the editor needs from the desktop. Every call happens on the window's one thread.
// Texts are UTF-8; multi-line texts use single carriage returns ("\r") as line breaks.
class Platform {
public:
    virtual ~Platform() = default;

    // Modal message box; returns when the user closes it. For Yes/No, closing the box any
    // other way counts as No.
    virtual MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     MessageIcon icon, MessageButtons buttons) = 0;

    // Modal file dialogs: the chosen path, or nothing when cancelled or failed.
    virtual std::optional<std::string> showOpenDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> showSaveDialog(const FileDialogRequest& request) = 0;
    // The open dialog that lets the user pick several files at once (the two BIOS files of an
    // HD 3870 X2): the chosen paths, or nothing when cancelled. A desktop without one offers
    // the single-file dialog.
    virtual std::optional<std::vector<std::string>>
    showOpenFilesDialog(const FileDialogRequest& request)
    {
        auto chosen = showOpenDialog(request);
        if (!chosen) return std::nullopt;
        return std::vector<std::string>{std::move(*chosen)};
    }

    // Modal window with the comparison of two images. A desktop without a table window shows
    // the rows as the text of a message box.
    virtual void showComparison(const ComparisonTable& table)
    {
        messageBox(comparisonText(table), table.title, MessageIcon::Information,
                   MessageButtons::Ok);
    }

    // Modal memory-size prompt (a window loaded afresh each time). It stays open until one of
    // its buttons is pressed: Escape and the close box do nothing, since neither size is a safe
    // guess. Closed is left only for a prompt the desktop itself took down.
    virtual MemoryAnswer askMemorySize(const MemoryPromptTexts& texts) = 0;

    // Modal About window; its picture calls MainController::Picture1_Click.
    virtual void showAbout(const AboutTexts& texts) = 0;

    // Waits at least `seconds`, processing window events meanwhile (other handlers may run).
    // Returns at once, without processing events, for 0 seconds.
    virtual void waitSeconds(double seconds) = 0;

    // Starts the one-shot status-reset timer (kTimer1IntervalMs); when it fires the platform calls
    // MainController::Timer1_Timer. Starting it while it runs leaves it running.
    virtual void startTimer1() = 0;

    // The control state changed: render it (called before every wait and after every handler).
    virtual void stateChanged() = 0;

    // Per-user settings store: text values under (application, section, key).
    virtual std::optional<std::string> readSetting(const std::string& application,
                                                   const std::string& section,
                                                   const std::string& key) = 0;
    virtual void writeSetting(const std::string& application, const std::string& section,
                              const std::string& key, const std::string& value) = 0;

    // The user's decimal separator for voltages (',' under German regional settings).
    virtual char decimalSeparator() const = 0;

    // Opens an address with the desktop's default handler; the result is not checked.
    virtual void openUrl(const std::string& url) = 0;

    // Closes the main window and ends the program (after Form_Unload has run).
    virtual void closeMainWindow() = 0;

    // Files, through the core; a test platform may replace them to simulate faults. The names
    // are UTF-8, the program's one encoding for them: a std::string given to a path as it is
    // would be read in the system's narrow encoding, which on Windows is not UTF-8.
    virtual Result<RawFile, FileError> readFile(const std::string& path)
    {
        return readRomFile(pathFromUtf8(path));
    }
    virtual Result<void, WriteError> writeFile(const std::string& path, ByteView bytes)
    {
        return writeFileSafely(pathFromUtf8(path), bytes);
    }
    // Which file a name leads to and its size and modification time; nothing for no file.
    virtual std::optional<FileStamp> fileStamp(const std::string& path)
    {
        return stampFile(pathFromUtf8(path));
    }
};

}  // namespace clockvane::app
