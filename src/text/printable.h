#pragma once

#include <string>
#include <string_view>

namespace clockvane {

// A text made safe to show, in a terminal or in a window: control characters (U+0000-U+001F,
// U+007F and the C1 controls U+0080-U+009F) and every byte that is not part of valid UTF-8
// are written as \xNN; everything else is passed unchanged. File names are bytes, not text: a
// name such as "caf\xE9.rom" from a Latin-1 system must still show which file is meant, and a
// stray 0x9B must not reach a terminal that takes it for the start of a control sequence.
std::string printableText(std::string_view bytes);

}  // namespace clockvane
