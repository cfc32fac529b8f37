#include "ui/shell_open.h"

#include <QDir>

namespace clockvane::ui {

QUrl addressFromProgramFolder(const QString& address, const QString& programFolder)
{
    QUrl url(address);
    if (!url.scheme().isEmpty()) return url;
    return QUrl::fromLocalFile(QDir::cleanPath(QDir(programFolder).absoluteFilePath(address)));
}

}  // namespace clockvane::ui
