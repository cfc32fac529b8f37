#include "win32/win32_platform.h"

#include <cmath>
#include <vector>

#include "win32/file_dialogs.h"
#include "win32/form2.h"
#include "win32/form3.h"
#include "win32/message_box.h"
#include "win32/shell_open.h"
#include "win32/win32_text.h"

namespace clockvane::win32 {

std::wstring registryKeyOf(const std::string& application, const std::string& section)
{
    std::wstring key = L"Software\\" + wide(application);
    std::string rest = section;
    while (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) rest.erase(0, 1);
    while (!rest.empty() && (rest.back() == '\\' || rest.back() == '/')) rest.pop_back();
    if (!rest.empty()) key += L"\\" + wide(rest);
    return key;
}

bool Win32Platform::takeTimer1(UINT_PTR timerId)
{
    if (timerId != kTimer1Id) return false;
    // A one-shot use of a periodic timer: it stops itself when it fires.
    ::KillTimer(mainWindow_, kTimer1Id);
    timer1Running_ = false;
    return true;
}

void Win32Platform::dispatch(MSG& message) const
{
    if (mainWindow_ && accelerators_ &&
        (message.hwnd == mainWindow_ || ::IsChild(mainWindow_, message.hwnd)) &&
        ::TranslateAcceleratorW(mainWindow_, accelerators_, &message))
        return;
    if (mainWindow_ && ::IsDialogMessageW(mainWindow_, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

app::MessageAnswer Win32Platform::messageBox(const std::string& text, const std::string& title,
                                             app::MessageIcon icon, app::MessageButtons buttons)
{
    return showMessageBox(mainWindow_, text, title, icon, buttons);
}

std::optional<std::string> Win32Platform::showOpenDialog(const app::FileDialogRequest& request)
{
    return runFileDialog(mainWindow_, request, FileDialogKind::Open);
}

std::optional<std::string> Win32Platform::showSaveDialog(const app::FileDialogRequest& request)
{
    return runFileDialog(mainWindow_, request, FileDialogKind::Save);
}

std::optional<std::vector<std::string>>
Win32Platform::showOpenFilesDialog(const app::FileDialogRequest& request)
{
    return runOpenFilesDialog(mainWindow_, request);
}

app::MemoryAnswer Win32Platform::askMemorySize(const app::MemoryPromptTexts& texts)
{
    // A new window for every question: nothing of an earlier answer survives.
    Form3 prompt(texts);
    prompt.run(mainWindow_);
    return prompt.answer();
}

void Win32Platform::showAbout(const app::AboutTexts& texts)
{
    Form2 about(texts, events_.aboutPictureClicked);
    about.run(mainWindow_);
}

void Win32Platform::waitSeconds(double seconds)
{
    if (seconds <= 0) return;
    // The window stays live while a sequence pauses: messages are handled as they come, and
    // in between the thread sleeps until the next one or the end of the wait - no spinning.
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(std::ceil(seconds * 1000.0));
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) return;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Left for the program's own loop, which ends on it.
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            dispatch(message);
        }
    }
}

void Win32Platform::startTimer1()
{
    if (timer1Running_) return;  // starting it while it runs leaves it running
    timer1Running_ = ::SetTimer(mainWindow_, kTimer1Id, app::kTimer1IntervalMs, nullptr) != 0;
}

void Win32Platform::stateChanged()
{
    if (events_.render) events_.render();
}

std::optional<std::string> Win32Platform::readSetting(const std::string& application,
                                                      const std::string& section,
                                                      const std::string& key)
{
    const std::wstring name = wide(key);
    DWORD type = 0;
    DWORD size = 0;
    const std::wstring path = registryKeyOf(application, section);
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, &type, nullptr,
                       &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, &type,
                       value.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return utf8(value.data());
}

void Win32Platform::writeSetting(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& value)
{
    HKEY opened = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, registryKeyOf(application, section).c_str(), 0,
                          nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring text = wide(value);
    ::RegSetValueExW(opened, wide(key).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(opened);
}

char Win32Platform::decimalSeparator() const
{
    wchar_t separator[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 1) return '.';
    return app::decimalSeparatorFrom(utf8(separator));
}

void Win32Platform::openUrl(const std::string& url) { shellOpen(url); }

void Win32Platform::closeMainWindow()
{
    if (mainWindow_) ::DestroyWindow(mainWindow_);
}

}  // namespace clockvane::win32
