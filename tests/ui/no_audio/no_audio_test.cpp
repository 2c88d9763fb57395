// A machine without an audio device: the game plays on in silence, and nothing fails or waits.

#include "main_window.h"
#include "media_players.h"
#include "sound_dialog.h"
#include "sounds.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdlib>

namespace velnora::ui {
namespace {

TEST(NoAudioDevice, SoundsAndMusicAreSilentNoOps) {
    QStandardPaths::setTestModeEnabled(true);
    MemorySettings settings;
    settings.writeInt("Settings\\AutoSave", 0);
    settings.writeInt("Settings\\Card Movement", 0);
    settings.writeBool("Settings\\Music", true);
    auto window = std::make_unique<TfmVelMain>(&settings);
    QApplication::processEvents(); // the music's queued start
    window->tmSplashTimer();
    TSounds& sounds = window->sounds();
    EXPECT_FALSE(audioDeviceOpen());
    EXPECT_TRUE(audioDeviceSilent());
    EXPECT_TRUE(sounds.music.musicEnabled);
    EXPECT_TRUE(sounds.mpMidi.fileName().isEmpty());

    for (int e = 0; e < kSoundEventCount; ++e)
        window->playSound(static_cast<SoundEvent>(e));
    window->playHelpTopicsSound();
    sounds.playAboutSound();
    EXPECT_FALSE(sounds.mpWav.playing());

    TfmSound dialog(sounds, settings);
    MusicSettings jukebox = dialog.chosen();
    jukebox.musicType = 1;
    sounds.applyMusicSettings(jukebox);
    EXPECT_FALSE(sounds.mpMidi.playing());
    EXPECT_EQ(sounds.musicPlaylist.size(), 4);
    window.reset();
}

} // namespace
} // namespace velnora::ui

int main(int argc, char** argv) {
    // A driver that does not exist stands for a machine without a sound card.
    setenv("SDL_AUDIODRIVER", "velnora-no-device", 1);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing is drawn on a display; one named in the environment, even one that is gone,
    // only makes the D-Bus library try to start a session bus through it (and leak).
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
