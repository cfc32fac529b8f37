// Reads the running editor's window for the Wine-driven test (scripts/test-windows-editor.sh),
// the way an accessibility tool would: by window messages, without touching the program.
//   window_probe status N        the text of status panel N (1 to 3)
//   window_probe text ID         the text of Form1's control with the identifier ID
//   window_probe dialog TITLE    waits up to 20 s for a dialog with that title and prints the
//                                texts of its labels, one a line
// Prints UTF-8; exit code 1 when the window or control is not there.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "files/windows_text_win32.h"
#include "win32/control_ids.h"

namespace {

void print(const std::wstring& text)
{
    const std::string bytes = clockvane::windows::toUtf8(text) + "\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
                &written, nullptr);
}

std::wstring textOf(HWND window)
{
    // WM_GETTEXT works across processes, where GetWindowText does not for another's controls.
    const auto length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The status bar's text lives in the other process: a shared buffer is not available, so the
// panel is read through SB_GETTEXTW into memory allocated in the editor's process.
std::wstring statusText(HWND bar, int panel)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(bar, &process);
    const HANDLE other =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!other) return {};
    const auto length = LOWORD(::SendMessageW(bar, SB_GETTEXTLENGTHW, panel - 1, 0));
    const SIZE_T bytes = (length + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(other, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    std::wstring text(length + 1, L'\0');
    if (remote) {
        ::SendMessageW(bar, SB_GETTEXTW, panel - 1, reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(other, remote, text.data(), bytes, nullptr);
        ::VirtualFreeEx(other, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(other);
    text.resize(length);
    return text;
}

BOOL CALLBACK printLabel(HWND child, LPARAM)
{
    wchar_t className[32] = {};
    ::GetClassNameW(child, className, 32);
    if (::lstrcmpiW(className, L"Static") == 0 && ::GetWindowTextLengthW(child) > 0)
        print(textOf(child));
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) return 2;
    const std::wstring command = argv[1];
    if (command == L"dialog") {
        for (int tries = 0; tries < 200; ++tries) {
            if (const HWND dialog = ::FindWindowW(L"#32770", argv[2])) {
                ::EnumChildWindows(dialog, printLabel, 0);
                return 0;
            }
            ::Sleep(100);
        }
        return 1;
    }
    const HWND form = ::FindWindowW(clockvane::win32::kForm1Class, nullptr);
    if (!form) return 1;
    if (command == L"status") {
        const HWND bar = ::GetDlgItem(form, clockvane::win32::kStatusBarId);
        if (!bar) return 1;
        print(statusText(bar, std::stoi(argv[2])));
        return 0;
    }
    if (command == L"text") {
        const HWND control = ::GetDlgItem(form, std::stoi(argv[2]));
        if (!control) return 1;
        print(textOf(control));
        return 0;
    }
    return 2;
}
