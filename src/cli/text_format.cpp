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
