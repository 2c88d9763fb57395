#pragma once
// The saved-game file: a text file of thirteen lines holding every card list with positions,
// the three velnora tallies and the scalar fields of the hand and match. Card identities are
// scrambled with a fresh key per list so the stock cannot be read in a text editor. Standard
// library only, so the loader can be fuzzed.

#include "game_state.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace velnora::savegame {

inline constexpr std::string_view kMagic = "VelnoraSavedGame";
inline constexpr int kFormatVersion = 415;
inline constexpr const char* kAutosaveName = "autosave.vel";
// No real save comes near this: nine full lists of nine values each, with positions.
inline constexpr std::size_t kMaxFileSize = 256 * 1024;

// The key of one list: |round(tick * u)| mod 1000 with u uniform in [0, 1).
int saveKeyFrom(std::uint64_t tickMilliseconds, double uniform);

// Writes the whole file; nextKey is asked once per card list for a key 0..999.
std::string encode(const GameState& g, int sizeIndex, const std::function<int()>& nextKey);

enum class LoadError {
    none,
    notSavedGame, // the first 16 characters are not the magic
    version,      // a version other than 415
    corrupt,      // anything else: truncated, out of range, not a full deck, too large
};

struct LoadResult {
    LoadError error = LoadError::corrupt;
    int version = 0;
    int sizeIndex = 0;
    GameState state;
    std::string detail; // what was wrong, for logs and tests
};

// Reads a file into a scratch copy of `current` (fields the file does not hold keep their
// values) and validates all of it; the caller replaces its game only when error is none.
LoadResult decode(std::string_view text, const GameState& current);

// A player name turned into a file name that cannot leave its folder: drops the characters
// " * : < > ? \ and also "/" and control characters, stops at 250 characters (and at 250
// bytes, never inside a character), adds ".vel".
inline constexpr std::size_t kMaxGameFileNameLength = 250;
std::string makeGameFileName(std::string_view text);

// The scrambled pair (K div (code + 1), K mod (code + 1)) of a face or rank code for K = key + 399,
// and its inverse, which refuses any pair that does not scramble back to itself.
std::pair<int, int> scramble(int k, int code);
bool unscramble(int k, int q, int r, int maxCodePlusOne, int& code);

// Whether the text begins with the magic (the check made before a file is loaded).
bool hasMagic(std::string_view text);

} // namespace velnora::savegame
