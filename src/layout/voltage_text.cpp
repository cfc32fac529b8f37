#include "layout/voltage_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace clockvane {
namespace {

// Number text with '.' as the point. to_chars ignores the process locale: a GUI toolkit may
// switch LC_NUMERIC to the user's, and printf would then write a comma of its own.
std::string numberText(double value, std::chars_format format, int precision)
{
    char buffer[400];  // room for the widest fixed-point double
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return error == std::errc{} ? std::string(buffer, end) : std::string{};
}

}  // namespace

std::string formatVolts(double volts, char separator)
{
    // Fifteen significant digits and no trailing zeros, as a box shows a number.
    std::string text = numberText(volts, std::chars_format::general, 15);
    if (text.find_first_of("eE") != std::string::npos) {
        // Tiny or huge values: plain digits rather than an exponent the box could not read.
        text = numberText(volts, std::chars_format::fixed, 15);
        if (text.find('.') != std::string::npos) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.') text.pop_back();
        }
    }
    for (char& c : text) {
        if (c == '.') c = separator;
    }
    return text;
}

std::string formatMillivolts(int millivolts, char separator)
{
    return formatVolts(static_cast<double>(millivolts) / 1000.0, separator);
}

std::optional<double> parseVolts(std::string_view text, char separator)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    std::string number;
    std::size_t pos = begin;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) number.push_back(text[pos++]);
    bool digits = false;
    bool separatorSeen = false;
    for (; pos < end; ++pos) {
        const char c = text[pos];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number.push_back(c);
            digits = true;
        } else if (c == separator && !separatorSeen) {
            number.push_back('.');
            separatorSeen = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    // from_chars always reads '.', whatever locale the process runs under; strtod would
    // follow LC_NUMERIC and stop at the point under a German locale.
    if (number.front() == '+') number.erase(0, 1);  // from_chars takes no plus sign
    double value = 0.0;
    const auto [parsedEnd, error] =
        std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: a nonzero digit before the point means huge.
        const std::size_t point = number.find('.');
        const bool huge = number.find_first_of("123456789") < point;
        const double magnitude = huge ? HUGE_VAL : 0.0;
        return number.front() == '-' ? -magnitude : magnitude;
    }
    if (error != std::errc{} || parsedEnd != number.data() + number.size()) return std::nullopt;
    return value;
}

std::string validateVcoreText(std::string_view text, char separator)
{
    std::string result{text};
    if (result.empty()) return result;
    auto value = parseVolts(result, separator);
    if (!value) {
        // Not a number: drop the first character (a stray leading separator, say) and
        // check the rest once more.
        result.erase(0, 1);
        value = parseVolts(result, separator);
        if (!value) return result;
    }
    // The shortened text gets both limits too: whatever number a box holds after this is one
    // the card can be given.
    if (*value < kVcoreMinVolts) {
        result = formatVolts(kVcoreMinVolts, separator);
        value = kVcoreMinVolts;
    }
    if (*value > kVcoreMaxVolts) result = formatVolts(kVcoreMaxVolts, separator);
    return result;
}

bool vcoreKeyAccepted(std::string_view currentText, int keyCode, char separator)
{
    const bool digit = keyCode >= '0' && keyCode <= '9';
    if (currentText.empty() && !digit) return false;
    return digit || keyCode == static_cast<unsigned char>(separator) || keyCode == kBackspaceKey;
}

}  // namespace clockvane
