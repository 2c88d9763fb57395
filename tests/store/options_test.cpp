#include "options.h"

#include <gtest/gtest.h>

using namespace velnora;

// Every option comes back as it was saved, and nothing saved keeps its default by accident.
TEST(Options, SavedOptionsLoadBackAndDefaultsFillAnEmptyStore) {
    MemorySettings empty;
    EXPECT_EQ(loadOptions(empty), Options{});

    Options changed;
    changed.backgroundColour = 0x123456;
    changed.doubleClickDiscard = true;
    changed.selectPlayerOnStartup = false;
    changed.meldDelay = 1500;
    changed.autoSave = false;
    changed.showStatusbar = false;
    changed.computerLevel = 1;
    changed.aggression = 80;
    changed.cardMovement = false;
    changed.cardSpeed = 3;
    changed.showHighscores = false;
    changed.showTurns = false;
    changed.chatOnTop = false;
    MemorySettings store;
    saveOptions(store, changed);
    EXPECT_EQ(loadOptions(store), changed);
    EXPECT_EQ(store.readString("Settings\\Level", ""), "Advanced");
    EXPECT_EQ(store.readString("Settings\\Mouse Options", ""), "Double Right Click");
}

TEST(Options, TheLevelIsLeftAloneWhenNotToBeWrittenAndAnyOtherMouseTextMeansTwoClicks) {
    MemorySettings store;
    store.writeString("Settings\\Level", "Beginner");
    store.writeString("Settings\\Mouse options", "whatever");
    Options o = loadOptions(store);
    EXPECT_TRUE(o.doubleClickDiscard);
    o.computerLevel = 2;
    saveOptions(store, o, false);
    EXPECT_EQ(store.readString("Settings\\Level", ""), "Beginner");
}
