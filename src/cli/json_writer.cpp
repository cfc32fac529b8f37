#include "cli/json_writer.h"

#include <cstdio>

#include "text/utf8.h"

namespace clockvane::cli {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

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
    levels_.push_back({});
}

void JsonWriter::endObject() { close('}'); }

void JsonWriter::beginArray()
{
    beforeValue();
    out_ += '[';
    levels_.push_back({});
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
