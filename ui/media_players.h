#pragma once
// The two invisible media players of the main window on SDL2_mixer: mpWav for event sounds on
// one mixer channel, mpMidi for the music stream (MIDI through FluidSynth).
//
// Use:
//     TWavePlayer mpWav;  mpWav.play(path);   // closes the last sound, plays without waiting
//     TMidiPlayer mpMidi; connect(&mpMidi, &TMidiPlayer::notify, ...);  mpMidi.play(path);
//
// The audio device is opened on first use. Without one (a server, a machine without a sound
// card) every call is a silent no-op: media errors never reach the game.

#include <QObject>
#include <QString>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace velnora::ui {

// Opens the shared audio output once; false (and never tried again) when there is none.
bool audioDeviceOpen();
// Whether the output is a device nobody hears (SDL's dummy driver of tests and servers).
bool audioDeviceSilent();

// mpWav: one wave sound at a time.
class TWavePlayer {
public:
    TWavePlayer() = default;
    TWavePlayer(const TWavePlayer&) = delete;
    TWavePlayer& operator=(const TWavePlayer&) = delete;
    ~TWavePlayer();

    // Closes the current sound, opens the file and starts it; false on a media error.
    bool play(const QString& fileName);
    void close();
    bool playing() const;
    // The open file, empty when closed.
    QString fileName() const { return fileName_; }

private:
    Mix_Chunk* chunk_ = nullptr;
    QString fileName_;
};

// mpMidi: the music stream. notify() arrives on the UI thread when a piece has played to its
// end, and after close(true) of a piece that was playing.
class TMidiPlayer : public QObject {
    Q_OBJECT
public:
    explicit TMidiPlayer(QObject* parent = nullptr);
    ~TMidiPlayer() override;

    // Closes the current piece, opens the file and plays it once; false on a media error.
    bool play(const QString& fileName);
    // Stops and frees the piece; with notifyAfter a piece that was playing reports its end.
    void close(bool notifyAfter = false);
    bool playing() const;
    QString fileName() const { return fileName_; }

    // The end-of-play hook's hand-over; runs on the UI thread.
    void pieceEnded(unsigned generation);

signals:
    void notify();

private:
    Mix_Music* music_ = nullptr;
    QString fileName_;
    unsigned generation_ = 0;
};

} // namespace velnora::ui
