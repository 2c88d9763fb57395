#include "options.h"

#include "levels.h"

namespace velnora {

using namespace optionkeys;

Options loadOptions(Settings& s) {
    Options o;
    o.backgroundColour = s.readInt(kBackgroundColour, o.backgroundColour);
    o.doubleClickDiscard = s.readString(kMouseOptions, kSingleRightClick) != kSingleRightClick;
    o.selectPlayerOnStartup = s.readBool(kSelectPlayer, o.selectPlayerOnStartup);
    o.meldDelay = s.readInt(kDelay, o.meldDelay);
    o.autoSave = s.readBool(kAutoSave, o.autoSave);
    o.showStatusbar = s.readBool(kShowStatusbar, o.showStatusbar);
    o.computerLevel = levelFromString(s.readString(kLevel, levelName(0)));
    o.aggression = s.readInt(kAggression, o.aggression);
    o.cardMovement = s.readBool(kCardMovement, o.cardMovement);
    o.cardSpeed = s.readInt(kCardSpeed, o.cardSpeed);
    o.showHighscores = s.readBool(kShowHighscores, o.showHighscores);
    o.showTurns = s.readBool(kShowTurns, o.showTurns);
    o.chatOnTop = s.readBool(kChatOnTop, o.chatOnTop);
    return o;
}

void saveOptions(Settings& s, const Options& o, bool withLevel) {
    s.writeInt(kBackgroundColour, o.backgroundColour);
    s.writeString(kMouseOptions, o.doubleClickDiscard ? kDoubleRightClick : kSingleRightClick);
    s.writeBool(kSelectPlayer, o.selectPlayerOnStartup);
    s.writeInt(kDelay, o.meldDelay);
    s.writeBool(kAutoSave, o.autoSave);
    s.writeBool(kShowStatusbar, o.showStatusbar);
    if (withLevel) s.writeString(kLevel, levelName(o.computerLevel));
    s.writeInt(kAggression, o.aggression);
    s.writeBool(kCardMovement, o.cardMovement);
    s.writeInt(kCardSpeed, o.cardSpeed);
    s.writeBool(kShowHighscores, o.showHighscores);
    s.writeBool(kShowTurns, o.showTurns);
    s.writeBool(kChatOnTop, o.chatOnTop);
}

} // namespace velnora
