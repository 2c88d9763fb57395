#include "utf8_text.h"

namespace velnora {

namespace {

// A continuation byte never starts a character, so a cut may fall anywhere but before one.
bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string firstCharacters(std::string_view utf8, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (continuesCharacter(utf8[i])) continue;
        if (characters == maxCharacters) return std::string(utf8.substr(0, i));
        ++characters;
    }
    return std::string(utf8);
}

std::string firstWholeBytes(std::string_view utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) return std::string(utf8);
    std::size_t end = maxBytes;
    while (end > 0 && continuesCharacter(utf8[end]))
        --end;
    return std::string(utf8.substr(0, end));
}

} // namespace velnora
