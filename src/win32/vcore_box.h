#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/vcore_box_input.h"

namespace clockvane::win32 {

// An editable VCore box: a drop-down combo box whose edit field is subclassed. Every
// character that reaches the field is first offered to the key filter (the controller's
// CmbVCore_KeyPress), which may discard it: typed (WM_CHAR, Backspace as 8) or pasted
// (WM_PASTE and Shift+Insert), a pasted text typed one character at a time, so that it gets in
// exactly as far as typing it would. Up, Down, Page Up, Page Down and the mouse wheel ask for
// a step instead of moving through the list; Alt+Down still opens the list. Losing the focus
// to another control of the window is reported; to another window (a message box, another
// program) it is not, since the user has not left the box for another control.
class VcoreBox {
public:
    struct Events {
        std::function<bool(int keyAscii)> keyFilter;
        std::function<void(const std::string& text)> textChanged;
        std::function<void()> focusLost;
        std::function<void(bool up)> stepRequested;
    };

    VcoreBox(HWND parent, int id);
    VcoreBox(const VcoreBox&) = delete;
    VcoreBox& operator=(const VcoreBox&) = delete;
    ~VcoreBox();

    HWND handle() const { return combo_; }
    void setEvents(Events events) { events_ = std::move(events); }

    // The window forwards the combo box's notifications here.
    void onNotification(int code);

    void setItems(const std::vector<std::string>& items);
    void setText(const std::string& text);

    // A WM_CHAR character or a WM_KEYDOWN key as the box's input rules name it.
    static app::BoxKey boxKeyOfCharacter(wchar_t character);
    static app::BoxKey boxKeyOfKeyDown(WPARAM virtualKey);

private:
    static LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    void typeThroughFilter(const std::wstring& text);
    void reportText();
    app::FocusMove focusMoveTo(HWND next) const;

    HWND combo_ = nullptr;
    HWND edit_ = nullptr;
    Events events_;
};

}  // namespace clockvane::win32
