#pragma once

#include <algorithm>
#include <string_view>

namespace clockvane {

// Compares two texts with ASCII letters folded to one case; other bytes (UTF-8 included) must
// match exactly. The editor compares only ASCII words this way (file endings, stored Booleans),
// so the process locale, which std::tolower would follow, plays no part.
constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto fold = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::ranges::equal(a, b, [&](char x, char y) { return fold(x) == fold(y); });
}

constexpr bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() &&
           equalsIgnoringAsciiCase(text.substr(text.size() - ending.size()), ending);
}

}  // namespace clockvane
