#include "cli/json_writer.h"

#include <cstdio>

namespace clockvane::cli {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence starting at text[pos] and its code point, or 0
// when the bytes there are not one (stray continuation byte, overlong form, surrogate, cut
// off sequence, or a value beyond U+10FFFF).
std::size_t decodeUtf8(std::string_view text, std::size_t pos, std::uint32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[pos + i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool isControl(std::uint32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace

std::string jsonEscape(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(utf8, pos, codePoint);
        if (length == 0) {
            out += kReplacementCharacter;
            ++pos;
            continue;
        }
        if (isControl(codePoint)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(codePoint));
            out += escaped;
        } else if (codePoint == '"' || codePoint == '\\') {
            out += '\\';
            out += static_cast<char>(codePoint);
        } else {
            out.append(utf8.substr(pos, length));
        }
        pos += length;
    }
    return out;
}

void JsonWriter::newline()
{
    out_ += '\n';
    out_.append(levels_.size() * 2, ' ');
}

void JsonWriter::beforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    if (!levels_.back().empty) out_ += ',';
    levels_.back().empty = false;
    newline();
}

void JsonWriter::close(char bracket)
{
    const bool wasEmpty = levels_.back().empty;
    levels_.pop_back();
    if (!wasEmpty) newline();
    out_ += bracket;
    if (levels_.empty()) out_ += '\n';
}

void JsonWriter::beginObject()
{
    beforeValue();
    out_ += '{';
    levels_.push_back({true});
}

void JsonWriter::endObject() { close('}'); }

void JsonWriter::beginArray()
{
    beforeValue();
    out_ += '[';
    levels_.push_back({false});
}

void JsonWriter::endArray() { close(']'); }

void JsonWriter::key(std::string_view name)
{
    beforeValue();
    out_ += '"';
    out_ += jsonEscape(name);
    out_ += "\": ";
    afterKey_ = true;
}

void JsonWriter::string(std::string_view utf8)
{
    beforeValue();
    out_ += '"';
    out_ += jsonEscape(utf8);
    out_ += '"';
}

void JsonWriter::integer(std::int64_t value)
{
    beforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::number(std::string_view literal)
{
    beforeValue();
    out_ += literal;
}

void JsonWriter::boolean(bool value)
{
    beforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::null()
{
    beforeValue();
    out_ += "null";
}

}  // namespace clockvane::cli
