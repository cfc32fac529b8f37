#pragma once

#include <string>

#include "bytes/bytes.h"

namespace clockvane {

// Texts inside an image are single-byte characters. Each byte becomes the code point of the
// same value (ISO 8859-1), written as UTF-8, so no byte is changed or dropped on the way to
// the screen; a zero byte stays a U+0000 character.
std::string latin1ToUtf8(ByteView bytes);

}  // namespace clockvane
