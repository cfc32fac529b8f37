#include "files/save_name.h"

namespace clockvane {
namespace {

// A UTF-8 continuation byte (10xxxxxx) never starts a character.
bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0u) != 0x80u; }

}  // namespace

std::string defaultSaveName(std::string_view openedPath)
{
    // The file name starts after the last folder separator; "_mod" never goes before it.
    const std::size_t lastSeparator = openedPath.find_last_of("/\\");
    const std::size_t nameStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;

    // Walk back over four characters of the name; "_mod" goes in front of them.
    constexpr int kKeptCharacters = 4;
    std::size_t split = openedPath.size();
    int characters = 0;
    while (split > nameStart && characters < kKeptCharacters) {
        --split;
        if (startsCharacter(openedPath[split])) ++characters;
    }
    // A name of fewer than four characters has no extension to keep: the suffix goes last.
    if (characters < kKeptCharacters) split = openedPath.size();

    std::string name;
    name.reserve(openedPath.size() + 4);
    name.append(openedPath.substr(0, split));
    name.append("_mod");
    name.append(openedPath.substr(split));
    return name;
}

}  // namespace clockvane
