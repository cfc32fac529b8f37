#include <gtest/gtest.h>

#include "cli/json_writer.h"

namespace clockvane::cli {
namespace {

struct EscapeCase {
    std::string in;
    std::string out;
};

// GoogleTest prints parameters through a function of exactly this name.
// NOLINTNEXTLINE(readability-identifier-naming)
void PrintTo(const EscapeCase& testCase, std::ostream* out)
{
    *out << ::testing::PrintToString(testCase.in);
}

class JsonEscape : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonEscape, GivesValidUtf8WithControlsEscaped)
{
    EXPECT_EQ(jsonEscape(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonEscape,
    ::testing::Values(
        EscapeCase{"plain 1.2", "plain 1.2"}, EscapeCase{"a\"b\\c", "a\\\"b\\\\c"},
        EscapeCase{std::string("\0\n\r\x1F\x7F", 5), "\\u0000\\u000A\\u000D\\u001F\\u007F"},
        EscapeCase{"\xC2\x80\xC2\x9F\xC2\xA0", "\\u0080\\u009F\xC2\xA0"},  // C1 controls, NBSP kept
        EscapeCase{"X\xC2\xB2 \xE2\x82\xAC \xF0\x9F\x98\x80",
                   "X\xC2\xB2 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        EscapeCase{"\xE9t\xE9", "\xEF\xBF\xBDt\xEF\xBF\xBD"},  // raw Latin-1 bytes
        EscapeCase{"\xC0\xAF\xED\xA0\x80\xE2\x82",
                   "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
                   "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}));

TEST(JsonWriter, NestsWithCommasAndIndentation)
{
    JsonWriter json;
    json.beginObject();
    json.key("a");
    json.beginArray();
    json.integer(-1);
    json.number("775.00");
    json.endArray();
    json.key("empty");
    json.beginObject();
    json.endObject();
    json.key("n");
    json.null();
    json.key("t");
    json.boolean(true);
    json.endObject();
    EXPECT_EQ(json.text(), "{\n  \"a\": [\n    -1,\n    775.00\n  ],\n  \"empty\": {},\n  \"n\": "
                           "null,\n  \"t\": true\n}\n");
}

}  // namespace
}  // namespace clockvane::cli
