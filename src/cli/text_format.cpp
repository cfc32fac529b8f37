#include "cli/text_format.h"

#include <cstdio>

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

std::string printableText(std::string_view utf8)
{
    std::string out;
    const auto escape = [&out](unsigned value) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", value);
        out += escaped;
    };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            escape(byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
            // U+0080-U+009F, the C1 controls, are written as C2 80 .. C2 9F.
            escape(static_cast<unsigned char>(utf8[++i]));
        } else {
            out += utf8[i];
        }
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
