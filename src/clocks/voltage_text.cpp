#include "clocks/voltage_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace clockvane {

std::string formatVolts(double volts, char separator)
{
    // Fifteen significant digits and no trailing zeros, as a box shows a number.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", volts);
    std::string text = buffer;
    if (text.find_first_of("eE") != std::string::npos) {
        // Tiny or huge values: plain digits rather than an exponent the box could not read.
        std::snprintf(buffer, sizeof buffer, "%.15f", volts);
        text = buffer;
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
    // strtod reads '.' under the "C" locale the program never changes in the core.
    return std::strtod(number.c_str(), nullptr);
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
    return digit || keyCode == static_cast<unsigned char>(separator) || keyCode == 8;
}

} // namespace clockvane
