#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace clockvane::cli {

// Escapes a text for a JSON string (without the quotes). Control characters (U+0000-U+001F
// and U+007F-U+009F) become \u00XX, quote and backslash are escaped, and every byte that is
// not part of a well-formed UTF-8 sequence becomes U+FFFD, so the output is always valid
// UTF-8 whatever the input held.
std::string jsonEscape(std::string_view utf8);

// A small pretty-printing JSON writer: two spaces per level, one member or element a line.
// The caller keeps the nesting balanced; keys are written only inside objects.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    void key(std::string_view name);
    void string(std::string_view utf8);
    void integer(std::int64_t value);
    void number(std::string_view literal);  // a number already written as JSON, e.g. "775.00"
    void boolean(bool value);
    void null();

    // The document, ending with a line feed once the outermost value is closed.
    const std::string& text() const { return out_; }

private:
    // An open object or array; a comma goes before every member but its first.
    struct Level {
        bool empty = true;
    };

    void beforeValue();
    void close(char bracket);
    void newline();

    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

}  // namespace clockvane::cli
