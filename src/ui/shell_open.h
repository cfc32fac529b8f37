#pragma once

#include <QString>
#include <QUrl>

namespace clockvane::ui {

// The address the shell's "Open" is given (app::shellTarget), as Qt's desktop services open it.
QUrl addressFromProgramFolder(const QString& address, const QString& programFolder);

}  // namespace clockvane::ui
