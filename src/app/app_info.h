#pragma once

#include <string>
#include <string_view>

#include "clockvane_version.h"

namespace clockvane::app {

// The program's name; its version comes from the generated version header.
inline constexpr std::string_view kProgramName = "Orvanta Clockvane";

// "V0.9 Beta", the About window's version line.
inline std::string versionLine()
{
    std::string line = "V";
    line += std::to_string(kVersionMajor);
    line += '.';
    line += std::to_string(kVersionMinor);
    line += " Beta";
    return line;
}

// "Orvanta Clockvane - V0.9 Beta".
inline std::string windowTitle()
{
    std::string title{kProgramName};
    title += " - ";
    title += versionLine();
    return title;
}

// The one per-user setting: the language, stored as "True" (German) or "False".
inline constexpr std::string_view kSettingsApplication = "Orvanta Clockvane";
inline constexpr std::string_view kSettingsSection = "\\";
inline constexpr std::string_view kLanguageSettingKey = "language";

// The maker's home page that the About window's picture opens: the README installed with the
// program, as a path from the program's folder (../share/doc/clockvane/README.md), which the
// shell's "Open" resolves there, as it ran with the program's folder as the working folder.
// So the page is found wherever the program was installed. The build may point it elsewhere
// with the compile definition CLOCKVANE_HOME_PAGE_URL.
#ifdef CLOCKVANE_HOME_PAGE_URL
inline constexpr std::string_view kHomePageUrl = CLOCKVANE_HOME_PAGE_URL;
#else
inline constexpr std::string_view kHomePageUrl = "../share/doc/clockvane/README.md";
#endif

// Both file dialogs offer BIOS images only.
inline constexpr std::string_view kRomFileFilter = "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin";

}  // namespace clockvane::app
