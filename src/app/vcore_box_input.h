#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace clockvane::app {

// The input rules of a VCore box, the same in every front-end: which keys the key filter
// (MainController::CmbVCore_KeyPress) is asked about, which keys step through the presets
// (MainController::CmbVCore_Step), how pasted and dropped text gets in, and which focus changes
// leave the box (MainController::CmbVCore_LostFocus).

// A key pressed in a box, as far as the box cares.
struct BoxKey {
    enum class Name { Character, Backspace, Up, Down, PageUp, PageDown, Other };
    Name name = Name::Other;
    std::uint32_t character = 0;  // for Character: the code point it types
    bool commandHeld = false;     // Ctrl, Alt or Meta: a shortcut, never typing
};

// The code the key filter is asked about: the character's, 8 for Backspace, or 0 for a key that
// is not typing (navigation, Delete, shortcuts) and passes without asking.
int keyAsciiOf(const BoxKey& key);

// Up and Page Up step up (true), Down and Page Down step down; nothing for other keys. The list
// keeps no position to step from: a typed text has none, and the first Down would jump to the
// lowest preset.
std::optional<bool> stepOf(const BoxKey& key);
// The mouse wheel steps too: turned away from the user (a positive delta) is up.
std::optional<bool> stepOfWheel(int delta);

// Pasted or dropped text is typed through the key filter one character at a time, so it gets
// in exactly as far as typing it would: each character is offered to `admits` and, if
// admitted, given to `type` before the next is offered (the filter looks at the text so far).
// A line break, a tab or any other control character is no key of the box and is skipped.
void typeThroughKeyFilter(std::string_view utf8, const std::function<bool(int keyAscii)>& admits,
                          const std::function<void(std::string_view character)>& type);

// Where the focus went when a box lost it. Only another control of the window leaves the box:
// its own list or a menu popping up, or another window, does not.
enum class FocusMove { ToAnotherControl, ToPopup, ToMenu, ToAnotherWindow };
constexpr bool leavesTheBox(FocusMove move) { return move == FocusMove::ToAnotherControl; }

}  // namespace clockvane::app
