#pragma once
// The game's sounds and music: the fifteen event sound lists with their defaults and settings
// keys, playing an event, the help-topics rotation, the About and Exit sounds, and the music
// player's end-of-play handler (one file over and over, or a shuffled jukebox folder).
//
// Use (the main window owns one):
//     TSounds sounds(random, this);
//     sounds.readSwitches(settings); sounds.readEventSounds(settings); sounds.startMusic();
//     sounds.playEventSound(SoundEvent::deal);

#include "host.h"
#include "media_players.h"
#include "random.h"
#include "settings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace velnora::ui {

constexpr int kSoundEventCount = 15;
constexpr int kMaxEventSounds = 3;
// The first key's value of an event the user has silenced.
inline constexpr const char* kNoSound = "<none>";

// The sounds of one event: count 0..3 followed by the file names.
struct SoundEventList {
    int count = 0;
    std::array<QString, kMaxEventSounds> files;
    bool operator==(const SoundEventList&) const = default;
};
using SoundEventTable = std::array<SoundEventList, kSoundEventCount>;

// The event's name as the dialog lists it and the settings keys use it ("Deal", ...).
QString soundEventName(int event);
// The fixed defaults: the files shipped with the program.
const SoundEventTable& defaultEventSounds();

// The sound and music switches the Sound dialog edits as one.
struct MusicSettings {
    bool soundEnabled = true;
    bool musicEnabled = false;
    int musicType = 1; // 0 single music file, 1 jukebox folder
    QString musicFile = QStringLiteral("ARCADIA.MID");
    QString jukeboxFolder;
};

// Stores the switches and every event's list ("<none>" under the first key of a silent event)
// in place of the whole "Sound" key.
void writeSoundSettings(Settings& settings, const MusicSettings& music,
                        const SoundEventTable& events);

class TSounds : public QObject {
    Q_OBJECT
public:
    TSounds(Random& random, QObject* parent = nullptr);
    ~TSounds() override;

    // Where bare file names are looked up: the program's sound and music folders.
    static QString soundFolder();
    static QString musicFolder();

    // Start-up and the Sound dialog's OK
    void readSwitches(Settings& settings);
    void readEventSounds(Settings& settings);
    // Takes over the dialog's switches; music that is playing is closed and its end-of-play
    // starts the new choice, otherwise the new choice starts at once.
    void applyMusicSettings(const MusicSettings& chosen);

    // Playing
    // One of the event's files at random; nothing when sounds are off or the event is silent.
    void playEventSound(SoundEvent event);
    // "Help (1st)", "Help (2nd)", "Help (3rd)" in turn, starting with the first.
    void playHelpSound();
    void playAboutSound();
    // Plays a file through mpWav, a bare name from the sound folder (the dialog's "&Play").
    void playFile(const QString& fileName);
    // Music at start-up: through the end-of-play handler, as if a piece had ended.
    void startMusic();
    // At exit: the music off and its player closed.
    void stopMusic();
    // At exit: waits (keeping the window painted) while the last sound plays, at most maxMs.
    void waitForSound(int maxMs);

    // The music player's end-of-play handler: the next piece, or the music off.
    void mpMidiNotify();

    MusicSettings music;
    SoundEventTable eventSounds;
    QStringList musicPlaylist;
    int musicPosition = -1;
    int helpCounter = 1;

    TWavePlayer mpWav;
    TMidiPlayer mpMidi;

private:
    void buildPlaylist();
    void pieceEnded();

    Random& random_;
    QElapsedTimer pieceClock_;
    int quickEnds_ = 0;
};

} // namespace velnora::ui
