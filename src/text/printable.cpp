#include "text/printable.h"

#include <cstdint>
#include <cstdio>

namespace clockvane {
namespace {

bool isContinuation(std::uint8_t byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when its first byte
// does not start one. Overlong forms, surrogates and code points past U+10FFFF are invalid;
// the lead byte bounds the second byte's range.
std::size_t sequenceLength(std::string_view text)
{
    const auto at = [&text](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // below: overlong
        if (lead == 0xED) high = 0x9F;  // above: surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // below: overlong
        if (lead == 0xF4) high = 0x8F;  // above: past U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i))) return 0;
    }
    return length;
}

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
    while (!bytes.empty()) {
        const auto first = static_cast<std::uint8_t>(bytes.front());
        const std::size_t length = sequenceLength(bytes);
        if (length == 0) {
            appendEscaped(out, first);  // not UTF-8: the byte itself
            bytes.remove_prefix(1);
            continue;
        }
        if (first < 0x20 || first == 0x7F) {
            appendEscaped(out, first);
        } else if (first == 0xC2 && static_cast<std::uint8_t>(bytes[1]) <= 0x9F) {
            // U+0080-U+009F, the C1 controls, are written C2 80 .. C2 9F.
            appendEscaped(out, static_cast<std::uint8_t>(bytes[1]));
        } else {
            out.append(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    return out;
}

}  // namespace clockvane
