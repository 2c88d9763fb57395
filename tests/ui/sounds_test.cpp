// Event sounds, the help rotation, the jukebox and the Sound dialog, on SDL's dummy device.

#include "sound_dialog.h"
#include "sounds.h"
#include "widget_lookup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velnora::ui {
namespace {

using uitest::find;
using uitest::waitUntil;

class SoundsTest : public ::testing::Test {
protected:
    Random random{7};
    MemorySettings settings;
    TSounds sounds{random};
    QTemporaryDir folder;

    QString shipped(const char* name) { return TSounds::soundFolder() + '/' + name; }
    QString addMidi(const QString& name) {
        const QString path = folder.filePath(name);
        QFile::copy(TSounds::musicFolder() + "/ARCADIA.MID", path);
        return path;
    }
    void playJukebox(const QString& dir) {
        sounds.music.musicEnabled = true;
        sounds.music.musicType = 1;
        sounds.music.jukeboxFolder = dir;
        sounds.mpMidiNotify();
    }
};

TEST_F(SoundsTest, StoredListsReplaceDefaultsAndNoneSilencesAnEvent) {
    settings.writeString("Sound\\Deal1", "<none>");
    settings.writeString("Sound\\Exit1", "/x/a.wav");
    settings.writeString("Sound\\Exit2", "b.wav");
    settings.writeString("Sound\\Exit4", "never read past an absent third");
    for (int n = 1; n <= 4; ++n)
        settings.writeString("Sound\\Win Hand" + std::to_string(n), "w" + std::to_string(n));
    sounds.readEventSounds(settings);

    EXPECT_EQ(sounds.eventSounds[0].count, 0);
    EXPECT_EQ(sounds.eventSounds[1].count, 2);
    EXPECT_EQ(sounds.eventSounds[1].files[1], "b.wav");
    EXPECT_EQ(sounds.eventSounds[13].count, 3);
    EXPECT_EQ(sounds.eventSounds[7], defaultEventSounds()[7]);
    EXPECT_EQ(sounds.eventSounds[7].count, 2);

    sounds.playEventSound(SoundEvent::start); // a later deal, not the greeting one
    sounds.mpWav.close();
    sounds.playEventSound(SoundEvent::deal);
    EXPECT_TRUE(sounds.mpWav.fileName().isEmpty());
}

TEST_F(SoundsTest, TheFirstDealAfterStartGreetsAndLaterDealsShuffle) {
    sounds.playEventSound(SoundEvent::deal);
    EXPECT_EQ(sounds.mpWav.fileName(), shipped("welcome.wav"));
    sounds.playEventSound(SoundEvent::deal);
    EXPECT_EQ(sounds.mpWav.fileName(), shipped("shufl.wav"));

    // A resumed game has played "Start" already: its next deal shuffles.
    TSounds resumed(random);
    resumed.playEventSound(SoundEvent::start);
    resumed.playEventSound(SoundEvent::deal);
    EXPECT_EQ(resumed.mpWav.fileName(), shipped("shufl.wav"));
}

TEST_F(SoundsTest, AnEventPlaysEachOfItsFilesAndNothingWhenSoundIsOff) {
    sounds.eventSounds[5] = {3, {"applause.wav", "yeah.wav", shipped("haha.wav")}};
    QStringList heard;
    for (int i = 0; i < 40; ++i) {
        sounds.playEventSound(SoundEvent::highscore);
        if (!heard.contains(sounds.mpWav.fileName())) heard << sounds.mpWav.fileName();
    }
    heard.sort();
    EXPECT_EQ(heard,
              QStringList({shipped("applause.wav"), shipped("haha.wav"), shipped("yeah.wav")}));
    EXPECT_TRUE(sounds.mpWav.playing());

    sounds.mpWav.close();
    sounds.music.soundEnabled = false;
    sounds.playEventSound(SoundEvent::highscore);
    sounds.playAboutSound();
    EXPECT_TRUE(sounds.mpWav.fileName().isEmpty());
}

TEST_F(SoundsTest, AMissingOrBrokenFilePlaysNothingAndRaisesNothing) {
    QFile broken(folder.filePath("broken.wav"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("RIFF not really a wave");
    broken.close();
    sounds.eventSounds[0] = {1, {folder.filePath("gone.wav")}};
    sounds.eventSounds[1] = {1, {broken.fileName()}};
    sounds.eventSounds[10] = {0, {}};
    sounds.playEventSound(SoundEvent::start);
    sounds.playEventSound(SoundEvent::deal);
    EXPECT_FALSE(sounds.mpWav.playing());
    sounds.playEventSound(SoundEvent::exit);
    EXPECT_FALSE(sounds.mpWav.playing());
}

TEST_F(SoundsTest, HelpTopicsRotateFirstSecondThirdFirst) {
    QStringList heard;
    for (int i = 0; i < 4; ++i) {
        sounds.playHelpSound();
        heard << QFileInfo(sounds.mpWav.fileName()).fileName();
    }
    EXPECT_EQ(heard, QStringList({"help.wav", "manuel.wav", "nowwhat.wav", "help.wav"}));
}

TEST_F(SoundsTest, AOneFileJukeboxReplaysItAfterEachEnd) {
    const QString only = addMidi("ONLY.MID");
    playJukebox(folder.path());
    EXPECT_EQ(sounds.mpMidi.fileName(), only);
    EXPECT_TRUE(sounds.mpMidi.playing());
    EXPECT_EQ(sounds.musicPosition, -1);
    // The end of play: the one-entry list is built again and the file plays again.
    sounds.mpMidiNotify();
    EXPECT_EQ(sounds.mpMidi.fileName(), only);
    EXPECT_EQ(sounds.musicPlaylist, QStringList({only}));
}

TEST_F(SoundsTest, TheJukeboxShufflesBySwappingPairsAndSkipsVanishedFiles) {
    // "*.mid" matches in any case; other files stay out.
    QStringList order;
    for (const char* name : {"a.mid", "B.MID", "c.Mid", "d.mid"})
        order << addMidi(name);
    QFile(folder.filePath("notes.txt")).open(QIODevice::WriteOnly);
    Random expected = random;
    for (int i = 0; i < 4; ++i) {
        const int x = expected(4);
        const int y = expected(4);
        order.swapItemsAt(x, y);
    }
    playJukebox(folder.path());
    EXPECT_EQ(sounds.musicPlaylist, order);
    EXPECT_EQ(sounds.mpMidi.fileName(), order[0]);
    QFile::remove(order[1]);
    sounds.mpMidiNotify();
    EXPECT_EQ(sounds.mpMidi.fileName(), order[2]);
    EXPECT_EQ(sounds.musicPosition, 3);
}

TEST_F(SoundsTest, AFolderOfFilesThatAreNoMusicRestsInsteadOfLooping) {
    for (const char* name : {"junk.mid", "empty.mid"}) {
        QFile junk(folder.filePath(name));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(name[0] == 'j' ? "no music here" : "");
    }
    QDir(folder.path()).mkdir("folder.mid");
    playJukebox(folder.path());
    EXPECT_EQ(sounds.musicPlaylist.size(), 2);
    EXPECT_TRUE(waitUntil([&] { return sounds.mpMidi.fileName().isEmpty(); }, 3000));
    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(sounds.mpMidi.fileName().isEmpty());

    playJukebox(folder.filePath("no such folder"));
    EXPECT_FALSE(sounds.mpMidi.playing());
    EXPECT_TRUE(sounds.musicPlaylist.isEmpty());
}

TEST_F(SoundsTest, TurningMusicOffWhilePlayingClosesThePlayerAndANewChoiceStarts) {
    sounds.music.musicEnabled = true;
    sounds.music.musicType = 0; // the default "ARCADIA.MID" from the music folder
    sounds.startMusic();
    ASSERT_TRUE(sounds.mpMidi.playing());
    EXPECT_EQ(sounds.mpMidi.fileName(), TSounds::musicFolder() + "/ARCADIA.MID");

    MusicSettings next = sounds.music;
    next.musicFile = addMidi("other.mid");
    sounds.applyMusicSettings(next);
    EXPECT_FALSE(sounds.mpMidi.playing());
    EXPECT_TRUE(waitUntil([&] { return sounds.mpMidi.fileName() == next.musicFile; }, 2000));

    next.musicEnabled = false;
    sounds.applyMusicSettings(next);
    waitUntil([] { return false; }, 50);
    EXPECT_FALSE(sounds.mpMidi.playing());
    EXPECT_TRUE(sounds.mpMidi.fileName().isEmpty());

    // A single file that does not exist plays nothing.
    next.musicEnabled = true;
    next.musicFile = "missing.mid";
    sounds.applyMusicSettings(next);
    EXPECT_FALSE(sounds.mpMidi.playing());
}

// The Sound dialog

class SoundDialogTest : public SoundsTest {
protected:
    std::unique_ptr<TfmSound> dialog;
    int pickerCalls = 0;
    QString picked;

    void SetUp() override {
        dialog = std::make_unique<TfmSound>(sounds, settings);
        dialog->openFileDialog = [this](const QString&, const QString&, const QString&,
                                        const QString&) {
            ++pickerCalls;
            return picked;
        };
    }
    QListWidget* list(const char* name) { return find<QListWidget>(dialog.get(), name); }
    QPushButton* button(const char* name) { return find<QPushButton>(dialog.get(), name); }
    void key(int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(list("lbAssociated"), &press);
    }
};

TEST_F(SoundDialogTest, ThreeSoundsDisableAddAndInsertDoesNothing) {
    list("lbEvents")->setCurrentRow(7); // "Lose Match": two defaults
    EXPECT_EQ(list("lbAssociated")->count(), 2);
    EXPECT_EQ(list("lbAssociated")->currentRow(), 0);
    picked = "/sounds/third.wav";
    key(Qt::Key_Insert);
    EXPECT_EQ(pickerCalls, 1);
    EXPECT_EQ(sounds.eventSounds[7].count, 3);
    EXPECT_EQ(list("lbAssociated")->currentItem()->text(), picked);
    EXPECT_FALSE(button("bnAdd")->isEnabled());
    key(Qt::Key_Insert);
    EXPECT_EQ(pickerCalls, 1);
    EXPECT_EQ(sounds.eventSounds[7].count, 3);
}

TEST_F(SoundDialogTest, RemovingSelectsTheLastSoundAndEmptyListsDisablePlayAndRemove) {
    sounds.eventSounds[2] = {3, {"a.wav", "b.wav", "c.wav"}};
    list("lbEvents")->setCurrentRow(2);
    list("lbAssociated")->setCurrentRow(0);
    key(Qt::Key_Delete);
    EXPECT_EQ(sounds.eventSounds[2], (SoundEventList{2, {"b.wav", "c.wav", ""}}));
    EXPECT_EQ(list("lbAssociated")->currentRow(), 1);
    EXPECT_TRUE(button("bnAdd")->isEnabled());
    button("bnRemove")->click();
    button("bnRemove")->click();
    EXPECT_EQ(sounds.eventSounds[2].count, 0);
    EXPECT_FALSE(button("bnRemove")->isEnabled());
    EXPECT_FALSE(button("bnPlay")->isEnabled());
    key(Qt::Key_Delete); // nothing to remove: no harm
    button("bnDefault")->click();
    EXPECT_EQ(sounds.eventSounds[2], defaultEventSounds()[2]);
    EXPECT_TRUE(button("bnPlay")->isEnabled());
}

TEST_F(SoundDialogTest, OkStoresEverythingAndCancelKeepsNothing) {
    // An event list shortened in the dialog loses its old later keys.
    settings.writeString("Sound\\Lose Match3", "stale.wav");
    find<QCheckBox>(dialog.get(), "ckMusicEnabled")->setChecked(true);
    find<QRadioButton>(dialog.get(), "rbSingleFile")->setChecked(true);
    list("lbEvents")->setCurrentRow(0);
    button("bnRemove")->click();
    dialog->bnOKClick();

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(settings.readBool("Settings\\Music", false));
    EXPECT_EQ(settings.readInt("Settings\\Music Type", 1), 0);
    EXPECT_EQ(settings.readString("Music\\File", ""), "ARCADIA.MID");
    EXPECT_EQ(settings.readString("Sound\\Deal1", ""), "<none>");
    EXPECT_EQ(settings.readString("Sound\\Lose Match2", ""), "haha.wav");
    EXPECT_FALSE(settings.contains("Sound\\Lose Match3"));

    // A restart reads back what OK stored.
    Random other{1};
    TSounds restarted(other);
    restarted.readSwitches(settings);
    restarted.readEventSounds(settings);
    EXPECT_EQ(restarted.eventSounds, sounds.eventSounds);
    EXPECT_TRUE(restarted.music.musicEnabled);
    EXPECT_EQ(restarted.music.musicType, 0);

    TfmSound again(sounds, settings);
    find<QCheckBox>(&again, "ckSoundEnabled")->setChecked(false);
    find<QListWidget>(&again, "lbEvents")->setCurrentRow(1);
    find<QPushButton>(&again, "bnRemove")->click();
    find<QListWidget>(&again, "lbEvents")->setCurrentRow(2);
    find<QPushButton>(&again, "bnDefault")->click();
    const SoundEventTable beforeCancel = sounds.eventSounds;
    again.reject();
    EXPECT_TRUE(sounds.music.soundEnabled);
    EXPECT_NE(beforeCancel, restarted.eventSounds);
    EXPECT_EQ(sounds.eventSounds, restarted.eventSounds);
    EXPECT_EQ(settings.readString("Sound\\Exit1", ""), "done.wav");
}

TEST_F(SoundDialogTest, AStoredMusicTypeOtherThanZeroIsTheJukeboxEverywhere) {
    settings.writeInt("Settings\\Music Type", 2);
    sounds.readSwitches(settings);
    EXPECT_EQ(sounds.music.musicType, 1);
    TfmSound dialog(sounds, settings);
    EXPECT_TRUE(find<QRadioButton>(&dialog, "rbJukebox")->isChecked());
    sounds.music.musicType = 7; // set by a caller that did not read it through the store
    TfmSound again(sounds, settings);
    EXPECT_TRUE(find<QRadioButton>(&again, "rbJukebox")->isChecked());
}

TEST_F(SoundDialogTest, ChoosingAFileOrFolderPicksItsMusicKind) {
    picked = "/home/Player/Music/Song.MID";
    button("bnSelFile")->click();
    EXPECT_EQ(dialog->chosen().musicFile, picked);
    EXPECT_EQ(dialog->chosen().musicType, 0);
    dialog->openFolderDialog = [](const QString& title, const QString& start) {
        EXPECT_EQ(title, "Select Jukebox folder");
        return start + "/more";
    };
    button("bnSelDir")->click();
    EXPECT_EQ(dialog->chosen().jukeboxFolder, TSounds::musicFolder() + "/more");
    EXPECT_EQ(dialog->chosen().musicType, 1);
}

} // namespace
} // namespace velnora::ui
