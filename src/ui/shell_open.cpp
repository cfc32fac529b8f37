#include "ui/shell_open.h"

#include <filesystem>

#include "app/home_page.h"

namespace clockvane::ui {

QUrl addressFromProgramFolder(const QString& address, const QString& programFolder)
{
    const app::ShellTarget target =
        app::shellTarget(address.toStdString(), std::filesystem::path(programFolder.toStdString()));
    if (!target.url.empty()) return QUrl(QString::fromStdString(target.url));
    return QUrl::fromLocalFile(QString::fromStdString(target.file.string()));
}

}  // namespace clockvane::ui
