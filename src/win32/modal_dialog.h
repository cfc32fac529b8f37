#pragma once

#include <windows.h>

namespace clockvane::win32 {

// A modal dialog built in code: DialogBoxIndirectParamW runs it from a template without
// controls, and the subclass creates its controls when the dialog starts. The owner accepts no
// input until the dialog ends, as with any system dialog.
class ModalDialog {
public:
    virtual ~ModalDialog() = default;
    void run(HWND owner);

protected:
    // Creates the controls, sets the caption and the size.
    virtual void create(HWND dialog) = 0;
    // A command from a control, or IDCANCEL for Escape and the close box.
    virtual void command(HWND dialog, int id, int code) = 0;
    // Gives the dialog a client area of the given size, centred on its owner.
    static void sizeAndCentre(HWND dialog, int clientWidth, int clientHeight);

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace clockvane::win32
