// Process entry: the application object, the splash, the table window and the event loop.

#include "main_window.h"
#include "small_windows.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The data folder (autosave.vel) is named after the application, with no organisation.
    QApplication::setApplicationName("velnora");
    QApplication::setOrganizationName(QString());
    // The desktop entry names the program "Velnora"; a display name would be appended to the
    // window caption "Velnora 4.17" on this platform.
    QApplication::setDesktopFileName("velnora");

    auto* splash = new velnora::ui::TfmSplash;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    velnora::ui::TfmVelMain window(nullptr, arguments);
    window.show();
    splash->showCentredOn(&window);
    window.setSplash(splash);
    return QApplication::exec();
}
