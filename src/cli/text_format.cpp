#include "cli/text_format.h"

#include <cstdio>

#include "cli/utf8.h"

namespace clockvane::cli {

std::string mhzText(std::uint32_t raw)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u.%02u", static_cast<unsigned>(raw / 100),
                  static_cast<unsigned>(raw % 100));
    return text;
}

std::string offsetText(std::size_t offset)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%04zX", offset);
    return text;
}

std::string printableText(std::string_view text)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(text, pos, codePoint);
        // A byte outside well-formed UTF-8 is shown as itself unless a terminal could take it
        // for a control: 0x80-0x9F are the C1 controls (CSI 0x9B, OSC 0x9D) in an 8-bit one.
        const std::uint32_t shown = length != 0 ? codePoint : static_cast<std::uint8_t>(text[pos]);
        if (isControl(shown)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(shown));
            out += escaped;
        } else {
            out.append(text.substr(pos, length != 0 ? length : 1));
        }
        pos += length != 0 ? length : 1;
    }
    return out;
}

std::string padLeft(std::string_view text, std::size_t width)
{
    std::string out(width > text.size() ? width - text.size() : 0, ' ');
    return out.append(text);
}

std::string padRight(std::string_view text, std::size_t width)
{
    std::string out{text};
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

}  // namespace clockvane::cli
