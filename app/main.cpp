// Process entry: the application object, the splash, the table window and the event loop.

#include "context_help.h"
#include "dialog_look.h"
#include "main_window.h"
#include "small_windows.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Termination signals are turned into a notification of the event loop, where the window can
// shut down normally; a signal handler itself may do almost nothing.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void watchTerminationSignals(velnora::ui::TfmVelMain& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        notifier->setEnabled(false);
        char byte;
        [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &byte, 1);
        window.terminate();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The data folder (autosave.vel) is named after the application, with no organisation.
    QApplication::setApplicationName("velnora");
    QApplication::setOrganizationName(QString());
    // The desktop entry names the program "Velnora"; a display name would be appended to the
    // window caption "Velnora 4.17" on this platform.
    QApplication::setDesktopFileName("velnora");
    velnora::ui::look::frameDialogsPlainly(app);
    velnora::ui::helpOnF1(app);

    auto* splash = new velnora::ui::TfmSplash;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    velnora::ui::TfmVelMain window(nullptr, arguments);
    window.show();
    splash->showCentredOn(&window);
    window.setSplash(splash);
    watchTerminationSignals(window);
    // The desktop session is ending: save the game now, while the window still exists.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.terminate(); });
    return QApplication::exec();
}
