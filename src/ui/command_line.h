#pragma once

#include <string>

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

// The bytes of the command-line argument that Qt read as `decoded`: Qt decodes arguments as
// UTF-8, and a name that is not UTF-8 (a Latin-1 "caf\xE9.rom") does not survive the trip.
// `argv` is what is left after QApplication took out its own options, in the order of
// QCoreApplication::arguments(); the last match is taken, as the file comes after any "--".
std::string rawArgument(int argc, char** argv, const QString& decoded);

// Prints what a Help, Version or Error command asks for and returns the exit code (0 or 2).
// Needs an application object for the program's name.
int answerInText(const EditorCommand& command);

}  // namespace clockvane::ui
