#include "win32/message_box.h"

#include "win32/win32_text.h"

namespace clockvane::win32 {

UINT messageBoxStyle(app::MessageIcon icon, app::MessageButtons buttons)
{
    UINT style = MB_APPLMODAL;
    switch (icon) {
    case app::MessageIcon::Exclamation: style |= MB_ICONEXCLAMATION; break;
    case app::MessageIcon::Information: style |= MB_ICONINFORMATION; break;
    case app::MessageIcon::Critical: style |= MB_ICONHAND; break;
    }
    switch (buttons) {
    case app::MessageButtons::Ok: style |= MB_OK; break;
    case app::MessageButtons::YesNo: style |= MB_YESNO | MB_DEFBUTTON1; break;
    case app::MessageButtons::YesNoDefaultNo: style |= MB_YESNO | MB_DEFBUTTON2; break;
    }
    return style;
}

app::MessageAnswer answerOf(int result, app::MessageButtons buttons)
{
    if (buttons == app::MessageButtons::Ok) return app::MessageAnswer::Ok;
    return result == IDYES ? app::MessageAnswer::Yes : app::MessageAnswer::No;
}

app::MessageAnswer showMessageBox(HWND owner, const std::string& text, const std::string& title,
                                  app::MessageIcon icon, app::MessageButtons buttons)
{
    const int result = ::MessageBoxW(owner, displayText(text).c_str(), wide(title).c_str(),
                                     messageBoxStyle(icon, buttons));
    return answerOf(result, buttons);
}

}  // namespace clockvane::win32
