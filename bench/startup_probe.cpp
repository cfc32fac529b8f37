// Starts the editor exactly as the program does, and once the window is shown and the event
// loop has gone idle for the first time, prints the wall-clock time (ns since the epoch) and
// the resident memory, then quits. scripts/bench.sh subtracts the time the process was started.

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/main_controller.h"
#include "ui/form1.h"
#include "ui/qt_platform.h"

namespace {

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvanta Clockvane probe"));
    QApplication::setApplicationName(QStringLiteral("Orvanta Clockvane probe"));
    clockvane::ui::QtPlatform platform;
    clockvane::app::MainController controller(platform);
    clockvane::ui::Form1 window(controller, platform);
    window.load();
    QTimer::singleShot(0, &application, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("shown_at_ns %lld\nrss_kib %ld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                    residentKiB());
        QApplication::quit();
    });
    return QApplication::exec();
}
