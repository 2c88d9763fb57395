#pragma once
// The player's options as one value: what the Customize dialog edits, the chat window's place
// on top, and the key names they are stored under (stored settings rely on the names).

#include "settings.h"

namespace velnora {

namespace optionkeys {
inline constexpr const char* kBackgroundColour = "Settings\\Background Color";
inline constexpr const char* kMouseOptions = "Settings\\Mouse options";
inline constexpr const char* kSelectPlayer = "Settings\\Select Player on startup";
inline constexpr const char* kDelay = "Settings\\Delay";
inline constexpr const char* kAutoSave = "Settings\\AutoSave";
inline constexpr const char* kShowStatusbar = "Settings\\Show Statusbar";
inline constexpr const char* kLevel = "Settings\\Level";
inline constexpr const char* kAggression = "Settings\\Aggression";
inline constexpr const char* kCardMovement = "Settings\\Card Movement";
inline constexpr const char* kCardSpeed = "Settings\\Card Speed";
inline constexpr const char* kShowHighscores = "Settings\\Show Highscores";
inline constexpr const char* kShowTurns = "Settings\\Show Turns";
inline constexpr const char* kChatOnTop = "Network\\Chat on Top";
// The window's own place and size, apart from the table size of "Settings\Resolution" that
// older versions read: "left,top,width,height,state" with state 0 normal, 1 maximised, 2 full
// screen.
inline constexpr const char* kWindowGeometry = "Settings\\Window Geometry";
} // namespace optionkeys

// The two texts of "Settings\Mouse options"; any text but the first means two clicks.
inline constexpr const char* kSingleRightClick = "Single Right Click";
inline constexpr const char* kDoubleRightClick = "Double Right Click";

struct Options {
    int backgroundColour = 32768; // stored colour: red in the low byte, then green, then blue
    bool doubleClickDiscard = false;
    bool selectPlayerOnStartup = true;
    int meldDelay = 300; // ms the computer pauses after each card
    bool autoSave = true;
    bool showStatusbar = true;
    int computerLevel = 0; // 0 Beginner, 1 Advanced, 2 Expert, 3 Master
    int aggression = 50;   // 0..100, the Expert's mood
    bool cardMovement = true;
    int cardSpeed = 10;
    bool showHighscores = true;
    bool showTurns = true;
    bool chatOnTop = true;
    bool operator==(const Options&) const = default;
};

// Reads every option, each with its default when it is missing.
Options loadOptions(Settings& settings);
// Writes every option. The level is written only when `withLevel`: it cannot change while a
// network game runs, and the stored word is then left as it was.
void saveOptions(Settings& settings, const Options& options, bool withLevel = true);

} // namespace velnora
