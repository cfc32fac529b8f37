#include "text/line_breaks.h"

namespace clockvane::texts {

std::string withLineBreaks(std::string_view text, LineBreak lineBreak)
{
    const std::string_view newLine = lineBreak == LineBreak::LineFeed ? "\n" : "\r\n";
    std::string converted;
    converted.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            converted += text[i];
            continue;
        }
        // CR LF is one break, not two.
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        converted += newLine;
    }
    return converted;
}

}  // namespace clockvane::texts
