#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "app/platform.h"

namespace clockvane::ui {

struct QtPlatformOptions {
    // Multiplies every timed wait and the status-reset timer's interval. The program always
    // runs with 1; only tests pass a smaller factor (0 makes each wait a single event pass).
    double timeScale = 1.0;
    // An INI file that stands in for the per-user settings store. Empty (the program): the
    // desktop's own store for "Orvanta Clockvane".
    QString settingsFile;
};

// The desktop services of the editor, provided by Qt: message boxes, file dialogs, the two
// small windows, timed waits with event processing, the status-reset timer, the settings
// store, the decimal separator, the shell's "open" and closing the main window.
class QtPlatform : public QObject, public app::Platform {
    Q_OBJECT

public:
    explicit QtPlatform(QtPlatformOptions options = {}, QObject* parent = nullptr);

    // The main window: parent of every modal window, and what closeMainWindow closes.
    void setMainWindow(QWidget* window);
    QWidget* mainWindow() const { return mainWindow_; }

    const QtPlatformOptions& options() const { return options_; }
    const QTimer& timer1() const { return timer1_; }

    app::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                  app::MessageIcon icon, app::MessageButtons buttons) override;
    std::optional<std::string> showOpenDialog(const app::FileDialogRequest& request) override;
    std::optional<std::string> showSaveDialog(const app::FileDialogRequest& request) override;
    std::optional<std::vector<std::string>>
    showOpenFilesDialog(const app::FileDialogRequest& request) override;
    void showComparison(const app::ComparisonTable& table) override;
    app::MemoryAnswer askMemorySize(const app::MemoryPromptTexts& texts) override;
    void showAbout(const app::AboutTexts& texts) override;
    void waitSeconds(double seconds) override;
    void startTimer1() override;
    void stateChanged() override;
    std::optional<std::string> readSetting(const std::string& application,
                                           const std::string& section,
                                           const std::string& key) override;
    void writeSetting(const std::string& application, const std::string& section,
                      const std::string& key, const std::string& value) override;
    char decimalSeparator() const override;
    void openUrl(const std::string& url) override;
    void closeMainWindow() override;

signals:
    // The controller's state changed: the window renders it.
    void renderRequested();
    // Timer1 fired: the window hands it to MainController::Timer1_Timer.
    void timer1Fired();
    // The About window's picture was clicked: MainController::Picture1_Click.
    void aboutPictureClicked();

private:
    QtPlatformOptions options_;
    QPointer<QWidget> mainWindow_;
    QTimer timer1_;
};

// Where a setting lives in QSettings: the section "\" is the store's root, any other section a
// group of that name.
QString settingsKey(const std::string& section, const std::string& key);

}  // namespace clockvane::ui
