#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/main_controller.h"
#include "app/platform.h"

namespace clockvane::app::testing {

struct RecordedMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;

    friend bool operator==(const RecordedMessage&, const RecordedMessage&) = default;
};
std::ostream& operator<<(std::ostream& out, const RecordedMessage& message);

struct RecordedDialog {
    bool save;  // false: the open dialog
    FileDialogRequest request;
};

// A wait, with what the window showed while it lasted.
struct RecordedWait {
    double seconds;
    std::string status;
    int progress;

    friend bool operator==(const RecordedWait&, const RecordedWait&) = default;
};
std::ostream& operator<<(std::ostream& out, const RecordedWait& wait);

// What the window showed at one stateChanged call.
struct Frame {
    std::string status;    // panel 3
    std::string checksum;  // panel 2
    int progress;
    bool progressDisplay;
};

// A scripted stand-in for the desktop. It answers dialogs, questions and the memory prompt
// from queues, records everything the controller asks of it, and can act in the middle of a
// sequence by running a callback during a chosen wait. Files go through the real core unless
// a hook replaces them.
class FakePlatform : public Platform {
public:
    explicit FakePlatform(char separator = ',') : separator_(separator) {}

    // The controller whose state the frames record; set once it exists.
    void attach(const MainController& controller) { controller_ = &controller; }

    // --- Script ---------------------------------------------------------------------------
    std::deque<std::optional<std::string>> openDialogAnswers;  // empty queue: cancelled
    std::deque<std::optional<std::string>> saveDialogAnswers;  // empty queue: cancelled
    std::deque<MessageAnswer> yesNoAnswers;                    // empty queue: No
    std::deque<MemoryAnswer> memoryAnswers;                    // empty queue: closed
    std::map<std::string, std::string> storedSettings;         // by key
    std::function<Result<RawFile, FileError>(const std::filesystem::path&)> readHook;
    std::function<std::optional<WriteError>(const std::filesystem::path&, ByteView)> writeHook;

    // Runs `action` during the nth wait (1-based, counted since the last clearRecords).
    void duringWait(int n, std::function<void()> action) { waitActions_[n] = std::move(action); }
    // Runs `action` while the nth message box (1-based) is open.
    void duringMessage(int n, std::function<void()> action)
    {
        messageActions_[n] = std::move(action);
    }

    // --- Records --------------------------------------------------------------------------
    std::vector<RecordedMessage> messages;
    std::vector<RecordedDialog> dialogs;
    std::vector<RecordedWait> waits;
    std::vector<Frame> frames;
    std::vector<MemoryPromptTexts> memoryPrompts;
    std::vector<AboutTexts> aboutWindows;
    std::vector<std::string> settingReads;   // "application|section|key"
    std::vector<std::string> settingWrites;  // "application|section|key=value"
    std::vector<std::string> openedUrls;
    std::vector<std::string> writtenPaths;
    // One line per event, in order: "status:<text>", "wait:<seconds>", "message:<title>",
    // "dialog:open", "dialog:save", "memory", "timer", "write:<path>".
    std::vector<std::string> events;
    int timerStarts = 0;
    int stateChangedCount = 0;
    int closeRequests = 0;

    // Panel 3 texts and progress values in the order they appeared (repeats collapsed).
    std::vector<std::string> statusTexts() const;
    std::vector<int> progressValues() const;
    std::vector<double> waitSeconds() const;

    void clearRecords();

    // --- Platform -------------------------------------------------------------------------
    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> showOpenDialog(const FileDialogRequest& request) override;
    std::optional<std::string> showSaveDialog(const FileDialogRequest& request) override;
    MemoryAnswer askMemorySize(const MemoryPromptTexts& texts) override;
    void showAbout(const AboutTexts& texts) override;
    void waitSeconds(double seconds) override;
    void startTimer1() override;
    void stateChanged() override;
    std::optional<std::string> readSetting(const std::string& application,
                                           const std::string& section,
                                           const std::string& key) override;
    void writeSetting(const std::string& application, const std::string& section,
                      const std::string& key, const std::string& value) override;
    char decimalSeparator() const override { return separator_; }
    void openUrl(const std::string& url) override;
    void closeMainWindow() override;
    Result<RawFile, FileError> readFile(const std::filesystem::path& path) override;
    std::optional<WriteError> writeFile(const std::filesystem::path& path, ByteView bytes) override;

private:
    void recordStatusChange();

    char separator_;
    const MainController* controller_ = nullptr;
    std::map<int, std::function<void()>> waitActions_;
    std::map<int, std::function<void()>> messageActions_;
    std::string lastStatus_;
};

}  // namespace clockvane::app::testing
