#include "text/number_text.h"

#include <cstdio>

namespace clockvane {

std::string clockFieldMhzText(std::uint32_t raw, char separator)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u%c%02u", static_cast<unsigned>(raw / 100), separator,
                  static_cast<unsigned>(raw % 100));
    return text;
}

std::string offsetText(std::size_t offset)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%04zX", offset);
    return text;
}

}  // namespace clockvane
