#pragma once
// Cutting UTF-8 text to a length without splitting a character: the program's names and dates
// are UTF-8, and a cut in the middle of a character would leave a broken byte at the end that
// every later reader shows as a replacement sign.

#include <cstddef>
#include <string>
#include <string_view>

namespace velnora {

// The first maxCharacters characters (code points) of the text.
std::string firstCharacters(std::string_view utf8, std::size_t maxCharacters);

// The longest start of the text that is at most maxBytes long and ends on a whole character.
std::string firstWholeBytes(std::string_view utf8, std::size_t maxBytes);

} // namespace velnora
