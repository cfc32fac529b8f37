#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace clockvane {

// The seven presets every VCore box offers, in millivolts; the first and last are the limits.
inline constexpr std::array<int, 7> kVcorePresetsMv{900, 974, 1020, 1125, 1220, 1274, 1327};
inline constexpr double kVcoreMinVolts = 0.9;
inline constexpr double kVcoreMaxVolts = 1.327;

// A voltage as the box shows it: up to 15 significant digits, no trailing zeros, with the
// caller's decimal separator (the core knows no locale). 1.2 V -> "1,2" under a comma.
std::string formatVolts(double volts, char separator);
std::string formatMillivolts(int millivolts, char separator);

// Reads a box text as volts with the given separator: optional blanks around, an optional
// sign, digits with at most one separator and at least one digit. Nothing for anything else.
std::optional<double> parseVolts(std::string_view text, char separator);

// The box validation when it loses the focus: empty stays empty; below 0.9 becomes 0.9,
// above 1.327 becomes 1.327; a text that is no number loses its first character first.
std::string validateVcoreText(std::string_view text, char separator);

// The key filter of a box. Key codes are character codes.
inline constexpr int kBackspaceKey = 8;
bool vcoreKeyAccepted(std::string_view currentText, int keyCode, char separator);

}  // namespace clockvane
