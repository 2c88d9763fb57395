#include "sounds.h"

#include "data_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

namespace velnora::ui {

namespace {

// Stored names are short strings of at most this many characters.
constexpr int kMaxNameLength = 255;
// A "piece" that ends sooner than this after it started is taken for a file that is no music.
constexpr int kQuickEndMs = 1000;

const char* const kEventNames[kSoundEventCount] = {
    "Deal",      "Exit",           "Help (1st)", "Help (2nd)",    "Help (3rd)",
    "Highscore", "Lose Hand",      "Lose Match", "Mixed Velnora", "Natural Velnora",
    "Start",     "Take Huge Pile", "Win Match",  "Win Hand",      "End Turn (network games)",
};

SoundEventList listOf(std::initializer_list<const char*> files) {
    SoundEventList list;
    for (const char* f : files)
        list.files[std::size_t(list.count++)] = QString::fromLatin1(f);
    return list;
}

// A name without a folder is one of the program's own files.
QString inFolder(const QString& name, const QString& folder) {
    return name.contains('/') ? name : folder + '/' + name;
}

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

std::string key(int event, int n) {
    return "Sound\\" + soundEventName(event).toStdString() + std::to_string(n);
}

} // namespace

QString soundEventName(int event) {
    if (event < 0 || event >= kSoundEventCount) return {};
    return QString::fromLatin1(kEventNames[event]);
}

const SoundEventTable& defaultEventSounds() {
    static const SoundEventTable table = {
        listOf({"shufl.wav"}),    listOf({"done.wav"}),
        listOf({"help.wav"}),     listOf({"manuel.wav"}),
        listOf({"nowwhat.wav"}),  listOf({"exelnt.wav"}),
        listOf({"toobad.wav"}),   listOf({"toobad.wav", "haha.wav"}),
        listOf({"mixed.wav"}),    listOf({"natural.wav"}),
        listOf({"welcome.wav"}),  listOf({"yeah.wav"}),
        listOf({"wonderfl.wav"}), listOf({"applause.wav"}),
        listOf({"yourturn.wav"}),
    };
    return table;
}

TSounds::TSounds(Random& random, QObject* parent) : QObject(parent), random_(random) {
    music.jukeboxFolder = musicFolder();
    eventSounds = defaultEventSounds();
    connect(&mpMidi, &TMidiPlayer::notify, this, &TSounds::pieceEnded);
}

TSounds::~TSounds() = default;

QString TSounds::soundFolder() {
    return QString::fromStdString(readOnlyDataFolder()) + QStringLiteral("/sounds");
}

QString TSounds::musicFolder() {
    return QString::fromStdString(readOnlyDataFolder()) + QStringLiteral("/music");
}

// Settings

void TSounds::readSwitches(Settings& s) {
    music.soundEnabled = s.readBool("Settings\\Sound", true);
    music.musicEnabled = s.readBool("Settings\\Music", false);
    // Only 0 means the single file; any other stored number plays the jukebox, and the dialog
    // must show what plays.
    music.musicType = s.readInt("Settings\\Music Type", 1) == 0 ? 0 : 1;
    music.musicFile =
        QString::fromStdString(s.readString("Music\\File", "ARCADIA.MID")).left(kMaxNameLength);
    music.jukeboxFolder =
        QString::fromStdString(s.readString("Music\\Dir", musicFolder().toStdString()))
            .left(kMaxNameLength);
}

void TSounds::readEventSounds(Settings& s) {
    for (int e = 0; e < kSoundEventCount; ++e) {
        SoundEventList& list = eventSounds[std::size_t(e)];
        const QString first = QString::fromStdString(s.readString(key(e, 1), ""));
        if (first.isEmpty()) {
            list = defaultEventSounds()[std::size_t(e)];
            continue;
        }
        list = {};
        if (first == kNoSound) continue;
        list.files[0] = first.left(kMaxNameLength);
        list.count = 1;
        while (list.count < kMaxEventSounds) {
            const QString next = QString::fromStdString(s.readString(key(e, list.count + 1), ""));
            if (next.isEmpty()) break;
            list.files[std::size_t(list.count++)] = next.left(kMaxNameLength);
        }
    }
}

void writeSoundSettings(Settings& s, const MusicSettings& m, const SoundEventTable& events) {
    s.writeBool("Settings\\Sound", m.soundEnabled);
    s.writeBool("Settings\\Music", m.musicEnabled);
    s.writeInt("Settings\\Music Type", m.musicType == 0 ? 0 : 1);
    s.writeString("Music\\File", m.musicFile.left(kMaxNameLength).toStdString());
    s.writeString("Music\\Dir", m.jukeboxFolder.left(kMaxNameLength).toStdString());
    // Lists that shrank must not leave their old later files behind.
    s.deleteKey("Sound");
    for (int e = 0; e < kSoundEventCount; ++e) {
        const SoundEventList& list = events[std::size_t(e)];
        if (list.count <= 0) s.writeString(key(e, 1), kNoSound);
        for (int n = 0; n < list.count && n < kMaxEventSounds; ++n)
            s.writeString(key(e, n + 1), list.files[std::size_t(n)].toStdString());
    }
}

void TSounds::applyMusicSettings(const MusicSettings& chosen) {
    music = chosen;
    musicPosition = -1;
    quickEnds_ = 0;
    // Closing a playing piece raises its end of play, which starts the new choice.
    if (mpMidi.playing())
        mpMidi.close(true);
    else
        mpMidiNotify();
}

// Playing

void TSounds::playEventSound(SoundEvent event) {
    // Play begins after start-up with the "Start" sound: the first hand dealt after the program
    // starts is greeted rather than shuffled (a resumed game has already played "Start").
    if (event == SoundEvent::deal && !playBegun_) event = SoundEvent::start;
    if (event == SoundEvent::deal || event == SoundEvent::start) playBegun_ = true;
    const int e = static_cast<int>(event);
    if (!music.soundEnabled || e < 0 || e >= kSoundEventCount) return;
    const SoundEventList& list = eventSounds[std::size_t(e)];
    const int count = std::min(list.count, kMaxEventSounds);
    if (count <= 0) return;
    const QString& file = list.files[std::size_t(random_(count))];
    mpWav.play(inFolder(file, soundFolder()));
}

void TSounds::playHelpSound() {
    static constexpr SoundEvent rotation[] = {SoundEvent::help3, SoundEvent::help1,
                                              SoundEvent::help2};
    const SoundEvent event = rotation[helpCounter % 3];
    ++helpCounter;
    playEventSound(event);
}

void TSounds::playAboutSound() {
    if (music.soundEnabled) mpWav.play(soundFolder() + QStringLiteral("/about.wav"));
}

void TSounds::playFile(const QString& fileName) {
    mpWav.play(inFolder(fileName, soundFolder()));
}

void TSounds::startMusic() {
    mpMidiNotify();
}

void TSounds::stopMusic() {
    music.musicEnabled = false;
    mpMidi.close();
}

void TSounds::waitForSound(int maxMs) {
    QElapsedTimer clock;
    clock.start();
    while (music.soundEnabled && mpWav.playing() && clock.elapsed() < maxMs) {
        QEventLoop wait;
        QTimer::singleShot(10, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

// Music

void TSounds::buildPlaylist() {
    musicPlaylist.clear();
    const QString folder = music.jukeboxFolder.isEmpty() ? musicFolder() : music.jukeboxFolder;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.mid")}, QDir::Files | QDir::Hidden | QDir::System,
                               QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        musicPlaylist << folder + '/' + name;
    if (musicPlaylist.isEmpty()) return;
    musicPosition = 0;
    // As many swaps as entries, of two positions drawn independently (possibly the same).
    const int n = int(musicPlaylist.size());
    for (int i = 0; i < n; ++i) {
        const int a = random_(n);
        const int b = random_(n);
        musicPlaylist.swapItemsAt(a, b);
    }
}

void TSounds::pieceEnded() {
    // The mixer "plays" a file that is no MIDI at all by ending it at once. Such ends one after
    // another for a whole round of the list would reload files forever: the music rests
    // instead, until the choice of music changes.
    if (pieceClock_.isValid() && pieceClock_.elapsed() < kQuickEndMs) {
        if (++quickEnds_ > int(musicPlaylist.size()) + 1) {
            mpMidi.close();
            return;
        }
    } else {
        quickEnds_ = 0;
    }
    mpMidiNotify();
}

void TSounds::mpMidiNotify() {
    if (!music.musicEnabled) {
        mpMidi.close();
        return;
    }
    if (music.musicType == 0) {
        const QString file = inFolder(music.musicFile, musicFolder());
        mpMidi.close();
        if (isFile(file) && mpMidi.play(file)) pieceClock_.start();
        return;
    }
    // A file that vanished or does not play moves on to the next. The list is rebuilt at most
    // twice per call, so a folder of unplayable entries ends the music instead of looping.
    int rebuilds = 0;
    for (;;) {
        if (musicPosition < 0 || musicPosition >= musicPlaylist.size()) {
            if (rebuilds++ == 2) break;
            musicPosition = -1;
            buildPlaylist();
        }
        if (musicPlaylist.isEmpty()) break;
        auto take = [this] {
            const QString entry = musicPlaylist[musicPosition++];
            if (musicPosition >= musicPlaylist.size()) musicPosition = -1;
            return entry;
        };
        QString file = take();
        while (musicPosition != -1 && !isFile(file))
            file = take();
        mpMidi.close();
        if (isFile(file) && mpMidi.play(file)) {
            pieceClock_.start();
            return;
        }
    }
    mpMidi.close();
}

} // namespace velnora::ui
