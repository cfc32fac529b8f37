#include "fake_platform.h"

#include <ostream>
#include <sstream>

namespace clockvane::app::testing {

std::ostream& operator<<(std::ostream& out, const RecordedWait& wait)
{
    return out << "{" << wait.seconds << " s, \"" << wait.status << "\", " << wait.progress << "}";
}

std::ostream& operator<<(std::ostream& out, const RecordedMessage& message)
{
    std::string text = message.text;
    for (char& c : text) {
        if (c == '\r') c = '|';  // carriage returns shown as bars
    }
    return out << "{title \"" << message.title << "\", text \"" << text << "\", icon "
               << static_cast<int>(message.icon) << ", buttons "
               << static_cast<int>(message.buttons) << "}";
}

std::vector<std::string> FakePlatform::statusTexts() const
{
    std::vector<std::string> texts;
    for (const Frame& frame : frames) {
        if (texts.empty() || texts.back() != frame.status) texts.push_back(frame.status);
    }
    return texts;
}

std::vector<int> FakePlatform::progressValues() const
{
    std::vector<int> values;
    for (const Frame& frame : frames) {
        if (values.empty() || values.back() != frame.progress) values.push_back(frame.progress);
    }
    return values;
}

std::vector<double> FakePlatform::waitSeconds() const
{
    std::vector<double> seconds;
    for (const RecordedWait& wait : waits) seconds.push_back(wait.seconds);
    return seconds;
}

void FakePlatform::clearRecords()
{
    messages.clear();
    dialogs.clear();
    waits.clear();
    frames.clear();
    memoryPrompts.clear();
    aboutWindows.clear();
    settingReads.clear();
    settingWrites.clear();
    openedUrls.clear();
    writtenPaths.clear();
    events.clear();
    waitActions_.clear();
    messageActions_.clear();
    timerStarts = 0;
    stateChangedCount = 0;
    closeRequests = 0;
}

MessageAnswer FakePlatform::messageBox(const std::string& text, const std::string& title,
                                       MessageIcon icon, MessageButtons buttons)
{
    messages.push_back({text, title, icon, buttons});
    events.push_back("message:" + title);
    const auto action = messageActions_.find(static_cast<int>(messages.size()));
    if (action != messageActions_.end()) action->second();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (yesNoAnswers.empty()) return MessageAnswer::No;
    const MessageAnswer answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakePlatform::showOpenDialog(const FileDialogRequest& request)
{
    dialogs.push_back({false, request});
    events.push_back("dialog:open");
    if (openDialogAnswers.empty()) return std::nullopt;
    auto answer = openDialogAnswers.front();
    openDialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakePlatform::showSaveDialog(const FileDialogRequest& request)
{
    dialogs.push_back({true, request});
    events.push_back("dialog:save");
    if (saveDialogAnswers.empty()) return std::nullopt;
    auto answer = saveDialogAnswers.front();
    saveDialogAnswers.pop_front();
    return answer;
}

MemoryAnswer FakePlatform::askMemorySize(const MemoryPromptTexts& texts)
{
    memoryPrompts.push_back(texts);
    events.push_back("memory");
    if (memoryAnswers.empty()) return MemoryAnswer::Closed;
    const auto answer = memoryAnswers.front();
    memoryAnswers.pop_front();
    return answer;
}

void FakePlatform::showAbout(const AboutTexts& texts)
{
    aboutWindows.push_back(texts);
    events.push_back("about");
}

void FakePlatform::waitSeconds(double seconds)
{
    const MainWindowState* state = controller_ ? &controller_->state() : nullptr;
    waits.push_back({seconds, state ? state->statusPanels[kProgressPanel] : std::string{},
                     state ? state->progressValue : 0});
    std::ostringstream text;
    text << "wait:" << seconds;
    events.push_back(text.str());
    const auto action = waitActions_.find(static_cast<int>(waits.size()));
    if (action != waitActions_.end()) action->second();
}

void FakePlatform::startTimer1()
{
    ++timerStarts;
    events.push_back("timer");
}

void FakePlatform::stateChanged()
{
    ++stateChangedCount;
    if (!controller_) return;
    const MainWindowState& state = controller_->state();
    frames.push_back({state.statusPanels[kProgressPanel], state.statusPanels[kChecksumPanel],
                      state.progressValue, state.progressDisplay});
    recordStatusChange();
}

void FakePlatform::recordStatusChange()
{
    const std::string& status = controller_->state().statusPanels[kProgressPanel];
    if (status == lastStatus_) return;
    lastStatus_ = status;
    events.push_back("status:" + status);
}

std::optional<std::string> FakePlatform::readSetting(const std::string& application,
                                                     const std::string& section,
                                                     const std::string& key)
{
    settingReads.push_back(application + "|" + section + "|" + key);
    const auto stored = storedSettings.find(key);
    if (stored == storedSettings.end()) return std::nullopt;
    return stored->second;
}

void FakePlatform::writeSetting(const std::string& application, const std::string& section,
                                const std::string& key, const std::string& value)
{
    settingWrites.push_back(application + "|" + section + "|" + key + "=" + value);
    storedSettings[key] = value;
}

void FakePlatform::openUrl(const std::string& url) { openedUrls.push_back(url); }

void FakePlatform::closeMainWindow()
{
    ++closeRequests;
    events.push_back("close");
}

Result<RawFile, FileError> FakePlatform::readFile(const std::filesystem::path& path)
{
    return readHook ? readHook(path) : Platform::readFile(path);
}

std::optional<WriteError> FakePlatform::writeFile(const std::filesystem::path& path, ByteView bytes)
{
    writtenPaths.push_back(path.string());
    events.push_back("write:" + path.string());
    return writeHook ? writeHook(path, bytes) : Platform::writeFile(path, bytes);
}

}  // namespace clockvane::app::testing
