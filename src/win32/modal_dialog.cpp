#include "win32/modal_dialog.h"

#include <array>

namespace clockvane::win32 {

void ModalDialog::run(HWND owner)
{
    // DLGTEMPLATE followed by an empty menu, the default class and an empty title (the
    // caption is set in create()); DWORD-aligned, as the system requires.
    alignas(DWORD) std::array<WORD, 16> storage{};
    auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(storage.data());
    dialogTemplate->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    dialogTemplate->cdit = 0;
    dialogTemplate->cx = 200;
    dialogTemplate->cy = 100;
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate, owner, dialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void ModalDialog::sizeAndCentre(HWND dialog, int clientWidth, int clientHeight)
{
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT owner{};
    const HWND parent = ::GetWindow(dialog, GW_OWNER);
    if (!parent || !::GetWindowRect(parent, &owner)) ::GetWindowRect(dialog, &owner);
    ::SetWindowPos(dialog, nullptr, (owner.left + owner.right - width) / 2,
                   (owner.top + owner.bottom - height) / 2, width, height, SWP_NOZORDER);
}

INT_PTR CALLBACK ModalDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto* self = reinterpret_cast<ModalDialog*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->create(dialog);
        return TRUE;
    }
    case WM_COMMAND:
        if (auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER))) {
            self->command(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace clockvane::win32
