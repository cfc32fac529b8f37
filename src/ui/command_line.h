#pragma once

#include <QString>
#include <QStringList>

namespace clockvane::ui {

// What the editor's command line asks for: `clockvane-editor [FILE]`, `--help`, `--version`.
struct EditorCommand {
    enum class Kind {
        Open,     // start the window; open `file` when one is named
        Help,     // print the help text and end
        Version,  // print the version and end
        Error,    // print `error` and the usage line, and end with exit code 2
    };
    Kind kind = Kind::Open;
    QString file;
    QString error;
};

// Reads the arguments, program name first (Qt's own options such as -platform must already be
// taken out, as QApplication does).
EditorCommand readEditorCommand(const QStringList& arguments);

// --help and --version are answered without a display: true when the raw arguments ask only
// for one of them, so that no window system is needed (help2man runs the program at build
// time).
bool asksOnlyForText(int argc, char** argv);

// Prints what a Help, Version or Error command asks for and returns the exit code (0 or 2).
// Needs an application object for the program's name.
int answerInText(const EditorCommand& command);

}  // namespace clockvane::ui
