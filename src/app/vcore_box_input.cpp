#include "app/vcore_box_input.h"

#include "layout/voltage_text.h"
#include "text/utf8.h"

namespace clockvane::app {

int keyAsciiOf(const BoxKey& key)
{
    if (key.commandHeld) return 0;
    switch (key.name) {
    case BoxKey::Name::Backspace: return kBackspaceKey;
    case BoxKey::Name::Character: return isControl(key.character) ? 0 : int(key.character);
    default: return 0;
    }
}

std::optional<bool> stepOf(const BoxKey& key)
{
    if (key.commandHeld) return std::nullopt;
    switch (key.name) {
    case BoxKey::Name::Up:
    case BoxKey::Name::PageUp: return true;
    case BoxKey::Name::Down:
    case BoxKey::Name::PageDown: return false;
    default: return std::nullopt;
    }
}

std::optional<bool> stepOfWheel(int delta)
{
    if (delta == 0) return std::nullopt;
    return delta > 0;
}

void typeThroughKeyFilter(std::string_view utf8, const std::function<bool(int keyAscii)>& admits,
                          const std::function<void(std::string_view character)>& type)
{
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::uint32_t codePoint = 0;
        std::size_t length = decodeUtf8(utf8, pos, codePoint);
        const bool typable = length != 0 && !isControl(codePoint);
        if (length == 0) length = 1;  // a byte that is no character is no key either
        if (typable && admits(int(codePoint))) type(utf8.substr(pos, length));
        pos += length;
    }
}

}  // namespace clockvane::app
