#include "levels.h"

namespace velnora {

int levelFromString(const std::string& level) {
    if (level == "Beginner") return 0;
    if (level == "Advanced") return 1;
    // A word of its own, added after the others: a copy that does not know it reads the
    // Expert, the fallback below.
    if (level == "Master") return 3;
    // Older or hand-edited stores may hold anything; the strongest level is the fallback.
    return 2;
}

const char* levelName(int level) {
    switch (level) {
    case 0:
        return "Beginner";
    case 1:
        return "Advanced";
    case 3:
        return "Master";
    default:
        return "Expert";
    }
}

} // namespace velnora
