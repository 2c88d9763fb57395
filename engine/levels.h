#pragma once
// The computer levels by the words the settings store keeps for them.

#include <string>

namespace velnora {

// Computer level from the "Settings\Level" text: "Beginner" 0, "Advanced" 1, anything else 2.
int levelFromString(const std::string& level);
// The word stored for a level: "Beginner", "Advanced", "Expert".
const char* levelName(int level);

} // namespace velnora
