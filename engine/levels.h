#pragma once
// The computer levels by the words the settings store keeps for them.

#include <string>

namespace velnora {

// The levels there are: 0 to kLevelCount - 1.
inline constexpr int kLevelCount = 4;
// Computer level from the "Settings\Level" text: "Beginner" 0, "Advanced" 1, "Master" 3,
// anything else 2.
int levelFromString(const std::string& level);
// The word stored for a level: "Beginner", "Advanced", "Expert", "Master".
const char* levelName(int level);

} // namespace velnora
