#include "ui/qt_platform.h"

#include <cmath>
#include <filesystem>
#include <memory>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include "ui/comparison_window.h"
#include "ui/file_dialogs.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"
#include "ui/shell_open.h"

namespace clockvane::ui {

QString settingsKey(const std::string& section, const std::string& key)
{
    if (section.empty() || section == "\\") return toQt(key);
    return toQt(section) + QLatin1Char('/') + toQt(key);
}

namespace {

// The per-user store: the desktop's own settings file of the application, or the file a test
// names. Its path is worked out before Qt opens it, because QSettings reads the file as soon as
// it is created.
QString settingsPath(const QtPlatformOptions& options, const std::string& application)
{
    if (!options.settingsFile.isEmpty()) return options.settingsFile;
    const QString name = toQt(application);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + '/' + name +
           '/' + name + ".conf";
}

// Settings live in a regular file or nowhere. Reading a FIFO would block the start for ever,
// and writing would replace a device or a FIFO with a file: anything but a regular file (or
// no file yet) counts as no setting and is left alone.
std::unique_ptr<QSettings> openSettings(const QtPlatformOptions& options,
                                        const std::string& application)
{
    const QString path = settingsPath(options, application);
    std::error_code error;
    const auto type = std::filesystem::status(path.toStdString(), error).type();
    if (type != std::filesystem::file_type::not_found &&
        type != std::filesystem::file_type::regular)
        return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

// A proposed name that is not UTF-8 reaches the dialog with U+FFFD in place of its odd bytes;
// when the user keeps it, the file meant is the proposed one, not one named with U+FFFD.
std::optional<std::string> keepProposedBytes(std::optional<std::string> chosen,
                                             const std::string& proposed)
{
    if (chosen && !proposed.empty() && *chosen == fromQt(toQt(proposed))) return proposed;
    return chosen;
}

}  // namespace

QtPlatform::QtPlatform(QtPlatformOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options))
{
    // Timer1 fires once per start: the status goes back to "Ready..." three seconds after an
    // open or a save.
    timer1_.setSingleShot(true);
    timer1_.setInterval(int(std::lround(app::kTimer1IntervalMs * options_.timeScale)));
    connect(&timer1_, &QTimer::timeout, this, &QtPlatform::timer1Fired);
}

void QtPlatform::setMainWindow(QWidget* window) { mainWindow_ = window; }

app::MessageAnswer QtPlatform::messageBox(const std::string& text, const std::string& title,
                                          app::MessageIcon icon, app::MessageButtons buttons)
{
    auto box = buildMessageBox(text, title, icon, buttons, mainWindow_);
    return answerOf(box->exec(), buttons);
}

std::optional<std::string> QtPlatform::showOpenDialog(const app::FileDialogRequest& request)
{
    auto dialog = buildFileDialog(request, FileDialogKind::Open, mainWindow_);
    return keepProposedBytes(runFileDialog(*dialog, request.flags), request.fileName);
}

std::optional<std::string> QtPlatform::showSaveDialog(const app::FileDialogRequest& request)
{
    auto dialog = buildFileDialog(request, FileDialogKind::Save, mainWindow_);
    return keepProposedBytes(runFileDialog(*dialog, request.flags), request.fileName);
}

std::optional<std::vector<std::string>>
QtPlatform::showOpenFilesDialog(const app::FileDialogRequest& request)
{
    auto dialog = buildFileDialog(request, FileDialogKind::Open, mainWindow_);
    // Several files may be picked: the two BIOS files of an X2 are opened as a pair.
    dialog->setFileMode(QFileDialog::ExistingFiles);
    auto chosen = runOpenFilesDialog(*dialog);
    if (chosen && chosen->size() == 1)
        chosen->front() = *keepProposedBytes(chosen->front(), request.fileName);
    return chosen;
}

void QtPlatform::showComparison(const app::ComparisonTable& table)
{
    ComparisonWindow window(table, mainWindow_);
    window.exec();
}

app::MemoryAnswer QtPlatform::askMemorySize(const app::MemoryPromptTexts& texts)
{
    // A new window for every question: nothing of an earlier answer survives.
    Form3 prompt(texts, mainWindow_);
    prompt.exec();
    return prompt.answer();
}

void QtPlatform::showAbout(const app::AboutTexts& texts)
{
    Form2 about(texts, mainWindow_);
    connect(&about, &Form2::pictureClicked, this, &QtPlatform::aboutPictureClicked);
    about.exec();
}

void QtPlatform::waitSeconds(double seconds)
{
    if (seconds <= 0) return;
    // A nested event loop ended by a timer: the window stays live (and other handlers may
    // run) while the sequence pauses, without spinning the processor.
    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);  // never early: the wait lasts at least `seconds`
    connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(int(std::lround(seconds * 1000.0 * options_.timeScale)));
    loop.exec();
}

void QtPlatform::startTimer1()
{
    if (!timer1_.isActive()) timer1_.start();
}

void QtPlatform::stateChanged() { emit renderRequested(); }

std::optional<std::string> QtPlatform::readSetting(const std::string& application,
                                                   const std::string& section,
                                                   const std::string& key)
{
    const auto settings = openSettings(options_, application);
    const QString name = settingsKey(section, key);
    if (!settings || !settings->contains(name)) return std::nullopt;
    return fromQt(settings->value(name).toString());
}

void QtPlatform::writeSetting(const std::string& application, const std::string& section,
                              const std::string& key, const std::string& value)
{
    const auto settings = openSettings(options_, application);
    if (!settings) return;
    settings->setValue(settingsKey(section, key), toQt(value));
    settings->sync();
}

char QtPlatform::decimalSeparator() const
{
    return app::decimalSeparatorFrom(fromQt(QLocale().decimalPoint()));
}

void QtPlatform::openUrl(const std::string& url)
{
    // Like the shell's "Open": the desktop picks the handler; a failure is not reported.
    QDesktopServices::openUrl(
        addressFromProgramFolder(toQt(url), QCoreApplication::applicationDirPath()));
}

void QtPlatform::closeMainWindow()
{
    if (mainWindow_) mainWindow_->close();
}

}  // namespace clockvane::ui
