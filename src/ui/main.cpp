
#include <QApplication>
#include <QIcon>

#include <csignal>

#include "app/app_info.h"
#include "app/main_controller.h"
#include "ui/command_line.h"
#include "ui/form1.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"

namespace {

void describeProgram()
{
    const QString name = QString::fromUtf8(clockvane::app::kProgramName.data(),
                                           qsizetype(clockvane::app::kProgramName.size()));
    QCoreApplication::setOrganizationName(name);
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(
        QString::fromUtf8(clockvane::kVersion.data(), qsizetype(clockvane::kVersion.size())));
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace clockvane::ui;
    // Under a file size limit (ulimit -f) a write past it would otherwise end the program in
    // the middle of a save; ignored, the write fails with EFBIG and the save puts the old file
    // back and says why.
    std::signal(SIGXFSZ, SIG_IGN);
    // --help and --version print and end, also where there is no display.
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        describeProgram();
        return answerInText(readEditorCommand(QCoreApplication::arguments()));
    }

    QApplication application(argc, argv);
    describeProgram();
    const EditorCommand command = readEditorCommand(QCoreApplication::arguments());
    if (command.kind != EditorCommand::Kind::Open) return answerInText(command);
    // Ties the window to the installed .desktop file (task bars, Wayland).
    QApplication::setDesktopFileName(QStringLiteral(CLOCKVANE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/app-icon.svg")));

    // The program always waits the full time: no options.
    QtPlatform platform;
    clockvane::app::MainController controller(platform);
    Form1 window(controller, platform);
    window.load();
    if (!command.file.isEmpty()) {
        // The name's bytes, not Qt's reading of them, which loses any that are not UTF-8.
        window.openFile(rawArgument(argc, argv, command.file));
    }
    return QApplication::exec();
}
