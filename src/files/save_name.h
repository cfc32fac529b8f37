#pragma once

#include <string>
#include <string_view>

namespace clockvane {

// The proposed name of the modified copy: "_mod" before the last four characters of the file
// name, taken to be a dot and a three-letter extension (C:\bios\hd3870.rom ->
// C:\bios\hd3870_mod.rom, card.rom2 -> card._modrom2). The insertion point never moves into
// the folder part: a file name of fewer than four characters gets "_mod" at its end
// (dumps/v1 -> dumps/v1_mod). Both '/' and '\' end a folder, since dumps saved under Windows
// carry backslashes. Characters, not bytes, are counted, so a UTF-8 name is never cut inside
// a character.
std::string defaultSaveName(std::string_view openedPath);

}  // namespace clockvane
