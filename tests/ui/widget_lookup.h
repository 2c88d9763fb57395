#pragma once
// Helpers of the UI tests: find a control by its objectName, wait on the event loop, and save a
// picture of a window when VELNORA_UI_SHOTS names a folder.

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace velnora::uitest {

// The child of root named name; a missing or mistyped control fails the test at once.
template <class T> T* find(QWidget* root, const char* name) {
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control named " << name;
    return found;
}

// Clicks the named button as the user would; false when it is missing or disabled.
inline bool click(QWidget* root, const char* name) {
    auto* button = find<QAbstractButton>(root, name);
    if (!button || !button->isEnabled() || !button->isVisibleTo(root)) return false;
    button->click();
    return true;
}

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

// Saves a grab of window as <VELNORA_UI_SHOTS>/<name>.png, for looking at the dialogs.
inline void saveShot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("VELNORA_UI_SHOTS");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// Runs `inspect` on the next modal dialog that opens, then closes it with `result`. The poll
// lives as long as the returned guard, so it can never answer a later test's dialog.
template <typename Dialog, typename Inspect>
[[nodiscard]] std::unique_ptr<QTimer> onNextModal(Inspect inspect, int result = QDialog::Rejected) {
    auto timer = std::make_unique<QTimer>();
    QTimer* poll = timer.get();
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            inspect(d);
            static_cast<QDialog*>(d)->done(result); // some dialogs hide done()
        }
    });
    poll->start(5);
    return timer;
}

} // namespace velnora::uitest
