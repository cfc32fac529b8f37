#pragma once

#include <windows.h>

#include <string>

#include "app/platform.h"

namespace clockvane::win32 {

// The MessageBoxW style of a message: its icon, its buttons, and for a question whose Yes may
// do harm No as the default button (the one Enter presses). Always task-modal to its owner.
UINT messageBoxStyle(app::MessageIcon icon, app::MessageButtons buttons);

// The answer a MessageBoxW result stands for; for Yes/No anything but Yes is No.
app::MessageAnswer answerOf(int result, app::MessageButtons buttons);

app::MessageAnswer showMessageBox(HWND owner, const std::string& text, const std::string& title,
                                  app::MessageIcon icon, app::MessageButtons buttons);

}  // namespace clockvane::win32
