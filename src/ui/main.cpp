#include <QApplication>
#include <QIcon>

#include "app/app_info.h"
#include "app/main_controller.h"
#include "ui/form1.h"
#include "ui/qt_platform.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString name = QString::fromUtf8(clockvane::app::kProgramName.data(),
                                           qsizetype(clockvane::app::kProgramName.size()));
    QApplication::setOrganizationName(name);
    QApplication::setApplicationName(name);
    QApplication::setApplicationVersion(QStringLiteral(CLOCKVANE_VERSION));
    // Ties the window to the installed .desktop file (task bars, Wayland).
    QApplication::setDesktopFileName(QStringLiteral(CLOCKVANE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/app-icon.svg")));

    // The program always waits the full time: no options.
    clockvane::ui::QtPlatform platform;
    clockvane::app::MainController controller(platform);
    clockvane::ui::Form1 window(controller, platform);
    window.load();
    return QApplication::exec();
}
