// clockvane-editor.exe starts here: the window on the Windows controls, on the same controller
// as the Qt window on Linux.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/main_controller.h"
#include "win32/command_line.h"
#include "win32/form1.h"
#include "win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    using namespace clockvane::win32;
    const EditorCommand command = readEditorCommand(commandLineArguments());
    if (command.kind != EditorCommand::Kind::Open) return answerInMessageBox(command);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The shell's "open" may hand the address to a COM handler.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    Win32Platform platform;
    clockvane::app::MainController controller(platform);
    Form1 window(controller, platform);
    if (!window.load(showCommand)) return 1;
    if (!command.file.empty()) window.openFile(command.file);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) platform.dispatch(message);
    ::CoUninitialize();
    return static_cast<int>(message.wParam);
}
