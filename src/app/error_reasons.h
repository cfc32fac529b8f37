#pragma once

#include <string>

#include "files/rom_file.h"
#include "files/safe_write.h"
#include "text/ui_language.h"

namespace clockvane::app {

// The reason a file could not be read or written, in the window's language.
std::string fileErrorReason(const FileError& error, UiLanguage language);
std::string writeErrorReason(const WriteError& error, UiLanguage language);

}  // namespace clockvane::app
