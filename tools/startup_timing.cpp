// Measures how long the table window takes to its first painted table, and what sound and
// music add to it: the window's creation (which reads the sound options), the first piece of
// music (loaded while the splash shows) and the deal after the splash up to the first paint.
// Music is switched on, so the figures include loading the soundfont.
//
// Usage: startup-timing
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null startup-timing   (a real mixing device)
//   SDL_AUDIODRIVER=none startup-timing                                (no audio device)
// A temporary settings store and data folder are used; the 2000 ms splash wait is skipped.

#include "data_module.h"
#include "main_window.h"
#include "media_players.h"
#include "sounds.h"
#include "store_settings.h"
#include "table_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace velnora;

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir home;
    const QByteArray root = home.path().toLocal8Bit();
    setenv("VELNORA_USER_STORE", (root + "/user/settings.db").constData(), 1);
    setenv("VELNORA_MACHINE_STORE", (root + "/machine/settings.db").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    QApplication app(argc, argv);
    {
        TdmMain dm;
        StoreSettings store(dm.rfMain);
        store.writeBool("Settings\\Music", true);
        store.writeInt("Settings\\AutoSave", 0);
        store.writeInt("Settings\\Card Movement", 0);
    }

    QElapsedTimer clock;
    clock.start();
    ui::TfmVelMain window;
    const double created = clock.nsecsElapsed() / 1e6;
    window.show();

    // The queued first piece of music: in the program this runs during the splash.
    clock.restart();
    QApplication::processEvents();
    const double music = clock.nsecsElapsed() / 1e6;

    bool painted = false;
    auto panels = window.table()->onPainted;
    window.table()->onPainted = [&] {
        painted = true;
        if (panels) panels();
    };
    clock.restart();
    window.tmSplashTimer();
    while (!painted && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double dealt = clock.nsecsElapsed() / 1e6;

    std::printf("audio device:            %s (%s)\n", ui::audioDeviceOpen() ? "open" : "none",
                std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "default");
    std::printf("music playing:           %s\n", window.sounds().mpMidi.playing() ? "yes" : "no");
    std::printf("window creation:         %8.2f ms\n", created);
    std::printf("first music (in splash): %8.2f ms\n", music);
    std::printf("splash end to paint:     %8.2f ms\n", dealt);
    std::printf("to first paint (- 2 s):  %8.2f ms\n", created + dealt);
    return painted ? 0 : 1;
}
