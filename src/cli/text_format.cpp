#include "cli/text_format.h"

#include <cstdio>

namespace clockvane::cli {

std::string mhzText(std::uint32_t raw) { return clockFieldMhzText(raw, '.'); }

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
