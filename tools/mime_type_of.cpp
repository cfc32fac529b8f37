// Prints the MIME type a desktop gives each file named on the command line, one per line,
// from the shared-mime-info databases in XDG_DATA_DIRS (by name and by content).
#include <cstdio>

#include <QCoreApplication>
#include <QMimeDatabase>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QMimeDatabase database;
    for (const QString& path : QCoreApplication::arguments().mid(1)) {
        std::printf("%s\n", qPrintable(database.mimeTypeForFile(path).name()));
    }
    return 0;
}
