#pragma once

#include "text/ui_language.h"

namespace clockvane::ui {

// Qt's own texts - the buttons of message boxes and dialogs, the file dialogs - in the
// program's language, which the user picks in the menu whatever the desktop's language is.
// German comes from Qt's catalogue (Debian's qt6-translations-l10n) in Qt's translations
// folder; English is Qt's built-in text. The catalogue is global to the program, like the
// language: switching installs or removes it, and a window made afterwards speaks the new
// language. Returns false when the German catalogue cannot be found (Qt's texts stay English).
bool useQtTexts(UiLanguage language);

// Whether Qt's texts are in another language than the desktop's: then a file dialog of the
// desktop would not match the program, and Qt's own dialog is used instead.
bool qtTextsDifferFromDesktop();

}  // namespace clockvane::ui
