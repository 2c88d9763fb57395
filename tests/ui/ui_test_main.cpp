// Entry point of the widget tests: a QApplication on the offscreen platform, then GoogleTest.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing is drawn on a display; one named in the environment, even one that is gone,
    // only makes the D-Bus library try to start a session bus through it (and leak).
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    // ctest runs every test in a process of its own, several at once with -j: a home folder per
    // process keeps one test's autosave and data files out of another's way.
    QTemporaryDir home;
    if (home.isValid()) qputenv("HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
