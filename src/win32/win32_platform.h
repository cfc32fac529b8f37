#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/platform.h"

namespace clockvane::win32 {

// Where a setting lives in the registry: under HKEY_CURRENT_USER\Software\<application>, the
// section "\" (the application's own settings) being that key itself and any other section a
// subkey of it; the key is a string value there.
std::wstring registryKeyOf(const std::string& application, const std::string& section);

// The desktop services on Windows: message boxes, the common file dialogs, the two modal
// windows, a timer, waits that keep the window live, the registry and the shell.
class Win32Platform : public app::Platform {
public:
    struct Events {
        std::function<void()> render;               // stateChanged
        std::function<void()> aboutPictureClicked;  // Picture1_Click, while the About window is up
    };

    void setMainWindow(HWND window) { mainWindow_ = window; }
    void setEvents(Events events) { events_ = std::move(events); }
    // Form1 calls this on WM_TIMER for Timer1; true when it was Timer1's.
    bool takeTimer1(UINT_PTR timerId);
    static constexpr UINT_PTR kTimer1Id = 1;

    // The accelerator table the waits' message loop translates for the main window too.
    void setAccelerators(HACCEL accelerators) { accelerators_ = accelerators; }
    // One message, as the program's message loop handles it: accelerators, dialog keys (Tab).
    void dispatch(MSG& message) const;

    app::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                  app::MessageIcon icon, app::MessageButtons buttons) override;
    std::optional<std::string> showOpenDialog(const app::FileDialogRequest& request) override;
    std::optional<std::string> showSaveDialog(const app::FileDialogRequest& request) override;
    std::optional<std::vector<std::string>>
    showOpenFilesDialog(const app::FileDialogRequest& request) override;
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

private:
    HWND mainWindow_ = nullptr;
    HACCEL accelerators_ = nullptr;
    bool timer1Running_ = false;
    Events events_;
};

}  // namespace clockvane::win32
