#pragma once
// Two table windows in one process joined over the loopback address, each with its own
// settings, and a message-box answerer: the set-up of the network window tests.

#include "main_window.h"
#include "network_play.h"
#include "widget_lookup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace velnora::test {

inline quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Answers every message box while it lives: Yes to the questions listed, No to other questions,
// OK to the rest; closes other dialogs as Esc would; remembers each text once (a dialog's
// title). `beforeAnswer` runs once for each dialog, while it is open.
class BoxAnswerer {
public:
    BoxAnswerer() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            auto* box = qobject_cast<QMessageBox*>(dialog);
            if (dialog != last_) {
                texts << (box ? box->text() : dialog->windowTitle());
                last_ = dialog;
                if (beforeAnswer) beforeAnswer(dialog);
            }
            if (hold) return;
            if (!box) {
                dialog->reject(); // a dialog of the table (the scores): closed as by Esc
                return;
            }
            // The static boxes report the button clicked, so the answer is a click.
            const bool question = box->standardButtons() & QMessageBox::Yes;
            QMessageBox::StandardButton answer = QMessageBox::Ok;
            if (question) answer = yesTo.contains(box->text()) ? QMessageBox::Yes : QMessageBox::No;
            if (QAbstractButton* b = box->button(answer))
                b->click();
            else
                box->done(answer);
        });
        poll_.start(5);
    }
    QStringList texts;
    QStringList yesTo;
    std::function<void(QDialog*)> beforeAnswer;
    // While set, boxes stay open (each text is still noted once).
    bool hold = false;
    bool saw(const QString& text) const { return texts.contains(text); }

private:
    QTimer poll_;
    QPointer<QDialog> last_;
};

class NetworkPairTest : public ::testing::Test {
protected:
    MemorySettings serverSettings, clientSettings;
    QTemporaryDir dataHome;
    std::unique_ptr<ui::TfmVelMain> server, client;
    quint16 port = 0;

    void SetUp() override {
        // A data folder of this test's own: a window's shutdown deletes or writes the autosave
        // file there, which must not race with other tests running at the same time.
        QStandardPaths::setTestModeEnabled(false);
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        port = freePort();
        qputenv("VELNORA_NET_PORT", QByteArray::number(port));
        prepare(serverSettings, "Ann");
        prepare(clientSettings, "Bob");
    }
    void TearDown() override {
        client.reset();
        server.reset();
        qunsetenv("VELNORA_NET_PORT");
        qunsetenv("XDG_DATA_HOME");
    }

    static void prepare(MemorySettings& s, const char* name) {
        s.writeInt("Settings\\Card Movement", 0);
        s.writeInt("Settings\\Delay", 0);
        s.writeInt("Settings\\Show Turns", 0);
        s.writeInt("Settings\\AutoSave", 0);
        s.writeString("Player Names\\PlayerName1", std::string(name) + ",0,0");
    }

    static std::unique_ptr<ui::TfmVelMain> open(MemorySettings& s) {
        auto w = std::make_unique<ui::TfmVelMain>(&s);
        w->tmSplashTimer();
        return w;
    }

    void connectBoth() {
        if (!server) server = open(serverSettings);
        if (!client) client = open(clientSettings);
        server->network().startFromCommandLine("127.0.0.1", "/invite");
        client->network().startFromCommandLine("127.0.0.1", "/join");
        ASSERT_TRUE(uitest::waitUntil(
            [&] {
                return server->network().networkConnected() && client->network().networkConnected();
            },
            5000));
    }

    static QAction* item(ui::TfmVelMain* w, const char* name) {
        return w->findChild<QAction*>(name);
    }
};

} // namespace velnora::test
