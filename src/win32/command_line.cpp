#include "win32/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "clockvane_version.h"
#include "text/texts.h"
#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

constexpr int kExitUsage = 2;

std::string usageText()
{
    std::string text = "Usage: clockvane-editor [options] [FILE]\r\r";
    text += texts::kEditorDescription;
    text += "\r\rOptions:\r  -h, --help\t";
    text += texts::kEditorHelpOption;
    text += "\r  --version\tclockvane-editor ";
    text += kVersion;
    text += "\r\rArguments:\r  FILE\t";
    text += texts::kEditorFileArgument;
    return text;
}

}  // namespace

EditorCommand readEditorCommand(const std::vector<std::string>& arguments)
{
    EditorCommand command;
    std::vector<std::string> files;
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (options && (argument == "-h" || argument == "--help" || argument == "/?")) {
            return {EditorCommand::Kind::Help, {}, {}};
        } else if (options && argument == "--version") {
            return {EditorCommand::Kind::Version, {}, {}};
        } else if (options && argument.size() > 1 && argument.front() == '-') {
            return {EditorCommand::Kind::Error, {}, "Unknown option '" + argument + "'."};
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() > 1)
        return {EditorCommand::Kind::Error, {}, std::string(texts::kEditorOneFileOnly)};
    if (!files.empty()) command.file = files.front();
    return command;
}

std::vector<std::string> commandLineArguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!words) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(utf8(words[i]));
    ::LocalFree(words);
    return arguments;
}

int answerInMessageBox(const EditorCommand& command)
{
    switch (command.kind) {
    case EditorCommand::Kind::Help:
        ::MessageBoxW(nullptr, displayText(usageText()).c_str(), L"clockvane-editor",
                      MB_OK | MB_ICONINFORMATION);
        return 0;
    case EditorCommand::Kind::Version:
        ::MessageBoxW(nullptr, wide("clockvane-editor " + std::string(kVersion)).c_str(),
                      L"clockvane-editor", MB_OK | MB_ICONINFORMATION);
        return 0;
    case EditorCommand::Kind::Error:
        ::MessageBoxW(nullptr, displayText(command.error + "\r\r" + usageText()).c_str(),
                      L"clockvane-editor", MB_OK | MB_ICONEXCLAMATION);
        return kExitUsage;
    case EditorCommand::Kind::Open: break;
    }
    return 0;
}

}  // namespace clockvane::win32
