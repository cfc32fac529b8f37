#include "text/printable.h"

#include <cstdint>
#include <cstdio>

#include "text/utf8.h"

namespace clockvane {
namespace {

void appendEscaped(std::string& out, unsigned value)
{
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", value);
    out += escaped;
}

}  // namespace

std::string printableText(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(bytes, pos, codePoint);
        if (length == 0) {
            appendEscaped(out, static_cast<std::uint8_t>(bytes[pos]));  // not UTF-8: the byte
            ++pos;
            continue;
        }
        // A control is shown by its code point: U+0080-U+009F, written C2 80 .. C2 9F, as 80..9F.
        if (isControl(codePoint))
            appendEscaped(out, codePoint);
        else
            out.append(bytes.substr(pos, length));
        pos += length;
    }
    return out;
}

}  // namespace clockvane
