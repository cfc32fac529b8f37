#include "win32/vcore_box.h"

#include <windows.h>

#include <commctrl.h>

#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kListHeight = 200;  // room for the seven presets below the box

std::wstring clipboardText(HWND owner)
{
    std::wstring text;
    if (!::OpenClipboard(owner)) return text;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* characters = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = characters;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

}  // namespace

VcoreBox::VcoreBox(HWND parent, int id)
{
    combo_ = ::CreateWindowExW(0, WC_COMBOBOXW, L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 0, 0,
                               0, kListHeight, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (::GetComboBoxInfo(combo_, &info)) edit_ = info.hwndItem;
    if (edit_) ::SetWindowSubclass(edit_, editProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

VcoreBox::~VcoreBox()
{
    if (edit_) ::RemoveWindowSubclass(edit_, editProc, kSubclassId);
}

app::BoxKey VcoreBox::boxKeyOfCharacter(wchar_t character)
{
    // AltGr is Ctrl+Alt on Windows and types characters ('@' on a German keyboard): a WM_CHAR
    // is typing whatever is held, and a shortcut's control character passes as one.
    app::BoxKey key;
    if (character == L'\b') {
        key.name = app::BoxKey::Name::Backspace;
    } else {
        key.name = app::BoxKey::Name::Character;
        key.character = character;
    }
    return key;
}

app::BoxKey VcoreBox::boxKeyOfKeyDown(WPARAM virtualKey)
{
    using Name = app::BoxKey::Name;
    app::BoxKey key;
    key.commandHeld = ::GetKeyState(VK_MENU) < 0 || ::GetKeyState(VK_CONTROL) < 0;
    switch (virtualKey) {
    case VK_UP: key.name = Name::Up; break;
    case VK_DOWN: key.name = Name::Down; break;
    case VK_PRIOR: key.name = Name::PageUp; break;
    case VK_NEXT: key.name = Name::PageDown; break;
    default: break;
    }
    return key;
}

void VcoreBox::onNotification(int code)
{
    switch (code) {
    case CBN_EDITCHANGE: reportText(); break;
    case CBN_SELCHANGE: {
        // The edit field takes the picked text only after this notification.
        const auto index = ::SendMessageW(combo_, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) break;
        const auto length = ::SendMessageW(combo_, CB_GETLBTEXTLEN, index, 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        ::SendMessageW(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        if (events_.textChanged) events_.textChanged(utf8(text));
        break;
    }
    default: break;
    }
}

void VcoreBox::setItems(const std::vector<std::string>& items)
{
    std::vector<std::wstring> wanted;
    for (const std::string& item : items) wanted.push_back(wide(item));
    const auto count = ::SendMessageW(combo_, CB_GETCOUNT, 0, 0);
    bool same = count == static_cast<LRESULT>(wanted.size());
    for (std::size_t i = 0; same && i < wanted.size(); ++i) {
        wchar_t shown[64] = {};
        if (::SendMessageW(combo_, CB_GETLBTEXTLEN, i, 0) >= 64) {
            same = false;
            break;
        }
        ::SendMessageW(combo_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(shown));
        same = wanted[i] == shown;
    }
    if (same) return;
    const std::wstring text = windowText(combo_);
    ::SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : wanted)
        ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SetWindowTextW(combo_, text.c_str());
}

void VcoreBox::setText(const std::string& text)
{
    // Only a real change is written: rewriting the same text would move the user's cursor.
    const std::wstring wanted = wide(text);
    if (windowText(combo_) != wanted) ::SetWindowTextW(combo_, wanted.c_str());
}

app::FocusMove VcoreBox::focusMoveTo(HWND next) const
{
    // The box's own parts (its list) are a popup of the box; a window outside the main window
    // (a message box, another program) is another window.
    if (next == combo_ || (next && ::IsChild(combo_, next))) return app::FocusMove::ToPopup;
    if (!next || ::GetAncestor(next, GA_ROOT) != ::GetAncestor(combo_, GA_ROOT))
        return app::FocusMove::ToAnotherWindow;
    return app::FocusMove::ToAnotherControl;
}

void VcoreBox::reportText()
{
    if (events_.textChanged) events_.textChanged(utf8(windowText(combo_)));
}

void VcoreBox::typeThroughFilter(const std::wstring& text)
{
    app::typeThroughKeyFilter(
        utf8(text),
        [this](int keyAscii) { return !events_.keyFilter || events_.keyFilter(keyAscii); },
        [this](std::string_view character) {
            const std::wstring typed = wide(character);
            ::SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed.c_str()));
            reportText();
        });
}

LRESULT CALLBACK VcoreBox::editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR self)
{
    auto* box = reinterpret_cast<VcoreBox*>(self);
    switch (message) {
    case WM_CHAR: {
        const int keyAscii = app::keyAsciiOf(boxKeyOfCharacter(static_cast<wchar_t>(wParam)));
        if (keyAscii != 0 && box->events_.keyFilter && !box->events_.keyFilter(keyAscii))
            return 0;  // discarded
        break;
    }
    case WM_PASTE: box->typeThroughFilter(clipboardText(window)); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_INSERT && ::GetKeyState(VK_SHIFT) < 0) {
            box->typeThroughFilter(clipboardText(window));
            return 0;
        }
        if (const auto up = app::stepOf(boxKeyOfKeyDown(wParam))) {
            if (box->events_.stepRequested) box->events_.stepRequested(*up);
            return 0;
        }
        break;
    case WM_MOUSEWHEEL: {
        const auto up = app::stepOfWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        if (up && box->events_.stepRequested) box->events_.stepRequested(*up);
        return 0;
    }
    case WM_KILLFOCUS: {
        const app::FocusMove move = box->focusMoveTo(reinterpret_cast<HWND>(wParam));
        const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
        if (app::leavesTheBox(move) && box->events_.focusLost) box->events_.focusLost();
        return result;
    }
    default: break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace clockvane::win32
