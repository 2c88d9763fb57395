#include "media_players.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>
#include <QTimer>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstring>

namespace velnora::ui {

namespace {

// Debian's build of the mixer ignores SDL_SOUNDFONTS, so the soundfont is named explicitly.
constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                       "/usr/share/sounds/sf2/default-GM.sf2"};

enum class DeviceState { untried, open, failed };
DeviceState deviceState = DeviceState::untried;

// The music-finished hook has no user data: these name the player and the piece it belongs to.
std::atomic<TMidiPlayer*> hookTarget{nullptr};
std::atomic<unsigned> hookGeneration{0};
std::atomic<bool> hookMuted{false};

// Runs on SDL's audio thread, or inside Mix_HaltMusic: it only queues the notification onto
// the player's (UI) thread, where the jukebox may safely load the next piece.
void musicFinished() {
    if (hookMuted.load()) return;
    TMidiPlayer* target = hookTarget.load();
    if (!target) return;
    const unsigned generation = hookGeneration.load();
    QMetaObject::invokeMethod(
        target, [target, generation] { target->pieceEnded(generation); }, Qt::QueuedConnection);
}

void closeAudioDevice() {
    if (deviceState != DeviceState::open) return;
    Mix_HookMusicFinished(nullptr);
    Mix_HaltMusic();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceState = DeviceState::untried;
}

} // namespace

bool audioDeviceOpen() {
    if (deviceState != DeviceState::untried) return deviceState == DeviceState::open;
    deviceState = DeviceState::failed;
    // The program handles termination signals itself; SDL must not take them over.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // Event sounds share one channel: a new sound cuts the last one short.
    Mix_AllocateChannels(1);
    for (const char* font : kSoundFonts)
        if (QFile::exists(QString::fromLatin1(font))) {
            Mix_SetSoundFonts(font);
            break;
        }
    Mix_HookMusicFinished(&musicFinished);
    deviceState = DeviceState::open;
    qAddPostRoutine(&closeAudioDevice);
    return true;
}

bool audioDeviceSilent() {
    const char* driver = deviceState == DeviceState::open ? SDL_GetCurrentAudioDriver() : nullptr;
    return !driver || std::strcmp(driver, "dummy") == 0;
}

// mpWav

TWavePlayer::~TWavePlayer() {
    close();
}

bool TWavePlayer::play(const QString& fileName) {
    close();
    if (!audioDeviceOpen()) return false;
    chunk_ = Mix_LoadWAV(QFile::encodeName(fileName).constData());
    if (!chunk_) return false;
    fileName_ = fileName;
    return Mix_PlayChannel(0, chunk_, 0) == 0;
}

void TWavePlayer::close() {
    if (!chunk_) return;
    // Freeing a chunk that is still playing halts its channel first.
    Mix_HaltChannel(0);
    Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
    fileName_.clear();
}

bool TWavePlayer::playing() const {
    return chunk_ && Mix_Playing(0) && Mix_GetChunk(0) == chunk_;
}

// mpMidi

TMidiPlayer::TMidiPlayer(QObject* parent) : QObject(parent) {}

TMidiPlayer::~TMidiPlayer() {
    close();
    TMidiPlayer* self = this;
    hookTarget.compare_exchange_strong(self, nullptr);
}

bool TMidiPlayer::play(const QString& fileName) {
    close();
    if (!audioDeviceOpen()) return false;
    music_ = Mix_LoadMUS(QFile::encodeName(fileName).constData());
    if (!music_) return false;
    fileName_ = fileName;
    hookGeneration.store(++generation_);
    hookTarget.store(this);
    return Mix_PlayMusic(music_, 0) == 0;
}

void TMidiPlayer::close(bool notifyAfter) {
    if (!music_) return;
    const bool wasPlaying = playing();
    // A deliberate stop is not an end of play: the hook stays quiet while the music halts.
    hookMuted.store(true);
    Mix_HaltMusic();
    hookMuted.store(false);
    Mix_FreeMusic(music_);
    music_ = nullptr;
    fileName_.clear();
    // Any end-of-play already queued for the closed piece is now stale.
    hookGeneration.store(++generation_);
    if (notifyAfter && wasPlaying) QTimer::singleShot(0, this, &TMidiPlayer::notify);
}

bool TMidiPlayer::playing() const {
    return music_ && Mix_PlayingMusic();
}

void TMidiPlayer::pieceEnded(unsigned generation) {
    if (generation != generation_ || !music_) return;
    emit notify();
}

} // namespace velnora::ui
