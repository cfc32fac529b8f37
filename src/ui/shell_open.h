#pragma once

#include <QString>
#include <QUrl>

namespace clockvane::ui {

// The address the shell's "Open" is given, as the desktop opens it. Like a program started
// with its own folder as the working folder, a relative path is taken from `programFolder`:
// an installed program finds the files installed beside it (its README in
// ../share/doc/clockvane) wherever the installation was put. An address with a scheme
// (https:, file:) is used as it is.
QUrl addressFromProgramFolder(const QString& address, const QString& programFolder);

}  // namespace clockvane::ui
