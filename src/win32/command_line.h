#pragma once

#include <string>
#include <vector>

namespace clockvane::win32 {

// What the editor's command line asks for: `clockvane-editor [FILE]`, `--help`, `--version`.
struct EditorCommand {
    enum class Kind { Open, Help, Version, Error };
    Kind kind = Kind::Open;
    std::string file;   // Open: the file to open, empty for none
    std::string error;  // Error: what is wrong
};

// Reads the arguments after the program's name, as UTF-8. "--" ends the options, so that a
// file whose name starts with '-' can be named.
EditorCommand readEditorCommand(const std::vector<std::string>& arguments);

// The process's own arguments after the program's name, from the wide command line.
std::vector<std::string> commandLineArguments();

// Shows what a Help, Version or Error command asks for in a message box (the program has no
// console) and returns the exit code: 0, or 2 for a usage error.
int answerInMessageBox(const EditorCommand& command);

}  // namespace clockvane::win32
